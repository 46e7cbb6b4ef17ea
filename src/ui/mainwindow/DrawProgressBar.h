#pragma once

#include <QRgb>
#include <QString>

class PictureSurface;

// Paints a progress bar: the back colour, a bar of the bar colour growing from
// the left to fraction of the width, and the text centred in the bar colour,
// shown in the back colour where the bar covers it.
void DrawProgressBar(PictureSurface& bar, float fraction, const QString& text, QRgb backColour, QRgb barColour);
