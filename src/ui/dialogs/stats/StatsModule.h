#pragma once

class Clock;
class DiaryLock;
class DiaryStore;
class Prompter;
class QCalendarWidget;
class QDialog;
class QWidget;

// What the main window asks of the statistics window, which lives with the
// charts in the module sorafumi-stats loaded when 統計 first opens (see
// ModuleLibrary).
class StatsModule
{
public:
    // The module, loaded at the first call; nothing, after telling the user,
    // when it cannot be loaded.
    static StatsModule* Load(Prompter& prompter);

    // A StatsWindow, not yet shown; lock, where there is one, is asked
    // whether the diary is encrypted before a CSV file is written.
    virtual QDialog* MakeWindow(DiaryStore& store, Prompter& prompter, const Clock& clock, QCalendarWidget* calendar,
                                const DiaryLock* lock, QWidget* parent) = 0;

protected:
    ~StatsModule() = default;
};
