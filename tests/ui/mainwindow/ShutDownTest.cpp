#include "TestApp.h"
#include "TestRegistry.h"
#include "WriteProtection.h"
#include "core/platform/Cp932.h"
#include "core/settings/ProgramVersion.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QString Settings = QStringLiteral("Settings");
const QString User = QStringLiteral("User");

} // namespace

class ShutDownTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void ExitSavesEveryKeyAndEnds()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        form->move(40, 30);
        form->resize(600, 480);
        form->findChild<QLineEdit*>(QStringLiteral("FontSizeSetText"))->setText(QStringLiteral("16"));
        test.context.app.UserDataFile = QStringLiteral("DIARY.DAT");
        test.context.app.ZnMSG = true;

        form->findChild<QAction*>(QStringLiteral("menuCom_Exit"))->trigger();

        QVERIFY(test.context.Ended());
        QCOMPARE(test.Read(Settings, QStringLiteral("MainLeft")), QStringLiteral("600"));
        QCOMPARE(test.Read(Settings, QStringLiteral("MainTop")), QStringLiteral("450"));
        QCOMPARE(test.Read(Settings, QStringLiteral("MainWidth")), QStringLiteral("9000"));
        QCOMPARE(test.Read(Settings, QStringLiteral("MainHeight")), QStringLiteral("7200"));
        QCOMPARE(test.Read(QStringLiteral("Version"), QStringLiteral("Version")), ProgramVersion::Text());
        QCOMPARE(test.Read(User, QStringLiteral("UserDataFile")), QStringLiteral("DIARY.DAT"));
        QCOMPARE(test.Read(User, QStringLiteral("UserDataFontSize")), QStringLiteral("16"));
        QCOMPARE(test.Read(User, QStringLiteral("ZnURL")), QStringLiteral("https://sorafumi.example.jp/zn/"));
        QCOMPARE(test.Read(User, QStringLiteral("ZnMSG")), QStringLiteral("True"));
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        QCOMPARE(QFile::permissions(test.profile.SettingsFile()) & others, QFile::Permissions());
    }

    // The close box ends the program as 終了 does: what was typed is stored.
    void ClosingThroughTheFrameStoresThePage()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        form->resize(610, 400);
        EntryBody(*form)->setPlainText(QStringLiteral("閉じる直前に書いた一行"));
        QVERIFY(form->close());
        QVERIFY(test.context.Ended());
        QVERIFY(test.DiaryBytes().contains(Cp932::Encode(QStringLiteral("閉じる直前に書いた一行"))));
        QCOMPARE(test.Read(Settings, QStringLiteral("MainWidth")), QStringLiteral("9150"));
        QCOMPARE(test.Read(User, QStringLiteral("ZnMSG")), QStringLiteral("False"));
    }

    // A save that cannot reach the disk is told once, whichever way the
    // program ends.
    void UnwritableStoreIsReported_data()
    {
        QTest::addColumn<bool>("exit");
        QTest::newRow("終了") << true;
        QTest::newRow("the window's close") << false;
    }
    void UnwritableStoreIsReported()
    {
        QFETCH(bool, exit);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        const WriteProtection protection(QFileInfo(test.profile.SettingsFile()).absolutePath());
        if (!protection.IsOn())
            QSKIP(qPrintable(WriteProtection::WhyNot()));
        test.prompter.AnswerMessage(Prompter::Answer::Ok);

        if (exit)
            form->findChild<QAction*>(QStringLiteral("menuCom_Exit"))->trigger();
        else
            QVERIFY(form->close());

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(1));
        QCOMPARE(test.prompter.LastMessage().title, QStringLiteral("設定の保存"));
        QFile file(test.profile.SettingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("[Version]"));
    }

    void MinimisedKeepsTheStoredPlace()
    {
        TestApp test;
        test.settings.WriteSetting(Settings, QStringLiteral("MainWidth"), QStringLiteral("8100"));
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        form->resize(700, 500);
        form->setWindowState(Qt::WindowMinimized);
        QVERIFY(form->close());
        QCOMPARE(test.Read(Settings, QStringLiteral("MainWidth")), QStringLiteral("8100"));
        QVERIFY(!test.Stored(Settings, QStringLiteral("MainHeight")));
        QCOMPARE(test.Read(QStringLiteral("Version"), QStringLiteral("Version")), ProgramVersion::Text());
    }

    void MaximisedStoresItsBounds()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        form->setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY(form->width() > 520);
        QVERIFY(form->close());
        QCOMPARE(test.Read(Settings, QStringLiteral("MainWidth")), QString::number(form->width() * 15));
        QCOMPARE(test.Read(Settings, QStringLiteral("MainHeight")), QString::number(form->height() * 15));
    }
};

SORAFUMI_TEST(ShutDownTest)
#include "ShutDownTest.moc"
