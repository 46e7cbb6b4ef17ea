#pragma once

#include <QString>

// The folder that holds the program file and the data files beside it,
// without a trailing separator. Tests give a folder of their own.
class ProgramFolder
{
public:
    explicit ProgramFolder(QString path);
    static ProgramFolder OfRunningProgram();

    const QString& Path() const { return path_; }
    // A file beside the program.
    QString File(const QString& name) const { return path_ + u'/' + name; }
    // Makes the program folder the current folder, so relative names resolve
    // there; false when it cannot be entered.
    bool MakeCurrent() const;

private:
    QString path_;
};
