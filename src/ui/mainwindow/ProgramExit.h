#pragma once

class QString;
class QWidget;
class DiaryStore;
class RunningCopy;
class SettingsView;
struct AppContext;

// The ways the program ends: the Exit command, and closing the main window
// through its frame, store the shown page, rewrite the diary, save the
// settings, close the other windows and end; the maintenance hand-over does
// the same without asking, and so does the end of the desktop session, which
// keeps the page's draft first.
class ProgramExit
{
public:
    // The settings save the place and font size of window; mainWindow is the
    // one window left open while the others close.
    ProgramExit(AppContext& context, DiaryStore& store, const SettingsView& window, QWidget& mainWindow);

    // Later copies started on the diary bring the main window to the front
    // until the program ends; held under another name, only that one.
    void HoldDiary(const QString& diaryPath);

    // The Exit command. False when the program goes on: the diary could not
    // be stored, and the user chose to stay with the page.
    bool Exit();
    // The hand-over's end. False when the diary could not be stored: the
    // program then goes on.
    bool StoreAndEnd();
    // The start-up gave up before the diary was chosen: the settings are saved
    // as at the frame's close, and the program ends.
    void EndAtStart();
    // The main window is closing through its frame or its close(): it ends
    // the program as Exit does. False keeps the window open.
    bool WindowClosing();
    // The desktop session is ending (a logout's signal): nobody is there to
    // answer, so nothing waits for an answer, and the shown page's draft is
    // on the disk before the page is stored.
    void EndForSession();

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
