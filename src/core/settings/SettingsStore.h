#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <vector>

// The per-user settings: text values by section and key, in an INI file that
// only its owner can read ($XDG_CONFIG_HOME/日記帳Sorafumi/日記帳Sorafumi.ini).
class SettingsStore
{
public:
    static QString ApplicationName() { return QStringLiteral("日記帳Sorafumi"); }

    struct Setting
    {
        QString section;
        QString key;
        QString value;
    };

    SettingsStore();
    // A store in a file of the caller's choosing.
    explicit SettingsStore(const QString& fileName);

    QString FileName() const { return settings_.fileName(); }

    // The stored text, or the default as text when the key is absent.
    QString ReadSetting(const QString& section, const QString& key, const QVariant& defaultValue = QString()) const;
    // Creates or replaces one value and writes it to disk at once. False when
    // it did not reach the disk: it is still read back for the rest of the run.
    bool WriteSetting(const QString& section, const QString& key, const QString& value);
    // The same for several values, written to disk together.
    bool WriteSettings(const std::vector<Setting>& values);
    // False when the last write did not reach the disk.
    bool Healthy() const { return healthy_; }

private:
    static QString Path(const QString& section, const QString& key) { return section + u'/' + key; }
    static QString Text(const QVariant& value);
    void KeepPrivate();
    bool OnDisk(const std::vector<Setting>& values) const;

    mutable QSettings settings_;
    bool healthy_ = true;
};
