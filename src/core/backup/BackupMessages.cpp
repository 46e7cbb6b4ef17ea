#include "core/backup/BackupMessages.h"

#include "core/diary/DiaryFiles.h"
#include "core/platform/Prompter.h"

#include <QDir>

namespace {

void ReportBackup(Prompter& prompter, const QString& what, const FileError& error, const QString& folder)
{
    const QString reason = error.systemError != 0 ? DiaryFiles::Reason(error.systemError)
                                                  : QStringLiteral("日記ﾌｧｲﾙを最後までｺﾋﾟｰできませんでした。");
    prompter.Message({what + u'\r' + reason + u'\r' + QDir::toNativeSeparators(QDir(folder).absolutePath()),
                      DiaryFiles::Title(),
                      Prompter::Buttons::Ok,
                      Prompter::Icon::Exclamation,
                      {}});
}

} // namespace

void BackupMessages::ReportFailure(Prompter& prompter, const FileError& error, const QString& folder)
{
    ReportBackup(prompter, QStringLiteral("日記のﾊﾞｯｸｱｯﾌﾟを作成できませんでした。日記はそのまま保存します。"), error,
                 folder);
}

void BackupMessages::ReportRestoreRefused(Prompter& prompter, const FileError& error, const QString& folder)
{
    ReportBackup(prompter, QStringLiteral("今の日記をﾊﾞｯｸｱｯﾌﾟできないため、復元を中止しました。日記は元のままです。"),
                 error, folder);
}

void BackupMessages::ReportMergeRefused(Prompter& prompter, const FileError& error, const QString& folder)
{
    ReportBackup(prompter, QStringLiteral("今の日記をﾊﾞｯｸｱｯﾌﾟできないため、統合を中止しました。日記は元のままです。"),
                 error, folder);
}
