#include "ui/platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
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
    // Far beyond any screen, but never past what a pixel count can hold.
    const double pixels = std::clamp(twips * DotsPerInch() / 1440.0, -1.0e7, 1.0e7);
    return int(std::lround(pixels));
}

double Twips::FromPixels(int pixels)
{
    return pixels * 1440.0 / DotsPerInch();
}

QRect Twips::ToPixels(const QRect& twips)
{
    return {ToPixels(twips.x()), ToPixels(twips.y()), ToPixels(twips.width()), ToPixels(twips.height())};
}
