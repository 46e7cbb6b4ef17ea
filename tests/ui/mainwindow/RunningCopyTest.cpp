#include "ui/mainwindow/RunningCopy.h"
#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/settings/SessionSettings.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTest>
#include <memory>
#include <unistd.h>

namespace {

QByteArray OnePage()
{
    return DiaryBuilder()
        .Add({QStringLiteral("2026年12月6日"),
              QStringLiteral("日曜日"),
              QStringLiteral("0"),
              QStringLiteral("空野太郎"),
              QStringLiteral("午後 9:00:00"),
              {},
              {}})
        .Bytes();
}

} // namespace

// A second copy of the program started on a diary that a first copy, a
// process of its own, holds: the second says so, leaves the diary alone and
// calls the first to the front.
class RunningCopyTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void SecondCopyLeavesTheDiaryAlone()
    {
        TestApp test;
        const QByteArray diary = OnePage();
        test.profile.WriteProgramFile(TestApp::DiaryName(), diary);
        test.RegisterOwner();
        const QString path = QFileInfo(test.DiaryPath()).canonicalFilePath();
        test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserDataFile"), path);
        test.settings.WriteSetting(QStringLiteral("Version"), QStringLiteral("Version"),
                                   SessionSettings::ProgramVersion());

        QProcess first;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), test.profile.ConfigHome());
        environment.insert(QStringLiteral("XDG_STATE_HOME"), test.profile.StateHome());
        first.setProcessEnvironment(environment);
        first.start(QStringLiteral(SORAFUMI_PROGRAM), {});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(RunningCopy::RaiseHolder(path), 30000);

        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        QVERIFY(!StartProgram(test.context));

        QVERIFY(test.context.Ended());
        QCOMPARE(test.prompter.MessageTexts(),
                 QStringList{path + QStringLiteral("は別のウィンドウで開かれています。\r"
                                                   "同じ日記を二つのウィンドウで書くとページが失われるため、"
                                                   "こちらは終了します。")});
        QCOMPARE(test.DiaryBytes(), diary);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }

    // Locked, the diary has a new name: a copy started on it later finds
    // this one there, and the old name is let go.
    void HeldUnderTheLockedName()
    {
        TestApp test;
        test.profile.WriteProgramFile(TestApp::DiaryName(), OnePage());
        test.RegisterOwner();
        test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserDataFile"), test.DiaryPath());
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        const QString plain = form->Store().DiaryFile().Path();
        QVERIFY(QFileInfo::exists(RunningCopy::ServerName(plain)));
        QString code;
        QVERIFY(!test.context.diaryLock->Lock(QStringLiteral("合言葉"), code));
        const QString locked = form->Store().DiaryFile().Path();
        QVERIFY(locked != plain);
        QVERIFY(QFileInfo::exists(RunningCopy::ServerName(locked)));
        QVERIFY(!QFileInfo::exists(RunningCopy::ServerName(plain)));
    }

    // A socket another user put under the name is never called, and the name
    // lives in a folder nobody else can reach.
    void AnotherUsersSocketIsNeverCalled()
    {
        if (::getuid() != 0)
            QSKIP("only root can give a socket to another user here");
        const QString path = QDir::temp().filePath(QStringLiteral("DIARY.DAT"));
        const QString name = RunningCopy::ServerName(path);
        const QFileInfo folder(QFileInfo(name).absolutePath());
        QCOMPARE(std::pair(folder.ownerId(), folder.permissions() & 0x0077),
                 std::pair(::getuid(), QFile::Permissions()));
        QLocalServer other;
        QLocalServer::removeServer(name);
        QVERIFY(other.listen(name));
        QCOMPARE(::chown(QFile::encodeName(name).constData(), 65534, 65534), 0);

        QVERIFY(!RunningCopy::RaiseHolder(path));
        QTest::qWait(100);
        QVERIFY(!other.hasPendingConnections());
    }
};

SORAFUMI_TEST(RunningCopyTest)
#include "RunningCopyTest.moc"
