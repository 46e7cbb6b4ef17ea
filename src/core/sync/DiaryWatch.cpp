#include "core/sync/DiaryWatch.h"

#include <QFileInfo>

DiaryWatch::DiaryWatch(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    connect(&settle_, &QTimer::timeout, this, &DiaryWatch::settled);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &DiaryWatch::Stir);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DiaryWatch::Stir);
}

void DiaryWatch::Follow(const QString& diaryPath)
{
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    path_ = diaryPath;
    if (path_.isEmpty())
        return;
    watcher_.addPath(path_);
    watcher_.addPath(QFileInfo(path_).absolutePath());
}

void DiaryWatch::Stir()
{
    // A renamed-over diary drops out of the watch: the new file is watched.
    if (!path_.isEmpty() && !watcher_.files().contains(path_))
        watcher_.addPath(path_);
    settle_.start();
}
