#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where a window's stored place is safe to show it: its title bar whole on the
// screens, so that the user can always take hold of it.
class OnScreenPlace
{
public:
    // The frame's top-left corner for a window of the given inside size whose
    // frame was stored at corner: kept where the title bar lies whole on the
    // screens, else moved onto the nearest screen, all of it that fits.
    static QPoint FrameCorner(QPoint corner, QSize inside, const QList<QRect>& screens);
    // Moves a window not yet shown so, on the screens it will open on.
    static void Apply(QWidget& window);
};
