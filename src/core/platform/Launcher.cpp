#include "core/platform/Launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

bool ProcessLauncher::Start(const QString& path)
{
    const QFileInfo file(QDir::current(), path);
    if (!file.isFile() || !file.isExecutable())
        return false;
    return QProcess::startDetached(file.absoluteFilePath(), {}, QDir::currentPath());
}

bool ProcessLauncher::OpenFolder(const QString& path)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), {QDir(path).absolutePath()});
}
