#pragma once

#include "ui/platform/Launcher.h"

// Starts the maintenance program itself and hands folders to the desktop,
// which opens them in the user's own file manager.
class DesktopLauncher : public Launcher
{
public:
    bool Start(const QString& path) override;
    bool OpenFolder(const QString& path) override;
};
