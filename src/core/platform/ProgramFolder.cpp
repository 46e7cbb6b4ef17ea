#include "core/platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

ProgramFolder::ProgramFolder(QString path) : path_(std::move(path))
{
    while (path_.size() > 1 && path_.endsWith(u'/'))
        path_.chop(1);
    dataPath_ = IsInstalled() ? QDir::cleanPath(path_ + QStringLiteral("/../../share/sorafumi")) : path_;
}

ProgramFolder::ProgramFolder(QString path, QString userFolder) : ProgramFolder(std::move(path))
{
    userFolder_ = std::move(userFolder);
}

ProgramFolder ProgramFolder::OfRunningProgram()
{
    return ProgramFolder(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::UserFolder() const
{
    if (!userFolder_.isEmpty())
        return userFolder_;
    // An installed program keeps the user's files apart, whoever may write to
    // its folder; one run from its build folder keeps them beside itself.
    if (!IsInstalled() && QFileInfo(path_).isWritable())
        return path_;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/日記帳Sorafumi");
}

bool ProgramFolder::IsInstalled() const
{
    const QStringList folders = path_.split(u'/');
    return folders.size() >= 2 && folders.last() == QStringLiteral("sorafumi") &&
           folders[folders.size() - 2] == QStringLiteral("lib");
}

bool ProgramFolder::MakeCurrent() const
{
    const QString folder = UserFolder();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder))
            return false;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return QDir::setCurrent(folder);
}

QString ProgramFolder::Resolve(const QString& name) const
{
    if (name.isEmpty() || QFileInfo(name).isAbsolute() || QFileInfo::exists(name))
        return name;
    return File(name);
}
