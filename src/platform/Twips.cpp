#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
double overrideDpi = 0.0;
}

double Twips::DotsPerInch()
{
    if (overrideDpi > 0.0)
        return overrideDpi;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0.0 ? dpi : 96.0;
}

void Twips::SetDotsPerInch(double dpi)
{
    overrideDpi = dpi;
}

int Twips::ToPixels(double twips)
{
    return int(std::lround(twips * DotsPerInch() / 1440.0));
}

double Twips::FromPixels(int pixels)
{
    return pixels * 1440.0 / DotsPerInch();
}

QRect Twips::ToPixels(const QRect& twips)
{
    return {ToPixels(twips.x()), ToPixels(twips.y()), ToPixels(twips.width()), ToPixels(twips.height())};
}
