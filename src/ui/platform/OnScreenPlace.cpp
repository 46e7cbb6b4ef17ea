#include "ui/platform/OnScreenPlace.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>

#include <limits>

namespace {

// The frame is not there before the window is shown: a title bar and borders
// as tall and wide as the common desktops draw them stand for it.
const QMargins Frame(8, 40, 8, 8);

// Pixels between two rectangles, counted along both axes; 0 where they meet.
int Gap(const QRect& a, const QRect& b)
{
    const int across = qMax(0, qMax(a.left() - b.right(), b.left() - a.right()));
    const int down = qMax(0, qMax(a.top() - b.bottom(), b.top() - a.bottom()));
    return across + down;
}

// The screen nearest the title bar; of screens it lies on, the one holding most of it.
QRect NearestScreen(const QRect& titleBar, const QList<QRect>& screens)
{
    QRect nearest;
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QRect& screen : screens) {
        const QRect shared = screen.intersected(titleBar);
        const qint64 score = shared.isEmpty() ? Gap(screen, titleBar) : -qint64(shared.width()) * shared.height();
        if (score < best) {
            best = score;
            nearest = screen;
        }
    }
    return nearest;
}

} // namespace

QPoint OnScreenPlace::FrameCorner(QPoint corner, QSize inside, const QList<QRect>& screens)
{
    const QRect frame(corner, inside.grownBy(Frame));
    // The borders beside the title bar may stand off the screen's edge.
    const QRect titleBar(corner, QSize(inside.width(), Frame.top()));
    QRegion offScreen(titleBar);
    for (const QRect& screen : screens)
        offScreen -= screen;
    if (offScreen.isEmpty() || screens.isEmpty())
        return corner;
    const QRect screen = NearestScreen(titleBar, screens);
    return {qBound(screen.left(), corner.x(), qMax(screen.left(), screen.right() + 1 - frame.width())),
            qBound(screen.top(), corner.y(), qMax(screen.top(), screen.bottom() + 1 - frame.height()))};
}

void OnScreenPlace::Apply(QWidget& window)
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    window.move(FrameCorner(window.pos(), window.size(), screens));
}
