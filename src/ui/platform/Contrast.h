#pragma once

#include <QColor>

// How well a text reads on its background, by the relative luminance of the
// web's accessibility guidelines: 4.5 to 1 reads at the small sizes of the
// calendar and the charts.
class Contrast
{
public:
    static constexpr double Readable = 4.5;

    // 0 for black to 1 for white, as the eye weighs the three primaries.
    static double Luminance(const QColor& colour);
    // From 1 (the same) to 21 (black on white), whichever of the two is lighter.
    static double Ratio(const QColor& one, const QColor& other);
    // The colour of the same hue, lightened on a dark background or darkened
    // on a light one just far enough to be Readable on it; a colour that
    // reads already is kept as it is.
    static QColor ReadableOn(const QColor& colour, const QColor& background);
};
