#include "BenchProgram.h"

#include "DiaryGenerator.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Folder(const QTemporaryDir& dir, const QString& programFolder)
{
    if (!programFolder.isEmpty())
        return programFolder;
    const QString folder = dir.filePath(QStringLiteral("program"));
    QDir().mkpath(folder);
    return folder;
}

} // namespace

BenchProgram::BenchProgram(const QString& diaryPath, const QString& programFolder)
    : dir_(QDir::tempPath() + QStringLiteral("/sorafumi-profile-XXXXXX")),
      clock(QDateTime(QDate(2026, 12, 7), QTime(21, 30, 0))),
      settings(dir_.filePath(QStringLiteral("config/日記帳Sorafumi.ini"))),
      context(prompter, clock, ProgramFolder(Folder(dir_, programFolder)), settings, launcher)
{
    const QString user = QStringLiteral("User");
    settings.WriteSetting(user, QStringLiteral("UserName"), DiaryGenerator::Owner());
    settings.WriteSetting(user, QStringLiteral("LoginOnOff"), QStringLiteral("0"));
    settings.WriteSetting(QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("0"));
    settings.WriteSetting(user, QStringLiteral("UserDataFile"), QFileInfo(diaryPath).absoluteFilePath());
    // No daily copies: BM_Backup times them, and they would go to the user's
    // own data folder.
    settings.WriteSetting(QStringLiteral("Tools"), QStringLiteral("BackupDaily"), QStringLiteral("0"));
    settings.WriteSetting(QStringLiteral("Tools"), QStringLiteral("BackupWeekly"), QStringLiteral("0"));
}

std::unique_ptr<MainWindow> BenchProgram::Start()
{
    return StartProgram(context);
}
