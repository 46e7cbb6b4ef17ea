#include "ui/mainwindow/BackgroundTiler.h"

#include <QPainter>

std::vector<QPoint> BackgroundTiler::TilePlaces(QSize tile, QSize area)
{
    std::vector<QPoint> places;
    if (tile.isEmpty() || area.width() < 0 || area.height() < 0)
        return places;
    const int columns = area.width() / tile.width();
    const int rows = area.height() / tile.height();
    places.reserve(size_t(columns + 1) * size_t(rows + 1));
    for (int x = 0; x <= columns; ++x)
        for (int y = 0; y <= rows; ++y)
            places.emplace_back(x * tile.width(), y * tile.height());
    return places;
}

int BackgroundTiler::Tile(QPainter& painter, const QPixmap& picture, QSize area)
{
    const std::vector<QPoint> places = TilePlaces(picture.size(), area);
    for (const QPoint& place : places)
        painter.drawPixmap(place, picture);
    return int(places.size());
}
