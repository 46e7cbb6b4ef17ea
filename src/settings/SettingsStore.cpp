#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

// The settings are the user's own: no system-wide file supplies values.
SettingsStore::SettingsStore()
    : settings_(QSettings::IniFormat, QSettings::UserScope, ApplicationName(), ApplicationName())
{
    settings_.setFallbacksEnabled(false);
}

SettingsStore::SettingsStore(const QString& fileName) : settings_(fileName, QSettings::IniFormat)
{
    settings_.setFallbacksEnabled(false);
}

QString SettingsStore::ReadSetting(const QString& section, const QString& key, const QVariant& defaultValue) const
{
    const QVariant value = settings_.value(Path(section, key));
    if (!value.isValid())
        return defaultValue.toString();
    // A value edited by hand with an unquoted comma reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

void SettingsStore::WriteSetting(const QString& section, const QString& key, const QString& value)
{
    KeepPrivate();
    settings_.setValue(Path(section, key), value);
    settings_.sync();
    QFile::setPermissions(FileName(), QFile::ReadOwner | QFile::WriteOwner);
}

// The settings hold the owner's password: the file is made before the first
// write, readable by its owner only, and each rewrite keeps those rights.
void SettingsStore::KeepPrivate()
{
    const QString fileName = FileName();
    if (QFileInfo::exists(fileName))
        return;
    const QFileInfo info(fileName);
    QDir().mkpath(info.absolutePath());
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly))
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}
