#pragma once

#include <functional>

class QObject;

// A request to end the process (SIGTERM, SIGHUP, SIGINT), as a desktop session
// sends at logout where it cannot ask the window: the program ends as its
// close box would, without waiting for anyone to answer.
class TerminationSignal
{
public:
    // Calls `end` from the event loop when such a signal comes, while
    // receiver lives; a second signal ends the process at once.
    static void OnSignal(QObject& receiver, std::function<void()> end);
};
