#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// The names of the diary's copies in the backups folder and which of them
// stay. A copy is named after the diary, a mark of its place and the day
// (/home/taro/NIKKI.DAT gives NIKKI-1a2b3c4d-20261207.DAT), so two diaries of
// the same name never share copies; a diary kept at a restore adds the time
// (NIKKI-1a2b3c4d-20261207-153000.DAT).
class BackupGenerations
{
public:
    // How many copies stay: the newest days, and after them the newest copy of
    // each of the weeks before. None of either takes no copies at all.
    struct Keep
    {
        int daily = 7;
        int weekly = 4;
    };

    static QString CopyName(const QString& diaryPath, QDate day);
    // The name copies had before they carried the diary's mark, which every
    // diary of the same file name shares (NIKKI-20261207.DAT).
    static QString SharedCopyName(const QString& diaryPath, QDate day);
    // The name of the diary's copy kept at a restore at `taken`.
    static QString KeptCopyName(const QString& diaryPath, const QDateTime& taken);
    // The days this diary has a copy for in the folder, newest first.
    static QList<QDate> Days(const QString& diaryPath, const QString& folder);
    // Of the days given newest first, those the generations keep.
    static QList<QDate> Kept(const QList<QDate>& days, Keep keep);

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

    // Removes the daily copies the generations no longer keep.
    static void RemoveOld(const QString& diaryPath, const QString& folder, Keep keep);
    // Removes this diary's copies left under their temporary names.
    static void RemoveLeftovers(const QString& diaryPath, const QString& folder);

private:
    // The name of the diary's copy of a sample day: the names of all its
    // copies follow it. Worked out once for a look through the folder, as it
    // asks the file system where the diary really is.
    static QString Sample(const QString& diaryPath);
    // When a file in the folder is a copy named like `sample`, daily or kept
    // at a restore, the moment it stands for; invalid for any other file.
    static QDateTime TakenAs(const QString& sample, const QString& fileName, bool& keptAtRestore);
};
