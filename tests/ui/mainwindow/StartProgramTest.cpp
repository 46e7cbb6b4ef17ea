#include "ui/mainwindow/StartProgram.h"
#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/settings/LoginPassword.h"
#include "core/settings/ProgramVersion.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/platform/Twips.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QString RegistrationText = QStringLiteral(
    "簡単なセットアップを行います。\rまず所有者の名前を設定して下さい。\r同時にパスワードも設定できます。\r"
    "（パスワードは後からも変更できますが、所有者名はこの場以外では変更できません！）");
const QString VersionText =
    QStringLiteral("以前起動した日記帳とバージョン情報が異なります。バージョンアップしたと見なします。");

} // namespace

class StartProgramTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void FirstRunRefusedEndsWithoutOwner()
    {
        TestApp test;
        test.prompter.AnswerMessage(Prompter::Answer::No);
        test.prompter.AnswerMessage(Prompter::Answer::Ok);

        QVERIFY(!StartProgram(test.context));

        QVERIFY(test.context.Ended());
        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(2));
        const Prompter::Box& ask = test.prompter.shown[0].box;
        QCOMPARE(ask.text, RegistrationText);
        QCOMPARE(ask.title, QStringLiteral("新規登録"));
        QCOMPARE(ask.buttons, Prompter::Buttons::YesNo);
        QCOMPARE(ask.icon, Prompter::Icon::Information);
        const Prompter::Box& refused = test.prompter.shown[1].box;
        QCOMPARE(refused.text, QStringLiteral("所有者登録を拒否されたので終了します。"));
        QCOMPARE(refused.title, QStringLiteral("登録拒否"));
        QCOMPARE(refused.buttons, Prompter::Buttons::Ok);
        QCOMPARE(refused.icon, Prompter::Icon::Critical);

        // Only the unload handler wrote: the next start asks again.
        QVERIFY(!test.Stored(QStringLiteral("User"), QStringLiteral("UserName")));
        QCOMPARE(test.Read(QStringLiteral("Version"), QStringLiteral("Version")), ProgramVersion::Text());
        QCOMPARE(test.Read(QStringLiteral("User"), QStringLiteral("UserDataFile")), QString());
    }

    // A new user registers, logs in, names the diary and finds its first page.
    void FirstRunEndToEnd()
    {
        TestApp test;
        test.prompter.AnswerMessage(Prompter::Answer::Yes);
        test.prompter.AnswerModal(FillAndPress({{QStringLiteral("txtUserName"), QStringLiteral("Owner")},
                                                {QStringLiteral("txtPassword"), QStringLiteral("そらふみ")}},
                                               QStringLiteral("cmdOK")));
        test.prompter.AnswerModal(
            FillAndPress({{QStringLiteral("txtPassword"), QStringLiteral("そらふみ")}}, QStringLiteral("cmdOK")));
        test.prompter.AnswerInput(QStringLiteral("  diary.dat "));
        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        // The tip of the day follows, once the window is up.
        QString tipWindow;
        test.prompter.AnswerModal([&tipWindow](QDialog& window) {
            tipWindow = window.objectName();
            return window.result();
        });
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QCOMPARE(tipWindow, QStringLiteral("frmTip"));
        QVERIFY(form->isVisible());
        QVERIFY(!test.context.Ended());
        QCOMPARE(form->windowTitle(), QStringLiteral("日記帳Sorafumi Kasumire ＳＲ６"));
        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown[3].box.title, QStringLiteral("ファイル名の入力"));
        QCOMPARE(test.prompter.LastMessage().text,
                 QStringLiteral("DIARY.DATという名前でファイルを作成します。\rこの名前でファイルを作成しますか？"));
        QCOMPARE(test.Read(QStringLiteral("Options"), QStringLiteral("Show Tips at Startup")), QStringLiteral("1"));

        QCOMPARE(test.Read(QStringLiteral("User"), QStringLiteral("UserName")), QStringLiteral("Owner"));
        QVERIFY(LoginPassword::Matches(QStringLiteral("そらふみ"),
                                       test.Read(QStringLiteral("User"), QStringLiteral("UserPWS"))));
        QCOMPARE(test.context.app.UserDataFile, QStringLiteral("DIARY.DAT"));
        const QByteArray diary = test.DiaryBytes();
        QCOMPARE(diary.size(), 10090);
        QCOMPARE(diary.left(15), QByteArray("2026") + QByteArray::fromHex("944e31328c8e3793fa") + "  ");
        QCOMPARE(diary.mid(45, 15), QByteArray("Owner          "));
        QCOMPARE(form->FieldText(EntryField::Date), QStringLiteral("2026年12月7日"));
        QCOMPARE(form->FieldText(EntryField::Weekday), QStringLiteral("月曜日"));
        QCOMPARE(form->FieldText(EntryField::Signature), QStringLiteral("Owner"));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("PageLabel"))->text(),
                 QStringLiteral("全データ数： 1ページ  （現在： 1 ページ目を参照中）"));
    }

    void CancelledDiaryNameEndsWithoutSaving()
    {
        TestApp test;
        test.RegisterOwner();
        test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserDataFile"), QString());
        test.prompter.AnswerInput(std::nullopt);
        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        QVERIFY(!StartProgram(test.context));
        QVERIFY(test.context.Ended());
        QCOMPARE(test.prompter.LastMessage().text, QStringLiteral("ファイル名を指定しなかったので終了します。"));
        QCOMPARE(test.prompter.LastMessage().icon, Prompter::Icon::None);
        QVERIFY(!test.Stored(QStringLiteral("Version"), QStringLiteral("Version")));
    }

    void LastPageShownAfterStart()
    {
        TestApp test;
        DiaryBuilder diary;
        for (int day = 1; day <= 5; ++day)
            diary.Add(
                {QStringLiteral("2026年11月%1日").arg(day), {}, {}, {}, {}, {}, QStringLiteral("本文%1").arg(day)});
        QVERIFY(diary.WriteTo(test.DiaryPath()));
        test.RegisterOwner();
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QCOMPARE(form->FieldText(EntryField::Body), QStringLiteral("本文5"));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("PageLabel"))->text(),
                 QStringLiteral("全データ数： 5ページ  （現在： 5 ページ目を参照中）"));
        QCOMPARE(test.DiaryBytes(), diary.Bytes());
    }

    // The first-start question names the folder a diary named without a
    // folder goes to, and the name chosen is kept at once: a start after a
    // crash before 終了 opens the diary without asking again.
    void FirstStartNamesTheRealFolderAndKeepsTheName_data()
    {
        QTest::addColumn<bool>("userFolder");
        QTest::newRow("run from its build folder") << false;
        QTest::newRow("installed, with a folder of the user's own") << true;
    }
    void FirstStartNamesTheRealFolderAndKeepsTheName()
    {
        QFETCH(bool, userFolder);
        TestApp test;
        const QString folder =
            userFolder ? test.profile.Root() + QStringLiteral("/data") : test.profile.ProgramFolder();
        test.context.folder = ProgramFolder(test.profile.ProgramFolder(), folder);
        test.RegisterOwner();
        test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserDataFile"), QString());
        test.prompter.AnswerInput(QStringLiteral("mine.dat"));
        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QCOMPARE(test.prompter.shown.front().box.text.section(u'\r', -1),
                 QStringLiteral("標準では　%1/　にあるあなたが設定したファイル名です。").arg(folder));
        QCOMPARE(SettingsStore(test.profile.SettingsFile()).ReadSetting(SettingKey::UserDataFile),
                 QStringLiteral("MINE.DAT"));

        form.reset();
        test.Restart();
        form = StartProgram(test.context);
        QVERIFY(form);
        QVERIFY(test.prompter.shown.empty());
        QVERIFY(QFile::exists(folder + QStringLiteral("/MINE.DAT")));
    }

    // The desktop shows the program's own icon on its windows, not a generic one.
    void WindowsShowTheProgramsIcon()
    {
        const QDialog window;
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(window.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }

    void VersionNoticeUntilOneNormalShutDown_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("notice");
        QTest::newRow("older version") << QStringLiteral("1.0.0") << true;
        QTest::newRow("same version") << ProgramVersion::Text() << false;
        QTest::newRow("first start") << QString() << false;
    }
    void VersionNoticeUntilOneNormalShutDown()
    {
        QFETCH(QString, stored);
        QFETCH(bool, notice);
        TestApp test;
        test.RegisterOwner();
        if (!stored.isEmpty())
            test.settings.WriteSetting(QStringLiteral("Version"), QStringLiteral("Version"), stored);
        if (notice)
            test.prompter.AnswerMessage(Prompter::Answer::Ok);

        std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(notice ? 1 : 0));
        if (notice) {
            QCOMPARE(test.prompter.LastMessage().text, VersionText);
            QCOMPARE(test.prompter.LastMessage().title, QStringLiteral("バージョン管理"));
            QCOMPARE(test.prompter.LastMessage().icon, Prompter::Icon::Information);
        }
        form->close();
        QCOMPARE(test.Read(QStringLiteral("Version"), QStringLiteral("Version")), ProgramVersion::Text());

        test.Restart();
        QVERIFY(StartProgram(test.context));
        QCOMPARE(test.prompter.shown.size(), size_t(0));
    }

    void StoredPlaceAndSize()
    {
        TestApp test;
        test.RegisterOwner();
        test.settings.WriteSetting(QStringLiteral("Settings"), QStringLiteral("MainLeft"), QStringLiteral("1500"));
        test.settings.WriteSetting(QStringLiteral("Settings"), QStringLiteral("MainTop"), QStringLiteral("750"));
        test.settings.WriteSetting(QStringLiteral("Settings"), QStringLiteral("MainWidth"), QStringLiteral("9000"));
        test.settings.WriteSetting(QStringLiteral("Settings"), QStringLiteral("MainHeight"), QStringLiteral("7500"));
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QCOMPARE(form->pos(), QPoint(100, 50));
        QCOMPARE(form->size(), QSize(600, 500));
    }

    void DefaultPlaceAndSize()
    {
        TestApp test;
        test.RegisterOwner();
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QCOMPARE(form->pos(), QPoint(0, 0));
        QCOMPARE(form->size(), QSize(520, 433));
    }

    // A value that is not a number counts as its key's default; the rest loads.
    void UnconvertibleWidthTakesTheDefault()
    {
        TestApp test;
        test.RegisterOwner();
        test.settings.WriteSetting(QStringLiteral("Settings"), QStringLiteral("MainLeft"), QStringLiteral("300"));
        test.settings.WriteSetting(QStringLiteral("Settings"), QStringLiteral("MainWidth"), QStringLiteral("wide"));
        test.settings.WriteSetting(QStringLiteral("Settings"), QStringLiteral("MainHeight"), QStringLiteral("3000"));
        test.settings.WriteSetting(QStringLiteral("Version"), QStringLiteral("Version"), QStringLiteral("1.0.0"));
        test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserDataFontSize"), QStringLiteral("20"));
        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QCOMPARE(form->pos().x(), 20);
        QCOMPARE(form->width(), 520);
        QCOMPARE(test.prompter.MessageTexts(), QStringList{VersionText});
        QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("FontSizeSetText"))->text(), QStringLiteral("20"));
    }

    void FontSizeAppliedToTheBody_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("points");
        QTest::newRow("20") << QStringLiteral("20") << QStringLiteral("20") << 20;
        QTest::newRow("default") << QString() << QStringLiteral("12") << 12;
        QTest::newRow("not a number gives the default") << QStringLiteral("big") << QStringLiteral("12") << 12;
        QTest::newRow("zero is not a size") << QStringLiteral("0") << QStringLiteral("0") << 12;
    }
    void FontSizeAppliedToTheBody()
    {
        QFETCH(QString, stored);
        QFETCH(QString, box);
        QFETCH(int, points);
        TestApp test;
        test.RegisterOwner();
        if (!stored.isEmpty())
            test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserDataFontSize"), stored);
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("FontSizeSetText"))->text(), box);
        const auto bodies = form->findChildren<QPlainTextEdit*>(QStringLiteral("FieldBoxes"));
        QCOMPARE(bodies.size(), 1);
        QCOMPARE(bodies.first()->font().pointSize(), points);
    }

    // Installed, the program's folder is not the user's: a diary named without
    // a folder goes to the user's own folder, while the background is still
    // found beside the program.
    void BareDiaryNameInTheUsersFolder()
    {
        TestApp test;
        test.RegisterOwner();
        test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserDataFile"), QStringLiteral("MINE.DAT"));
        QVERIFY(test.profile.CopyDataFile(QStringLiteral("BackMap.gif")));
        const QString users = test.profile.Root() + QStringLiteral("/share/日記帳Sorafumi");
        AppContext context(test.prompter, test.clock, ProgramFolder(test.profile.ProgramFolder(), users), test.settings,
                           test.launcher);
        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        const std::unique_ptr<MainWindow> form = StartProgram(context);
        QVERIFY(form);
        QVERIFY(QFile::exists(users + QStringLiteral("/MINE.DAT")));
        QVERIFY(!QFile::exists(test.profile.ProgramFile(QStringLiteral("MINE.DAT"))));
        QVERIFY(!form->BackgroundPicture().isNull());
    }

    void BackgroundPicture_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("not a picture") << QByteArray("GIF89a this is not a picture") << false;
        QTest::newRow("the shipped picture") << QByteArray("shipped") << true;
    }
    void BackgroundPicture()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, loaded);
        TestApp test;
        test.RegisterOwner();
        if (file == "shipped")
            QVERIFY(test.profile.CopyDataFile(QStringLiteral("BackMap.gif")));
        else if (!file.isEmpty())
            test.profile.WriteProgramFile(QStringLiteral("BackMap.gif"), file);
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QCOMPARE(!form->BackgroundPicture().isNull(), loaded);
    }
};

SORAFUMI_TEST(StartProgramTest)
#include "StartProgramTest.moc"
