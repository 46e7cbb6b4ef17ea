#pragma once

#include "core/platform/FileError.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

class Prompter;
class RecordFile;

// The copies of the diary kept in the backups folder: one for each day the
// diary is written on, taken before the day's first write and named after the
// diary, a mark of its place and the day (/home/taro/NIKKI.DAT gives
// NIKKI-1a2b3c4d-20261207.DAT), so two diaries of the same name never share
// copies. A copy holds the diary's bytes as they are, so it opens anywhere the
// diary opens.
class DiaryBackup
{
public:
    // How many copies stay: the newest days, and after them the newest copy of
    // each of the weeks before. None of either takes no copies at all.
    struct Generations
    {
        int daily = 7;
        int weekly = 4;
    };

    // $XDG_DATA_HOME/日記帳Sorafumi/backups
    static QString DefaultFolder();
    // Makes the folder when it is not there, readable by its owner only.
    static bool MakeFolder(const QString& folder);
    static QString CopyName(const QString& diaryPath, QDate day);
    // The name copies had before they carried the diary's mark, which every
    // diary of the same file name shares (NIKKI-20261207.DAT).
    static QString SharedCopyName(const QString& diaryPath, QDate day);
    // The days this diary has a copy for in the folder, newest first.
    static QList<QDate> Days(const QString& diaryPath, const QString& folder);
    // Of the days given newest first, those the generations keep.
    static QList<QDate> Kept(const QList<QDate>& days, Generations keep);

    // Copies the diary as today's copy unless there is one already. The copy
    // counts only once it is whole, flushed and holds the diary's bytes; a copy
    // that is not is removed. Only then do the copies the generations no
    // longer keep go.
    static FileError Take(const QString& diaryPath, const QString& folder, QDate today, Generations keep);
    // A copy in the backups folder, as the restore lists it.
    struct Generation
    {
        QString path;
        // Midnight for a daily copy; the moment for a diary kept at a restore.
        QDateTime taken;
        bool keptAtRestore = false;
        // Under the name every diary of the same file name shares: it may be
        // another diary's. Such copies are listed but never removed.
        bool sharedName = false;
        qint32 pages = 0;
        QDate lastPage;
    };
    // Every copy of this diary in the folder, newest first.
    static QList<Generation> List(const QString& diaryPath, const QString& folder);
    // Keeps the diary as it is now as a copy of its own, NAME-YYYYMMDD-HHMMSS,
    // which no generation removes.
    static FileError KeepCurrent(const QString& diaryPath, const QString& folder, const QDateTime& now);
    // Puts a copy in the diary's place whole, through a temporary file in the
    // diary's folder; until the rename the diary is untouched. On success the
    // diary is open on the copy's bytes.
    static FileError Replace(RecordFile& diary, const QString& copyPath);

    // Tells the user that no copy was made, why, and that the diary is saved.
    static void ReportFailure(Prompter& prompter, const FileError& error, const QString& folder);
    // Tells the user that the diary could not be kept before a restore, and
    // that it was left as it is.
    static void ReportRestoreRefused(Prompter& prompter, const FileError& error, const QString& folder);

private:
    static QString PartSuffix() { return QStringLiteral(".part"); }
    // The name of the diary's copy of a sample day: the names of all its
    // copies follow it. Worked out once for a look through the folder, as it
    // asks the file system where the diary really is.
    static QString Sample(const QString& diaryPath);
    // When a file in the folder is a copy named like `sample`, daily or kept
    // at a restore, the moment it stands for; invalid for any other file.
    static QDateTime TakenAs(const QString& sample, const QString& fileName, bool& keptAtRestore);
    // Removes this diary's copies left under their temporary names.
    static void RemoveLeftovers(const QString& diaryPath, const QString& folder);
    static FileError Copy(const QString& diaryPath, const QString& target);
    static void RemoveOld(const QString& diaryPath, const QString& folder, Generations keep);
};
