#pragma once

#include "core/platform/FileError.h"

#include <QDate>
#include <QList>
#include <QString>

class Prompter;

// The copies of the diary kept in the backups folder: one for each day the
// diary is written on, taken before the day's first write and named after the
// diary and the day (NIKKI.DAT gives NIKKI-20261207.DAT). A copy holds the
// diary's bytes as they are, so it opens anywhere the diary opens.
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
    static QString CopyName(const QString& diaryPath, QDate day);
    // The day a file in the folder is this diary's copy of; invalid when it is
    // none of its copies.
    static QDate DayOf(const QString& diaryPath, const QString& fileName);
    // The days this diary has a copy for in the folder, newest first.
    static QList<QDate> Days(const QString& diaryPath, const QString& folder);
    // Of the days given newest first, those the generations keep.
    static QList<QDate> Kept(const QList<QDate>& days, Generations keep);

    // Copies the diary as today's copy unless there is one already. The copy
    // counts only once it is whole, flushed and holds the diary's bytes; a copy
    // that is not is removed. Only then do the copies the generations no
    // longer keep go.
    static FileError Take(const QString& diaryPath, const QString& folder, QDate today, Generations keep);
    // Tells the user that no copy was made, why, and that the diary is saved.
    static void ReportFailure(Prompter& prompter, const FileError& error, const QString& folder);

private:
    static FileError Copy(const QString& diaryPath, const QString& target);
    static void RemoveOld(const QString& diaryPath, const QString& folder, Generations keep);
};
