#pragma once

class QPrinter;
class QWidget;

// Prints what a window shows, as it looks on the screen, on one page: scaled
// to fit the page with its proportions kept.
class WindowPrinter
{
public:
    // False when nothing could be printed.
    static bool Print(QWidget& window, QPrinter& printer);
};
