#include "ui/mainwindow/RunningCopy.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <unistd.h>

namespace {

constexpr int WaitMilliseconds = 1000;

} // namespace

QString RunningCopy::ServerName(const QString& diaryPath)
{
    // Each user's copies talk among themselves only.
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(diaryPath), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("sorafumi-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.left(20)));
}

RunningCopy::RunningCopy(const QString& diaryPath, QWidget& window)
    : QObject(&window), window_(window), server_(new QLocalServer(this))
{
    const QString name = ServerName(diaryPath);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // This copy holds the diary, so a name already there was left by a copy
    // that ended without closing it.
    if (!server_->listen(name)) {
        QLocalServer::removeServer(name);
        server_->listen(name);
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = server_->nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            caller->write("ok");
            caller->flush();
            caller->disconnectFromServer();
            Raise();
        }
    });
}

RunningCopy::~RunningCopy()
{
    server_->close();
}

void RunningCopy::Raise()
{
    if (window_.isMinimized())
        window_.showNormal();
    window_.raise();
    window_.activateWindow();
}

bool RunningCopy::RaiseHolder(const QString& diaryPath)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName(diaryPath));
    if (!socket.waitForConnected(WaitMilliseconds))
        return false;
    // The answer says the holder took the call.
    return socket.waitForReadyRead(WaitMilliseconds) && socket.readAll() == "ok";
}
