#include "ui/platform/ClearPlacement.h"

#include <QApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

bool IsFree(const QRect& place, const QRect& mainFrame, const QRect& screen, const QList<QRect>& taken)
{
    return screen.contains(place) && !place.intersects(mainFrame) &&
           std::none_of(taken.begin(), taken.end(), [&](const QRect& frame) { return place.intersects(frame); });
}

// The frames of the program's other windows on view: a new window keeps off them.
QList<QRect> OtherWindows(const QWidget& window, const QWidget& mainWindow)
{
    QList<QRect> frames;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = other->windowType();
        if (other != &window && other != &mainWindow && other->isVisible() &&
            (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool))
            frames << other->frameGeometry();
    }
    return frames;
}

} // namespace

QPoint ClearPlacement::FramePlace(QSize frame, const QRect& mainFrame, const QRect& body, const QRect& screen,
                                  const QList<QRect>& taken)
{
    const int top = qBound(screen.top(), mainFrame.top(), qMax(screen.top(), screen.bottom() + 1 - frame.height()));
    QList<QPoint> beside{{mainFrame.right() + 1, top}, {mainFrame.left() - frame.width(), top}};
    // Below a window already there, the topmost first.
    QList<QRect> above = taken;
    std::sort(above.begin(), above.end(), [](const QRect& a, const QRect& b) { return a.top() < b.top(); });
    for (const QRect& other : above)
        beside << QPoint(other.left(), other.bottom() + 1);
    for (const QPoint& corner : beside)
        if (IsFree(QRect(corner, frame), mainFrame, screen, taken))
            return corner;
    // The calendar stands at the right, above the body.
    const int right = qMin(mainFrame.right(), screen.right()) + 1;
    return {qMax(screen.left(), right - frame.width()), qMax(screen.top(), body.top() - frame.height())};
}

void ClearPlacement::Place(QWidget& window, const QWidget& mainWindow, const QWidget& body)
{
    // The window's own frame is not known before it is shown: the main
    // window's decoration is the best guess at it. The inside is placed, as
    // a window moved by its frame while the window manager is still framing
    // it would end up with its title bar above the place asked for.
    const QRect outer = mainWindow.frameGeometry();
    const QRect inner = mainWindow.geometry();
    const QMargins decoration(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                              outer.bottom() - inner.bottom());
    const QSize size = window.isVisible() ? window.size() : window.sizeHint();
    const QRect bodyOnScreen(body.mapToGlobal(QPoint(0, 0)), body.size());
    const QRect screen = mainWindow.screen() ? mainWindow.screen()->availableGeometry() : outer;
    const QPoint frame =
        FramePlace(size.grownBy(decoration), outer, bodyOnScreen, screen, OtherWindows(window, mainWindow));
    window.setGeometry(QRect(frame + QPoint(decoration.left(), decoration.top()), size));
}
