#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where a small window opens beside the main window, clear of the text it
// selects in the body and of the program's other windows.
class ClearPlacement
{
public:
    // The top-left corner of a window frame of the given size that leaves the
    // main window and the frames already taken free: beside the main window
    // where the screen has room, else below or beside a window already there,
    // else above the body on the calendar side. Frames and screen in desktop
    // coordinates.
    static QPoint FramePlace(QSize frame, const QRect& mainFrame, const QRect& body, const QRect& screen,
                             const QList<QRect>& taken = {});
    // Places a window about to be shown there, for a main window and its body.
    static void Place(QWidget& window, const QWidget& mainWindow, const QWidget& body);
};
