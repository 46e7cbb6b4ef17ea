#pragma once

#include "ScriptedPrompter.h"
#include "TempProfile.h"
#include "ui/mainwindow/AppContext.h"

#include <QStringList>
#include <memory>

// Starts programs only on paper.
class FakeLauncher : public Launcher
{
public:
    bool Start(const QString& path) override
    {
        started << path;
        return succeeds;
    }
    bool OpenFolder(const QString& path) override
    {
        opened << path;
        return succeeds;
    }
    QStringList started;
    QStringList opened;
    bool succeeds = false;
};

// A script for a modal window: types the texts into the named boxes, presses
// the named button and returns the window's result.
ScriptedPrompter::ModalScript FillAndPress(std::vector<std::pair<QString, QString>> texts, QString button);

class MainWindow;
class QPlainTextEdit;

// The box of entry field `index` (0 date … 6 body) of a main window.
QWidget* EntryBox(const QWidget& mainWindow, int index);
// The body box of a main window.
QPlainTextEdit* EntryBody(const QWidget& mainWindow);
// The status line of a main window.
QString PageStatus(const QWidget& mainWindow);

// Everything a window needs, for one test: a user of its own, a fixed day and
// boxes answered from a script.
struct TestApp
{
    TestApp();

    // An owner who registered, switched off the login and the tip, and keeps
    // the diary DIARY.DAT in the program folder (empty unless written first).
    void RegisterOwner(const QString& name = QStringLiteral("空野太郎"));
    static QString DiaryName() { return QStringLiteral("DIARY.DAT"); }
    QString DiaryPath() const { return profile.ProgramFile(DiaryName()); }
    QByteArray DiaryBytes() const { return profile.ReadProgramFile(DiaryName()); }
    // The program started by the registered owner, on a diary of these bytes
    // when they are given (none: no diary file is written). Nothing when the
    // diary could not be written.
    std::unique_ptr<MainWindow> StartOwnersDiary(const QByteArray& diary = {});
    // The next start of the program by the same user.
    void Restart();
    // Whether the settings file holds the key at all, as written.
    bool Stored(const QString& section, const QString& key) const;
    QString Read(const QString& section, const QString& key) const;

    TempProfile profile;
    ScriptedPrompter prompter;
    FixedClock clock;
    SettingsStore settings;
    FakeLauncher launcher;
    AppContext context;
};
