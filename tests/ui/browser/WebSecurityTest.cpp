// Pages from the network shown in the program's web views never read the
// owner's files, and the help pages still work.

#include "AuxWindows.h"
#include "ScriptedPrompter.h"
#include "TempProfile.h"
#include "TestRegistry.h"
#include "core/platform/ProgramFolder.h"
#include "ui/browser/BrowserWindow.h"
#include "ui/browser/HelpPages.h"
#include "ui/platform/SafeWebView.h"

#include <QFile>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int LoadTimeout = 20000;

// Reads the secret file by request, by fetch and through a frame, and writes
// what each way got into the title.
QString ProbePage(const QUrl& secret)
{
    return QStringLiteral(R"(<html><head><title>probing</title></head><body><script>
const secret = '%1';
const results = [];
let framed = false;
function add(result) {
    results.push(result);
    if (results.length === 3)
        document.title = results.sort().join(' ');
}
function verdict(text, way) { return way + (text.indexOf('SECRET') >= 0 ? ':read' : ':blocked'); }
try {
    const request = new XMLHttpRequest();
    request.open('GET', secret, false);
    request.send();
    add(verdict(request.responseText, 'xhr'));
} catch (e) { add('xhr:blocked'); }
fetch(secret).then(r => r.text()).then(t => add(verdict(t, 'fetch')), () => add('fetch:blocked'));
const frame = document.createElement('iframe');
function frameDone() {
    if (framed) return;
    framed = true;
    let text = '';
    try { text = frame.contentDocument.body.innerText; } catch (e) {}
    add(verdict(text, 'frame'));
}
frame.onload = frameDone;
setTimeout(frameDone, 3000);
frame.src = secret;
document.body.appendChild(frame);
</script></body></html>)")
        .arg(secret.toString());
}

QString GoPage(const QUrl& target)
{
    return QStringLiteral(
               "<html><head><title>go</title></head><body><script>location.href = '%1';</script></body></html>")
        .arg(target.toString());
}

// A web server on the loopback address that answers every request with one
// page: the network as far as the web view can tell.
class LoopbackServer : public QTcpServer
{
public:
    explicit LoopbackServer(QString page) : page_(std::move(page))
    {
        connect(this, &QTcpServer::newConnection, this, &LoopbackServer::Answer);
        listen(QHostAddress::LocalHost);
    }
    QUrl Url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/page.htm").arg(serverPort())); }

private:
    void Answer()
    {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->readAll().contains("\r\n\r\n"))
                    return;
                const QByteArray body = page_.toUtf8();
                socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                              QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    QString page_;
};

// A folder with a file the pages must not read, and pages of their own.
struct Disk
{
    Disk()
    {
        Write(QStringLiteral("secret.htm"),
              QStringLiteral("<html><head><title>SECRET</title></head><body>SECRET</body></html>"));
    }
    QUrl Secret() const { return QUrl::fromLocalFile(folder.filePath(QStringLiteral("secret.htm"))); }
    QUrl Write(const QString& name, const QString& html) const
    {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0)
            return {};
        return QUrl::fromLocalFile(file.fileName());
    }

    QTemporaryDir folder;
};

} // namespace

class WebSecurityTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void NetworkPageCannotReadFiles()
    {
        const Disk disk;
        LoopbackServer server(ProbePage(disk.Secret()));
        QVERIFY(server.isListening());
        SafeWebView view;
        view.show();
        view.setUrl(server.Url());

        QTRY_COMPARE_WITH_TIMEOUT(view.title(), QStringLiteral("fetch:blocked frame:blocked xhr:blocked"), LoadTimeout);
    }

    // A page from the network that sends the view to a file stays where it is.
    void NetworkPageCannotOpenAFile()
    {
        const Disk disk;
        LoopbackServer server(GoPage(disk.Secret()));
        SafeWebView view;
        view.show();
        view.setUrl(server.Url());
        QTRY_COMPARE_WITH_TIMEOUT(view.title(), QStringLiteral("go"), LoadTimeout);

        QTest::qWait(1500);

        QCOMPARE(view.url(), server.Url());
        QCOMPARE(view.title(), QStringLiteral("go"));
    }

    // Help pages still lead from one to the next.
    void LocalPagesStillLinkToEachOther()
    {
        const Disk disk;
        const QUrl next =
            disk.Write(QStringLiteral("next.htm"),
                       QStringLiteral("<html><head><meta charset='utf-8'><title>次</title></head></html>"));
        const QUrl first =
            disk.Write(QStringLiteral("first.htm"),
                       QStringLiteral("<html><body><a id=next href='next.htm'>次へ</a>"
                                      "<script>document.getElementById('next').click();</script></body></html>"));
        SafeWebView view;
        view.show();
        view.setUrl(first);

        QTRY_COMPARE_WITH_TIMEOUT(view.title(), QStringLiteral("次"), LoadTimeout);
        QCOMPARE(view.url(), next);
    }

    void TheBrowserWindowIsSafe()
    {
        const AuxWindows::CurrentFolderGuard keep;
        TempProfile profile;
        profile.WriteProgramFile(QStringLiteral("index.htm"),
                                 QByteArray("<html><head><title>index</title></head></html>"));
        ScriptedPrompter prompter;
        const QPointer<BrowserWindow> window =
            HelpPages::OpenHelpPage(0, ProgramFolder(profile.ProgramFolder()), prompter);
        QVERIFY(window);
        QVERIFY(qobject_cast<SafeWebView*>(window->WebView()));
        window->close();
    }
};

SORAFUMI_TEST(WebSecurityTest)
#include "WebSecurityTest.moc"
