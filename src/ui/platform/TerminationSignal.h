#pragma once

class QWidget;

// A request to end the process (SIGTERM, SIGHUP, SIGINT), as a desktop session
// sends at logout where it cannot ask the window, ends the program as its
// close box does: the settings are kept.
class TerminationSignal
{
public:
    // Closes window when such a signal comes; a second one ends the process at once.
    static void CloseOnSignal(QWidget& window);
};
