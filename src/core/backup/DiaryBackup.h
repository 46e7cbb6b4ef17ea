#pragma once

#include "core/backup/BackupGenerations.h"
#include "core/platform/FileError.h"

#include <QDate>
#include <QDateTime>
#include <QString>

class RecordFile;

// The copies of the diary kept in the backups folder: one for each day the
// diary is written on, taken before the day's first write (BackupGenerations
// names them and says which stay). A copy holds the diary's bytes as they
// are, so it opens anywhere the diary opens.
class DiaryBackup
{
public:
    // $XDG_DATA_HOME/日記帳Sorafumi/backups
    static QString DefaultFolder();
    // Makes the folder when it is not there, readable by its owner only.
    static bool MakeFolder(const QString& folder);

    // Copies the diary as today's copy unless there is one already. The copy
    // counts only once it is whole, flushed and holds the diary's bytes; a copy
    // that is not is removed. Only then do the copies the generations no
    // longer keep go.
    static FileError Take(const QString& diaryPath, const QString& folder, QDate today, BackupGenerations::Keep keep);
    // Keeps the diary as it is now as a copy of its own, NAME-YYYYMMDD-HHMMSS,
    // which no generation removes.
    static FileError KeepCurrent(const QString& diaryPath, const QString& folder, const QDateTime& now);
    // Puts a copy in the diary's place whole, through a temporary file in the
    // diary's folder; until the rename the diary is untouched. On success the
    // diary is open on the copy's bytes.
    static FileError Replace(RecordFile& diary, const QString& copyPath);

private:
    static FileError Copy(const QString& diaryPath, const QString& target);
};
