#pragma once

#include <QAccessible>

class QLabel;

// Gives a label the role a screen reader should know it by: a line of
// text as a status bar, or as a notification that is read out when shown.
class AccessibleRole
{
public:
    // Before the label is first asked for by a screen reader.
    static void Give(QLabel& label, QAccessible::Role role);
};
