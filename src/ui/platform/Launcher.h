#pragma once

#include <QString>

// Starts another program, detached from this one, in a normal window, or
// opens a folder; tests put a fake in its place.
class Launcher
{
public:
    virtual ~Launcher() = default;
    // path may be relative to the current folder; false when it cannot start.
    virtual bool Start(const QString& path) = 0;
    // Shows a folder in the desktop's file manager; false when none starts.
    virtual bool OpenFolder(const QString& path) = 0;
};
