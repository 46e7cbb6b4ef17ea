#include "core/sync/DiaryWatch.h"

#include <QFileInfo>

DiaryWatch::DiaryWatch(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    connect(&settle_, &QTimer::timeout, this, &DiaryWatch::settled);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &DiaryWatch::Stir);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DiaryWatch::Stir);
    lookAgain_.setInterval(LookAgainMs);
    connect(&lookAgain_, &QTimer::timeout, this, &DiaryWatch::LookAgain);
}

void DiaryWatch::Follow(const QString& diaryPath)
{
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    path_ = diaryPath;
    lookAgain_.stop();
    if (path_.isEmpty())
        return;
    watcher_.addPath(path_);
    watcher_.addPath(QFileInfo(path_).absolutePath());
    looked_ = LookNow();
    lookAgain_.start();
}

void DiaryWatch::LookAgain()
{
    const Looks now = LookNow();
    if (now != looked_ && !settle_.isActive())
        Stir();
    looked_ = now;
}

DiaryWatch::Looks DiaryWatch::LookNow() const
{
    return {FileIdentity::OfPath(path_), FileIdentity::OfPath(QFileInfo(path_).absolutePath())};
}

void DiaryWatch::Stir()
{
    // A renamed-over diary drops out of the watch: the new file is watched.
    if (!path_.isEmpty() && !watcher_.files().contains(path_))
        watcher_.addPath(path_);
    settle_.start();
}
