#include "ui/browser/HelpPages.h"
#include "AuxWindows.h"
#include "ScriptedPrompter.h"
#include "TempProfile.h"
#include "TestRegistry.h"
#include "core/platform/ProgramFolder.h"
#include "ui/platform/Twips.h"

#include <QComboBox>
#include <QPointer>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>
#include <cerrno>
#include <cstring>

using namespace AuxWindows;

class HelpPagesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }
    void cleanup() { CloseBrowserWindows(); }

    // The web site is checked by its address alone: no test goes on line.
    void Addresses_data()
    {
        QTest::addColumn<int>("selector");
        QTest::addColumn<QString>("address");
        const QString folder = QStringLiteral("/opt/日記帳");
        QTest::newRow("0 help") << 0 << folder + QStringLiteral("/index.htm");
        QTest::newRow("2 web site") << 2 << QStringLiteral("https://sorafumi.example.jp/");
        QTest::newRow("3 mail") << 3 << folder + QStringLiteral("/mail.htm");
        QTest::newRow("4 updates") << 4 << folder + QStringLiteral("/02.htm");
        QTest::newRow("5 upgrade") << 5 << folder + QStringLiteral("/05.htm");
        QTest::newRow("-1") << -1 << QString();
        QTest::newRow("1") << 1 << QString();
        QTest::newRow("6") << 6 << QString();
        QTest::newRow("32767") << 32767 << QString();
        QTest::newRow("-32768") << -32768 << QString();
    }
    void Addresses()
    {
        QFETCH(int, selector);
        QFETCH(QString, address);
        QCOMPARE(HelpPages::Address(selector, ProgramFolder(QStringLiteral("/opt/日記帳"))), address);
    }

    // The pages installed beside the program read offline in any browser:
    // UTF-8 that says so, with a title of their own.
    void InstalledPages_data()
    {
        QTest::addColumn<int>("selector");
        QTest::newRow("0") << 0;
        QTest::newRow("3") << 3;
        QTest::newRow("4") << 4;
        QTest::newRow("5") << 5;
    }
    void InstalledPages()
    {
        QFETCH(int, selector);
        TempProfile profile;
        const QString address = HelpPages::Address(selector, ProgramFolder(profile.ProgramFolder()));
        const QString name = QFileInfo(address).fileName();
        QVERIFY(profile.CopyDataFile(name));

        const QByteArray bytes = profile.ReadProgramFile(name);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(bytes);
        QVERIFY(!utf8.hasError());
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("<meta[^>]*charset=\"?utf-8"),
                                                 QRegularExpression::CaseInsensitiveOption)));
        const QRegularExpressionMatch title = QRegularExpression(QStringLiteral("<title>([^<]+)</title>")).match(text);
        QVERIFY(title.hasMatch());
        QVERIFY2(title.captured(1).startsWith(QStringLiteral("日記帳Sorafumi")), qPrintable(title.captured(1)));
    }

    // Every request enters the program folder, also one that opens nothing;
    // no request says anything.
    void OpenHelpPage_data()
    {
        QTest::addColumn<int>("selector");
        QTest::addColumn<QString>("page");
        QTest::newRow("0") << 0 << QStringLiteral("index.htm");
        QTest::newRow("3") << 3 << QStringLiteral("mail.htm");
        QTest::newRow("4, no such page") << 4 << QStringLiteral("02.htm");
        QTest::newRow("5") << 5 << QStringLiteral("05.htm");
        QTest::newRow("-1") << -1 << QString();
        QTest::newRow("1") << 1 << QString();
        QTest::newRow("6") << 6 << QString();
    }
    void OpenHelpPage()
    {
        QFETCH(int, selector);
        QFETCH(QString, page);
        const CurrentFolderGuard keep;
        TempProfile profile;
        for (const char* name : {"index.htm", "mail.htm", "05.htm"})
            profile.WriteProgramFile(QString::fromLatin1(name), Page(QString::fromLatin1(name)));
        QVERIFY(QDir::setCurrent(profile.Root()));
        ScriptedPrompter prompter;

        BrowserWindow* window = HelpPages::OpenHelpPage(selector, ProgramFolder(profile.ProgramFolder()), prompter);

        QCOMPARE(Canonical(QDir::currentPath()), Canonical(profile.ProgramFolder()));
        QCOMPARE(prompter.shown.size(), size_t(0));
        if (page.isEmpty()) {
            QVERIFY(!window);
            QVERIFY(BrowserWindows().isEmpty());
            return;
        }
        QCOMPARE(BrowserWindows(), QList<BrowserWindow*>{window});
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QCOMPARE(window->StartingAddress, profile.ProgramFile(page));
        QCOMPARE(window->findChild<QComboBox*>(QStringLiteral("cboAddress"))->currentText(), profile.ProgramFile(page));
    }

    void EveryRequestMakesANewWindow()
    {
        const CurrentFolderGuard keep;
        TempProfile profile;
        profile.WriteProgramFile(QStringLiteral("index.htm"), Page(QStringLiteral("目次")));
        ScriptedPrompter prompter;
        const ProgramFolder folder(profile.ProgramFolder());

        const QPointer<BrowserWindow> first = HelpPages::OpenHelpPage(0, folder, prompter);
        const QPointer<BrowserWindow> second = HelpPages::OpenHelpPage(0, folder, prompter);

        QVERIFY(first);
        QVERIFY(second);
        QVERIFY(first != second);
        QCOMPARE(BrowserWindows().size(), qsizetype(2));
        for (const BrowserWindow* window : {first.data(), second.data()}) {
            QVERIFY(window->isVisible());
            QCOMPARE(window->StartingAddress, profile.ProgramFile(QStringLiteral("index.htm")));
        }
        // Closing one leaves the other.
        QVERIFY(first->close());
        QTRY_VERIFY(first.isNull());
        QCOMPARE(BrowserWindows(), QList<BrowserWindow*>{second.data()});
        QVERIFY(second->isVisible());
    }

    // A program folder that cannot be entered: one box with the system's own
    // words for the error, and no window.
    void FolderThatCannotBeEntered_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("dataHome");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("selector");
        QTest::newRow("a file, help") << QStringLiteral("program/index.htm") << QStringLiteral("data") << ENOTDIR << 0;
        QTest::newRow("a file, nothing to open")
            << QStringLiteral("program/index.htm") << QStringLiteral("data") << ENOTDIR << 6;
        QTest::newRow("missing, no folder of the user's")
            << QStringLiteral("nowhere") << QStringLiteral("program/index.htm/data") << ENOTDIR << 3;
    }
    void FolderThatCannotBeEntered()
    {
        QFETCH(QString, folder);
        QFETCH(QString, dataHome);
        QFETCH(int, error);
        QFETCH(int, selector);
        const CurrentFolderGuard keep;
        TempProfile profile;
        const EnvironmentGuard data("XDG_DATA_HOME", profile.Root() + u'/' + dataHome);
        profile.WriteProgramFile(QStringLiteral("index.htm"), Page(QStringLiteral("目次")));
        QVERIFY(QDir::setCurrent(profile.Root()));
        ScriptedPrompter prompter;
        prompter.AnswerMessage(Prompter::Answer::Ok);

        BrowserWindow* window =
            HelpPages::OpenHelpPage(selector, ProgramFolder(profile.Root() + u'/' + folder), prompter);

        QVERIFY(!window);
        QVERIFY(BrowserWindows().isEmpty());
        QVERIFY(prompter.AllAnswered());
        QCOMPARE(prompter.shown.size(), size_t(1));
        const Prompter::Box& box = prompter.LastMessage();
        QCOMPARE(box.text, QStringLiteral("エラー番号：") + QString::number(error) + QStringLiteral("\r\n") +
                               QString::fromLocal8Bit(std::strerror(error)));
        QCOMPARE(box.title, QStringLiteral("日記帳Sorafumi"));
        QCOMPARE(box.buttons, Prompter::Buttons::Ok);
        QCOMPARE(box.icon, Prompter::Icon::Critical);
        QCOMPARE(Canonical(QDir::currentPath()), Canonical(profile.Root()));
    }

    // A program folder the user cannot write to (here: one that is gone)
    // sends the user's own files to their data folder, made on demand.
    void MissingProgramFolderUsesTheUsersFolder()
    {
        const CurrentFolderGuard keep;
        TempProfile profile;
        const EnvironmentGuard data("XDG_DATA_HOME", profile.Root() + QStringLiteral("/data"));
        ScriptedPrompter prompter;
        const QString missing = profile.Root() + QStringLiteral("/nowhere");

        const QPointer<BrowserWindow> window = HelpPages::OpenHelpPage(0, ProgramFolder(missing), prompter);

        QCOMPARE(prompter.shown.size(), size_t(0));
        QVERIFY(window);
        QCOMPARE(window->StartingAddress, missing + QStringLiteral("/index.htm"));
        QCOMPARE(Canonical(QDir::currentPath()), Canonical(profile.Root() + QStringLiteral("/data/日記帳Sorafumi")));
        QVERIFY(!QFileInfo::exists(missing));
    }
};

SORAFUMI_TEST(HelpPagesTest)
#include "HelpPagesTest.moc"
