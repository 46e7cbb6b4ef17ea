#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Watches the open diary and its folder, and tells once things settle: a sync
// tool writes a temporary file and renames it over the diary, so one change is
// many events, and the folder is looked at only when they have stopped.
class DiaryWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int SettleMs = 300;

    explicit DiaryWatch(QObject* parent = nullptr);

    // Watches this diary from now on; an empty path watches nothing. Called
    // again after the diary was replaced, since a watch follows the old file.
    void Follow(const QString& diaryPath);

Q_SIGNALS:
    void settled();

private:
    void Stir();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString path_;
};
