#include "ui/platform/ClearPlacement.h"

#include <QMargins>
#include <QScreen>
#include <QWidget>

QPoint ClearPlacement::FramePlace(QSize frame, const QRect& mainFrame, const QRect& body, const QRect& screen)
{
    const int top = qBound(screen.top(), mainFrame.top(), qMax(screen.top(), screen.bottom() + 1 - frame.height()));
    if (mainFrame.right() + frame.width() <= screen.right())
        return {mainFrame.right() + 1, top};
    if (mainFrame.left() - frame.width() >= screen.left())
        return {mainFrame.left() - frame.width(), top};
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
    const QPoint frame = FramePlace(size.grownBy(decoration), outer, bodyOnScreen, screen);
    window.setGeometry(QRect(frame + QPoint(decoration.left(), decoration.top()), size));
}
