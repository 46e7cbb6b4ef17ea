#include "ui/mainwindow/DrawProgressBar.h"

#include "ui/mainwindow/PictureSurface.h"

#include <QPainter>
#include <cmath>

void DrawProgressBar(PictureSurface& bar, float fraction, const QString& text, QRgb backColour, QRgb barColour)
{
    fraction = std::min(fraction, 1.0f);
    QImage& canvas = bar.Canvas();
    const int width = canvas.width();
    const int height = canvas.height();
    const int filled = int(std::lround(width * double(fraction)));

    QPainter painter(&canvas);
    painter.fillRect(0, 0, width, height, QColor(backColour));

    // NOT (source XOR destination): the text drawn in the bar colour over the
    // back colour shows in the bar colour; the bar then drawn the same way
    // turns the back colour into the bar colour and the text into the back
    // colour. Smoothed edges would mix the colours, so none are drawn.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    QFont font = painter.font();
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(QColor(barColour));
    const QRect extent = painter.fontMetrics().boundingRect(text);
    const int left = (width - painter.fontMetrics().horizontalAdvance(text)) / 2;
    const int top = (height - extent.height()) / 2;
    painter.drawText(left, top + painter.fontMetrics().ascent(), text);

    if (filled > 0)
        painter.fillRect(0, 0, filled, height, QColor(barColour));
    if (width > filled)
        painter.fillRect(filled, 0, width - filled, height, QColor(backColour));
    painter.end();
    bar.update();
}
