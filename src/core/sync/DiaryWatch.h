#pragma once

#include "core/sync/FileIdentity.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>
#include <utility>

// Watches the open diary and its folder, and tells once things settle: a sync
// tool writes a temporary file and renames it over the diary, so one change is
// many events, and the folder is looked at only when they have stopped.
class DiaryWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int SettleMs = 300;
    // File system events can be missed (a watch that followed a renamed
    // file, a burst the kernel's queue dropped): the diary and its folder are
    // also looked at this often, one stat each.
    static constexpr int LookAgainMs = 2000;

    explicit DiaryWatch(QObject* parent = nullptr);

    // Watches this diary from now on; an empty path watches nothing. Called
    // again after the diary was replaced, since a watch follows the old file.
    void Follow(const QString& diaryPath);

Q_SIGNALS:
    void settled();

private:
    void Stir();
    void LookAgain();
    // The diary's and its folder's state, as a stat gives them.
    using Looks = std::pair<std::optional<FileIdentity>, std::optional<FileIdentity>>;
    Looks LookNow() const;

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QTimer lookAgain_;
    QString path_;
    Looks looked_;
};
