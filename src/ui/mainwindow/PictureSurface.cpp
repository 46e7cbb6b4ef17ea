#include "ui/mainwindow/PictureSurface.h"

#include <QPainter>

PictureSurface::PictureSurface(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& PictureSurface::Canvas()
{
    if (canvas_.size() != size())
        canvas_ = QImage(size(), QImage::Format_RGB32);
    return canvas_;
}

void PictureSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Canvas());
}
