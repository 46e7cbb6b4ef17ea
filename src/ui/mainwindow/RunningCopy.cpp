#include "ui/mainwindow/RunningCopy.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QWidget>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int WaitMilliseconds = 1000;

// Whether a path is of the kind wanted, this user's own and open to nobody
// else in the ways refused; a link is never followed.
bool IsOwn(const QString& path, mode_t kind, mode_t refused = 0)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && (info.st_mode & S_IFMT) == kind &&
           info.st_uid == ::getuid() && (info.st_mode & refused) == 0;
}

// The session's runtime folder, or the folder of the user's own that Qt makes
// where the session has none. Another user could take a name in a shared
// folder first, so the name lives only where nobody else can reach.
QString PrivateFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return !folder.isEmpty() && IsOwn(folder, S_IFDIR, 077) ? folder : QString();
}

// The copy that answers runs as this user.
bool AnsweredBySelf(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ::getuid();
}

} // namespace

QString RunningCopy::ServerName(const QString& diaryPath)
{
    const QString folder = PrivateFolder();
    if (folder.isEmpty())
        return {};
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(diaryPath), QCryptographicHash::Sha1).toHex();
    return folder + QStringLiteral("/sorafumi-") + QString::fromLatin1(hash.left(20));
}

RunningCopy::RunningCopy(const QString& diaryPath, QWidget& window)
    : QObject(&window), window_(window), server_(new QLocalServer(this))
{
    // Without a folder of the user's own nobody is called: the diary's lock
    // still keeps a second copy out.
    const QString name = ServerName(diaryPath);
    if (name.isEmpty())
        return;
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
    const QString name = ServerName(diaryPath);
    if (name.isEmpty() || !IsOwn(name, S_IFSOCK))
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(WaitMilliseconds) || !AnsweredBySelf(socket))
        return false;
    // The answer says the holder took the call.
    return socket.waitForReadyRead(WaitMilliseconds) && socket.readAll() == "ok";
}
