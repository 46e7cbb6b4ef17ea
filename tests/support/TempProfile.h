#pragma once

#include <QString>
#include <QTemporaryDir>

// A user of their own for one test: a settings folder, a program folder and
// nothing else, removed afterwards.
class TempProfile
{
public:
    TempProfile();

    bool IsValid() const { return dir_.isValid(); }
    QString Root() const { return dir_.path(); }
    QString ConfigHome() const { return dir_.path() + QStringLiteral("/config"); }
    QString StateHome() const { return dir_.path() + QStringLiteral("/state"); }
    // Where the settings store of this user lives.
    QString SettingsFile() const;
    QString ProgramFolder() const { return dir_.path() + QStringLiteral("/program"); }
    QString ProgramFile(const QString& name) const { return ProgramFolder() + u'/' + name; }

    // Copies a data file of the program into the program folder.
    bool CopyDataFile(const QString& name) const;
    QByteArray ReadProgramFile(const QString& name) const;
    void WriteProgramFile(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
};
