#include "ui/mainwindow/WindowPrinter.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>

bool WindowPrinter::Print(QWidget& window, QPrinter& printer)
{
    const QPixmap image = window.grab();
    if (image.isNull())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    const QSize fitted = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(page.topLeft(), fitted), image);
    return painter.end();
}
