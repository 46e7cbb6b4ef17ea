#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

ProgramFolder::ProgramFolder(QString path) : path_(std::move(path))
{
    while (path_.size() > 1 && path_.endsWith(u'/'))
        path_.chop(1);
}

ProgramFolder ProgramFolder::OfRunningProgram()
{
    return ProgramFolder(QCoreApplication::applicationDirPath());
}

bool ProgramFolder::MakeCurrent() const
{
    return QDir::setCurrent(path_);
}
