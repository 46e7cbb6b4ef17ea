#include "core/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>

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

QString SettingsStore::Path(SettingKey key)
{
    const SettingKeys::Row& row = SettingKeys::Of(key);
    return Path(row.section, row.name);
}

QString SettingsStore::ReadSetting(SettingKey key) const
{
    const SettingKeys::Row& row = SettingKeys::Of(key);
    return ReadSetting(row.section, row.name, row.defaultValue);
}

QString SettingsStore::ReadSetting(const QString& section, const QString& key, const QVariant& defaultValue) const
{
    const QVariant value = settings_.value(Path(section, key));
    return value.isValid() ? Text(value) : defaultValue.toString();
}

QString SettingsStore::Text(const QVariant& value)
{
    // A value edited by hand with an unquoted comma reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool SettingsStore::WriteSetting(SettingKey key, const QString& value)
{
    return Write({{Path(key), value}});
}

bool SettingsStore::WriteSettings(const std::vector<Setting>& values)
{
    std::vector<Entry> entries;
    for (const Setting& setting : values)
        entries.push_back({Path(setting.key), setting.value});
    return Write(entries);
}

bool SettingsStore::WriteSetting(const QString& section, const QString& key, const QString& value)
{
    return Write({{Path(section, key), value}});
}

bool SettingsStore::Write(const std::vector<Entry>& entries)
{
    KeepPrivate();
    for (const Entry& entry : entries)
        settings_.setValue(entry.path, entry.value);
    settings_.sync();
    // QSettings goes on reporting its first error after later writes went
    // through, so after an error the file itself is asked.
    healthy_ = settings_.status() == QSettings::NoError || OnDisk(entries);
    // A file that could not be written keeps the mode its owner gave it.
    if (healthy_)
        QFile::setPermissions(FileName(), QFile::ReadOwner | QFile::WriteOwner);
    return healthy_;
}

// Whether the file holds these values. It is read through a copy: the file
// under its own name would be served from what this process holds in memory.
bool SettingsStore::OnDisk(const std::vector<Entry>& entries) const
{
    const QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("check.ini"));
    if (!folder.isValid() || !QFile::copy(FileName(), copy))
        return false;
    const QSettings disk(copy, QSettings::IniFormat);
    return std::all_of(entries.begin(), entries.end(), [&disk](const Entry& entry) {
        const QVariant value = disk.value(entry.path);
        return value.isValid() && Text(value) == entry.value;
    });
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
