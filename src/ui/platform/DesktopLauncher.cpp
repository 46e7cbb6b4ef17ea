#include "ui/platform/DesktopLauncher.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

bool DesktopLauncher::Start(const QString& path)
{
    // Only a file the system can run: the desktop would open anything else in
    // whatever program it chooses.
    const QFileInfo file(QDir::current(), path);
    if (!file.isFile() || !file.isExecutable())
        return false;
    return QProcess::startDetached(file.absoluteFilePath(), {}, QDir::currentPath());
}

bool DesktopLauncher::OpenFolder(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(path).absolutePath()));
}
