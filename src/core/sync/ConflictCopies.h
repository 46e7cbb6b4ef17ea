#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

// A copy of the diary a sync tool left beside it when both computers had
// changed it: the other computer's pages wait in it.
struct ConflictCopy
{
    enum class Tool { Syncthing, Nextcloud, Dropbox };

    QString path;
    Tool tool = Tool::Syncthing;
    // As written in the name, in the time of the computer that named it; a
    // name with a day alone gives midnight.
    QDateTime written;
};

// Finds the conflict copies of one diary in its folder by the names the sync
// tools give them:
//   Syncthing  NAME.sync-conflict-YYYYMMDD-HHMMSS-DEVICE.EXT
//   Nextcloud  NAME (conflicted copy YYYY-MM-DD HHMMSS).EXT
//   Dropbox    NAME (… conflicted copy YYYY-MM-DD).EXT
// NAME and EXT are the diary's own, exactly, so that another diary's copies
// in the same folder are never offered. Only real files of the user's own
// count: never a link, a folder, or another user's file.
class ConflictCopies
{
public:
    // Oldest first.
    static std::vector<ConflictCopy> Beside(const QString& diaryPath);
};
