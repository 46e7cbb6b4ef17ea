#include "TempProfile.h"

#include <QDir>
#include <QFile>

TempProfile::TempProfile()
{
    QDir().mkpath(ConfigHome());
    QDir().mkpath(ProgramFolder());
    // The user's data folder, too, is this test's own.
    qputenv("XDG_DATA_HOME", QFile::encodeName(Root() + QStringLiteral("/share")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(StateHome()));
}

QString TempProfile::SettingsFile() const
{
    return ConfigHome() + QStringLiteral("/日記帳Sorafumi/日記帳Sorafumi.ini");
}

bool TempProfile::CopyDataFile(const QString& name) const
{
    return QFile::copy(QStringLiteral(SORAFUMI_DATA_DIR) + u'/' + name, ProgramFile(name));
}

QByteArray TempProfile::ReadProgramFile(const QString& name) const
{
    QFile file(ProgramFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TempProfile::WriteProgramFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(ProgramFile(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
