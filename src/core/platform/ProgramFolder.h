#pragma once

#include <QString>

// The folder that holds the program file, without a trailing separator, and
// the folder of the data files it reads: beside it in a build folder, in
// …/share/sorafumi for a program installed in …/lib/sorafumi. Tests give a
// folder of their own.
class ProgramFolder
{
public:
    explicit ProgramFolder(QString path);
    // With the user's folder given, as for a program folder the user cannot
    // write to.
    ProgramFolder(QString path, QString userFolder);
    static ProgramFolder OfRunningProgram();

    const QString& Path() const { return path_; }
    // A data file the program reads: a page, a picture, the tips.
    QString File(const QString& name) const { return dataPath_ + u'/' + name; }
    // A program file beside this one.
    QString ProgramFile(const QString& name) const { return path_ + u'/' + name; }

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
    // folder when there is one, else the program's data file of that name.
    QString Resolve(const QString& name) const;

private:
    bool IsInstalled() const;

    QString path_;
    QString dataPath_;
    QString userFolder_;
};
