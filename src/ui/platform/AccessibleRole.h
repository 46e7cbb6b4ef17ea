#pragma once

#include <QAccessible>

class QWidget;

// Gives a plain widget the role a screen reader should know it by: a line of
// text as a status bar, or as a notification that is read out when shown.
class AccessibleRole
{
public:
    // Before the widget is first asked for by a screen reader.
    static void Give(QWidget& widget, QAccessible::Role role);
};
