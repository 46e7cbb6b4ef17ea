#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

// The per-user settings: text values by section and key, in an INI file that
// only its owner can read ($XDG_CONFIG_HOME/日記帳Sorafumi/日記帳Sorafumi.ini).
class SettingsStore
{
public:
    static QString ApplicationName() { return QStringLiteral("日記帳Sorafumi"); }

    SettingsStore();
    // A store in a file of the caller's choosing.
    explicit SettingsStore(const QString& fileName);

    QString FileName() const { return settings_.fileName(); }

    // The stored text, or the default as text when the key is absent.
    QString ReadSetting(const QString& section, const QString& key, const QVariant& defaultValue = QString()) const;
    // Creates or replaces one value and writes it to disk at once.
    void WriteSetting(const QString& section, const QString& key, const QString& value);
    // False when the last write did not reach the disk.
    bool Healthy() const { return settings_.status() == QSettings::NoError; }

private:
    static QString Path(const QString& section, const QString& key) { return section + u'/' + key; }
    void KeepPrivate();

    mutable QSettings settings_;
};
