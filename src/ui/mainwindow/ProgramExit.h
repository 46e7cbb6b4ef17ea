#pragma once

class QString;
class QWidget;
class DiaryStore;
class RunningCopy;
class SettingsView;
struct AppContext;

// The ways the program ends: the Exit command stores the shown page, rewrites
// the diary, saves the settings, closes the other windows and ends; the
// maintenance hand-over does the same without asking; closing the main window
// through its frame saves the settings only.
class ProgramExit
{
public:
    // The settings save the place and font size of window; mainWindow is the
    // one window left open while the others close.
    ProgramExit(AppContext& context, DiaryStore& store, const SettingsView& window, QWidget& mainWindow);

    // Later copies started on the diary bring the main window to the front
    // until the program ends; held under another name, only that one.
    void HoldDiary(const QString& diaryPath);

    // The Exit command.
    void Exit();
    // The hand-over's end. False when the diary could not be stored: the
    // program then goes on.
    bool StoreAndEnd();
    // The start-up gave up before the diary was chosen: the settings are saved
    // as at the frame's close, and the program ends.
    void EndAtStart();
    // The main window is closing through its frame or its close().
    void WindowClosing();

private:
    void SaveSettings();
    void SaveSettingsAndEnd();
    void ReleaseDiary();
    void CloseOtherWindows();
    // Asks whether to end though the diary could not be stored; No stays.
    bool ConfirmEndWithout(const QString& text);

    AppContext& context_;
    DiaryStore& store_;
    const SettingsView& window_;
    QWidget& mainWindow_;
    // Made when the diary opens; the main window owns it.
    RunningCopy* runningCopy_ = nullptr;
};
