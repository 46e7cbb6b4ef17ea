#pragma once

#include "BenchPrompter.h"
#include "ui/mainwindow/AppContext.h"

#include <QTemporaryDir>
#include <memory>

class MainWindow;

class NoLauncher : public Launcher
{
public:
    bool Start(const QString&) override { return false; }
    bool OpenFolder(const QString&) override { return false; }
};

// The program as its owner runs it, on a given diary: a registered owner
// without login and without the tip of the day, settings in a folder of its
// own, a fixed day.
class BenchProgram
{
public:
    // programFolder: where the data files lie; a fresh empty folder when empty.
    explicit BenchProgram(const QString& diaryPath, const QString& programFolder = QString());

    bool IsValid() const { return dir_.isValid(); }
    // StartProgram: the main window loaded, shown and showing the last page.
    std::unique_ptr<MainWindow> Start();

private:
    QTemporaryDir dir_;

public:
    BenchPrompter prompter;
    FixedClock clock;
    SettingsStore settings;
    NoLauncher launcher;
    AppContext context;
};
