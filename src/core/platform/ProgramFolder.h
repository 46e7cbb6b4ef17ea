#pragma once

#include <QString>

// The folder that holds the program file and the data files beside it,
// without a trailing separator. Tests give a folder of their own.
class ProgramFolder
{
public:
    explicit ProgramFolder(QString path);
    // With the user's folder given, as for a program folder the user cannot
    // write to.
    ProgramFolder(QString path, QString userFolder);
    static ProgramFolder OfRunningProgram();

    const QString& Path() const { return path_; }
    // A file beside the program.
    QString File(const QString& name) const { return path_ + u'/' + name; }

    // Where the user's own files go: the program folder for a program run
    // from its build folder, else (installed in …/lib/sorafumi, or a folder
    // the user may not write to) the user's data folder,
    // $XDG_DATA_HOME/日記帳Sorafumi, made on demand.
    QString UserFolder() const;
    // Makes the user's folder the current folder, so that a diary named
    // without a folder and the rewrite's temporary file live there. False when
    // it cannot be entered.
    bool MakeCurrent() const;
    // A relative name of a file the program reads: the one in the current
    // folder when there is one, else the one beside the program.
    QString Resolve(const QString& name) const;

private:
    QString path_;
    QString userFolder_;
};
