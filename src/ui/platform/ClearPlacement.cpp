#include "ui/platform/ClearPlacement.h"

#include <QApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

bool Overlaps(const QRect& place, const QList<QRect>& frames)
{
    return std::any_of(frames.begin(), frames.end(), [&](const QRect& frame) { return place.intersects(frame); });
}

bool IsFree(const QRect& place, const QRect& mainFrame, const QRect& screen, const QList<QRect>& taken)
{
    return screen.contains(place) && !place.intersects(mainFrame) && !Overlaps(place, taken);
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
    // Columns beside the main window, then beside the windows already there,
    // then under the main window; in each the row at the main window's top,
    // then the screen's top and the rows below the windows, the highest first.
    QList<int> columns{mainFrame.right() + 1, mainFrame.left() - frame.width()};
    QList<int> rows{screen.top(), mainFrame.bottom() + 1};
    for (const QRect& other : taken) {
        columns << other.right() + 1;
        rows << other.bottom() + 1;
    }
    columns << mainFrame.left();
    std::sort(rows.begin(), rows.end());
    rows.prepend(qBound(screen.top(), mainFrame.top(), qMax(screen.top(), screen.bottom() + 1 - frame.height())));
    for (const int left : columns)
        for (const int top : rows)
            if (IsFree(QRect(QPoint(left, top), frame), mainFrame, screen, taken))
                return {left, top};
    // The calendar stands at the right, above the body.
    const int right = qMin(mainFrame.right(), screen.right()) + 1;
    return {qMax(screen.left(), right - frame.width()), qMax(screen.top(), body.top() - frame.height())};
}

void ClearPlacement::Place(QWidget& window, const QWidget& mainWindow, const QWidget& body)
{
    // A window shown before comes back where the user left it, unless another
    // of the program's windows now stands there.
    const QList<QRect> others = OtherWindows(window, mainWindow);
    const bool shownBefore = window.testAttribute(Qt::WA_WState_ExplicitShowHide);
    if (window.isVisible() || (shownBefore && !Overlaps(window.frameGeometry(), others)))
        return;
    // The window's own frame is not known before it is shown: the main
    // window's decoration is the best guess at it. The inside is placed, as
    // a window moved by its frame while the window manager is still framing
    // it would end up with its title bar above the place asked for.
    const QRect outer = mainWindow.frameGeometry();
    const QRect inner = mainWindow.geometry();
    const QMargins decoration(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                              outer.bottom() - inner.bottom());
    const QSize size = shownBefore ? window.size() : window.sizeHint();
    const QRect bodyOnScreen(body.mapToGlobal(QPoint(0, 0)), body.size());
    const QRect screen = mainWindow.screen() ? mainWindow.screen()->availableGeometry() : outer;
    const QPoint frame = FramePlace(size.grownBy(decoration), outer, bodyOnScreen, screen, others);
    window.setGeometry(QRect(frame + QPoint(decoration.left(), decoration.top()), size));
}
