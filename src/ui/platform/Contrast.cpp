#include "ui/platform/Contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double Linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// The luminance at which black and white read equally well: below it only
// a lighter text can reach the ratio, above it only a darker one.
constexpr double Middle = 0.179;

} // namespace

double Contrast::Luminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) + 0.0722 * Linear(rgb.blueF());
}

double Contrast::Ratio(const QColor& one, const QColor& other)
{
    const double first = Luminance(one);
    const double second = Luminance(other);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor Contrast::ReadableOn(const QColor& colour, const QColor& background)
{
    if (Ratio(colour, background) >= Readable)
        return colour;
    const QColor hsl = colour.toHsl();
    const auto shade = [&hsl](double lightness) {
        return QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), float(lightness), hsl.alphaF()).toRgb();
    };
    // Halving the way between the colour and white or black, keeping the end
    // that reads: the least change of the colour that reads.
    double far = Luminance(background) < Middle ? 1.0 : 0.0;
    double near = hsl.lightnessF();
    for (int step = 0; step < 24; ++step) {
        const double middle = (near + far) / 2;
        (Ratio(shade(middle), background) >= Readable ? far : near) = middle;
    }
    return shade(far);
}
