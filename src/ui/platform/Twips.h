#pragma once

#include <QRect>

// Window layouts are designed in twips, 1/1440 inch: 15 twips are one pixel at
// 96 dots per inch. The screen's logical resolution decides the pixels.
class Twips
{
public:
    static double DotsPerInch();
    // For tests and for screens whose resolution the program should not ask.
    static void SetDotsPerInch(double dpi);

    static int ToPixels(double twips);
    static double FromPixels(int pixels);
    static QRect ToPixels(const QRect& twips);
};
