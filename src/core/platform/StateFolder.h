#pragma once

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

// The user's own folder for what the program keeps about a diary between
// runs ($XDG_STATE_HOME/日記帳Sorafumi): never beside the diary, where a sync
// tool would carry it to another computer or another user could read it.
class StateFolder
{
public:
    static QString Path()
    {
        QString home = QFile::decodeName(qgetenv("XDG_STATE_HOME"));
        if (!QDir::isAbsolutePath(home))
            home = QDir::homePath() + QStringLiteral("/.local/state");
        return home + QStringLiteral("/日記帳Sorafumi");
    }
    // The file in it that keeps one kind of state (its name starts with
    // `kind`) of the diary at `diaryPath`: named by a hash of the absolute
    // path, so two diaries of one name in different folders stay apart.
    static QString FileFor(const QString& kind, const QString& diaryPath)
    {
        const QString absolute = QFileInfo(diaryPath).absoluteFilePath();
        const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(absolute), QCryptographicHash::Sha1).toHex();
        return Path() + u'/' + kind + QString::fromLatin1(hash);
    }
    // Makes the folder unless it is there, and its owner's alone: it holds
    // what is known of the user's diaries. False when it cannot be made.
    static bool Make()
    {
        const QString folder = Path();
        if (!QDir().mkpath(folder))
            return false;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return true;
    }
};
