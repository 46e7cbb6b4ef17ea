#include "ui/mainwindow/ProgramExit.h"

#include "core/diary/DiaryStore.h"
#include "core/settings/SessionSettings.h"
#include "ui/mainwindow/AppContext.h"
#include "ui/mainwindow/RunningCopy.h"

#include <QApplication>
#include <QWidget>

ProgramExit::ProgramExit(AppContext& context, DiaryStore& store, const SettingsView& window, QWidget& mainWindow)
    : context_(context), store_(store), window_(window), mainWindow_(mainWindow)
{
}

void ProgramExit::HoldDiary(const QString& diaryPath)
{
    // Held under a new name, the old one is let go.
    delete runningCopy_;
    runningCopy_ = new RunningCopy(diaryPath, mainWindow_);
}

bool ProgramExit::Exit()
{
    const bool stored = store_.StorePage();
    if (stored && store_.CompactDiary()) {
        SaveSettingsAndEnd();
        return true;
    }
    // A diary that cannot be stored keeps the program open, so nothing is
    // lost unasked; but the user is never kept in it against their word.
    const QString text = stored
                             ? QStringLiteral("日記ファイルを整理できませんでした。ページはすべて保存されています。\r"
                                              "整理せずに終了しますか？")
                             : QStringLiteral("表示中のページを日記ファイルに保存できませんでした。\r"
                                              "保存せずに終了すると、このページに書いた内容は失われます。\r"
                                              "保存せずに終了しますか？");
    if (!ConfirmEndWithout(text))
        return false;
    // The words are given up on purpose: no draft of them waits for the next start.
    if (!stored)
        store_.DropDraft();
    SaveSettingsAndEnd();
    return true;
}

bool ProgramExit::ConfirmEndWithout(const QString& text)
{
    return context_.prompter.Message({text, QStringLiteral("終了の確認"), Prompter::Buttons::YesNo,
                                      Prompter::Icon::Exclamation, Prompter::Answer::No}) == Prompter::Answer::Yes;
}

bool ProgramExit::StoreAndEnd()
{
    // A diary that cannot be stored keeps the program open: nothing is lost.
    if (!store_.StorePage() || !store_.CompactDiary())
        return false;
    SaveSettingsAndEnd();
    return true;
}

void ProgramExit::EndAtStart()
{
    SaveSettings();
    context_.EndProgram();
}

// The close box ends the program as 終了 does, so the shown page is stored
// first. An end that came first did all that already.
bool ProgramExit::WindowClosing()
{
    if (context_.Ended()) {
        ReleaseDiary();
        return true;
    }
    return Exit();
}

void ProgramExit::EndForSession()
{
    if (context_.Ended())
        return;
    context_.prompter.Silence();
    // Whatever the store meets, the words are on the disk already.
    store_.KeepDraftNow();
    // A window that waits for an answer may hold the store in the middle of
    // an operation, which is not entered again: the draft keeps the words.
    if (!QApplication::activeModalWidget() && store_.StorePage())
        store_.CompactDiary();
    SaveSettingsAndEnd();
}

void ProgramExit::SaveSettings()
{
    SessionSettings::SaveSettings(context_.settings, context_.app, window_, context_.prompter);
}

void ProgramExit::SaveSettingsAndEnd()
{
    SaveSettings();
    CloseOtherWindows();
    ReleaseDiary();
    context_.EndProgram();
}

// The program is ending: another copy may take the diary from here.
void ProgramExit::ReleaseDiary()
{
    store_.Release();
    delete runningCopy_;
    runningCopy_ = nullptr;
}

void ProgramExit::CloseOtherWindows()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (*it != &mainWindow_ && (*it)->isVisible())
            (*it)->close();
}
