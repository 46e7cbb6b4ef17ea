#pragma once

#include "core/platform/Clock.h"
#include "core/platform/ProgramFolder.h"
#include "core/platform/Prompter.h"
#include "core/settings/AppSettings.h"
#include "core/settings/SettingsStore.h"
#include "ui/platform/Launcher.h"

class DiaryLock;

// The program-wide values and the seams to the outside world, made once by
// main (or by a test) and handed to every window.
struct AppContext
{
    AppContext(Prompter& prompter_, const Clock& clock_, ProgramFolder folder_, SettingsStore& settings_,
               Launcher& launcher_)
        : prompter(prompter_), clock(clock_), folder(std::move(folder_)), settings(settings_), launcher(launcher_)
    {
    }

    Prompter& prompter;
    const Clock& clock;
    ProgramFolder folder;
    SettingsStore& settings;
    Launcher& launcher;
    AppSettings app;
    // The diary's lock, where the store offers one: the start asks it for the
    // password of an encrypted diary, ツール locks and unlocks through it.
    // None keeps the plain diary's login and menus as they always were.
    DiaryLock* diaryLock = nullptr;

    // Ends the program at once: no further close handler runs. The caller
    // returns straight after.
    void EndProgram();
    bool Ended() const { return ended_; }

private:
    bool ended_ = false;
};
