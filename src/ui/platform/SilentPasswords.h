#pragma once

// A screen reader hears a password box's changes as its dots, never as the
// letters typed: the desktop's bridge passes the text of every change on to
// whoever listens, and speaks each letter as it is typed.
class SilentPasswords
{
public:
    // Stands between the program and the bridge, for the whole run. A handler
    // already there (a test's) gets the changes after this one.
    static void Install();
};
