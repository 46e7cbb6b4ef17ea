#pragma once

#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <vector>

class QPainter;

// Tiles a picture over an area from its top left corner; the last row and
// column overhang the edge.
class BackgroundTiler
{
public:
    static std::vector<QPoint> TilePlaces(QSize tile, QSize area);
    // One draw per tile; returns how many were drawn.
    static int Tile(QPainter& painter, const QPixmap& picture, QSize area);
};
