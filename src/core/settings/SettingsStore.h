#pragma once

#include "core/settings/SettingKeys.h"

#include <QSettings>
#include <QString>
#include <QVariant>
#include <vector>

// The per-user settings: text values by section and key, in an INI file that
// only its owner can read ($XDG_CONFIG_HOME/日記帳Sorafumi/日記帳Sorafumi.ini).
// The program names its keys from the key table; the reads and writes by
// section and key name are there for files of any content.
class SettingsStore
{
public:
    static QString ApplicationName() { return QStringLiteral("日記帳Sorafumi"); }

    struct Setting
    {
        SettingKey key;
        QString value;
    };

    SettingsStore();
    // A store in a file of the caller's choosing.
    explicit SettingsStore(const QString& fileName);

    QString FileName() const { return settings_.fileName(); }

    // The stored text, or the key's default from the key table when it is absent.
    QString ReadSetting(SettingKey key) const;
    // Creates or replaces one value and writes it to disk at once. False when
    // it did not reach the disk: it is still read back for the rest of the run.
    bool WriteSetting(SettingKey key, const QString& value);
    // The same for several values, written to disk together.
    bool WriteSettings(const std::vector<Setting>& values);

    // The stored text, or the default as text when the key is absent.
    QString ReadSetting(const QString& section, const QString& key, const QVariant& defaultValue = QString()) const;
    bool WriteSetting(const QString& section, const QString& key, const QString& value);
    // False when the last write did not reach the disk.
    bool Healthy() const { return healthy_; }

private:
    // A value by its place in the file: "section/key".
    struct Entry
    {
        QString path;
        QString value;
    };

    static QString Path(const QString& section, const QString& key) { return section + u'/' + key; }
    static QString Path(SettingKey key);
    static QString Text(const QVariant& value);
    bool Write(const std::vector<Entry>& entries);
    void KeepPrivate();
    bool OnDisk(const std::vector<Entry>& entries) const;

    mutable QSettings settings_;
    bool healthy_ = true;
};
