#include "TestApp.h"
#include "TestRegistry.h"
#include "WriteProtection.h"
#include "core/settings/LoginPassword.h"
#include "ui/dialogs/owner/LoginWindow.h"
#include "ui/dialogs/owner/RegistrationWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QLineEdit* Box(QDialog& window, const char* name)
{
    return window.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QPushButton* Button(QDialog& window, const char* name)
{
    return window.findChild<QPushButton*>(QString::fromLatin1(name));
}

struct LoginFixture
{
    explicit LoginFixture(const QString& name, const QString& password)
    {
        test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserName"), name);
        test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserPWS"), password);
        window = std::make_unique<LoginWindow>(test.settings, test.context.app, test.prompter,
                                               [this] { test.context.EndProgram(); });
        window->show();
    }
    TestApp test;
    std::unique_ptr<LoginWindow> window;
};

} // namespace

class OwnerWindowsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void RegistrationWindowTexts()
    {
        TestApp test;
        RegistrationWindow window(test.settings, test.prompter);
        QCOMPARE(window.windowTitle(), QStringLiteral("所有者登録"));
        QCOMPARE(Button(window, "cmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(Button(window, "cmdCancel")->text(), QStringLiteral("ﾘｾｯﾄ"));
        QVERIFY(Button(window, "cmdOK")->isDefault());
        QCOMPARE(Box(window, "txtPassword")->echoMode(), QLineEdit::Password);
        QStringList captions;
        for (const QLabel* label : window.findChildren<QLabel*>(QStringLiteral("lblLabels")))
            captions << label->text();
        QCOMPARE(captions, QStringList({QStringLiteral("ﾕｰｻﾞｰ名(&U):"), QStringLiteral("ﾊﾟｽﾜｰﾄﾞ(&P):")}));
    }

    void RegistrationStoresNameAndPassword_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::newRow("with password") << QStringLiteral("空野 太郎") << QStringLiteral("pass word");
        QTest::newRow("empty password") << QStringLiteral("Owner") << QString();
        QTest::newRow("a name of blanks counts") << QStringLiteral("  ") << QStringLiteral("x");
    }
    void RegistrationStoresNameAndPassword()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        TestApp test;
        RegistrationWindow window(test.settings, test.prompter);
        window.show();
        Box(window, "txtUserName")->setText(name);
        Box(window, "txtPassword")->setText(password);
        Button(window, "cmdOK")->click();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(!window.isVisible());
        QCOMPARE(test.Read(QStringLiteral("User"), QStringLiteral("UserName")), name);
        QVERIFY(test.Stored(QStringLiteral("User"), QStringLiteral("UserPWS")));
        QVERIFY(LoginPassword::Matches(password, test.Read(QStringLiteral("User"), QStringLiteral("UserPWS"))));
        QCOMPARE(LoginPassword::IsHash(test.Read(QStringLiteral("User"), QStringLiteral("UserPWS"))),
                 !password.isEmpty());
        QVERIFY(test.context.app.UserName.isEmpty());
    }

    void RegistrationRefusesAnEmptyName()
    {
        TestApp test;
        RegistrationWindow window(test.settings, test.prompter);
        window.show();
        Box(window, "txtPassword")->setText(QStringLiteral("secret"));
        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        Button(window, "cmdOK")->click();
        QVERIFY(window.isVisible());
        const Prompter::Box& box = test.prompter.LastMessage();
        QCOMPARE(box.text, QStringLiteral("所有者名は絶対に必要です！！"));
        QCOMPARE(box.title, QStringLiteral("登録エラー"));
        QCOMPARE(box.icon, Prompter::Icon::Exclamation);
        QCOMPARE(Box(window, "txtPassword")->text(), QStringLiteral("secret"));
        QVERIFY(!test.Stored(QStringLiteral("User"), QStringLiteral("UserName")));
    }

    void ResetAndEscClearBothBoxes_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("ﾘｾｯﾄ") << false;
        QTest::newRow("Esc") << true;
    }
    void ResetAndEscClearBothBoxes()
    {
        QFETCH(bool, escape);
        TestApp test;
        RegistrationWindow window(test.settings, test.prompter);
        window.show();
        Box(window, "txtUserName")->setText(QStringLiteral("名前"));
        Box(window, "txtPassword")->setText(QStringLiteral("pw"));
        if (escape)
            QTest::keyClick(&window, Qt::Key_Escape);
        else
            Button(window, "cmdCancel")->click();
        QVERIFY(window.isVisible());
        QCOMPARE(test.prompter.beeps, 1);
        QVERIFY(Box(window, "txtUserName")->text().isEmpty());
        QVERIFY(Box(window, "txtPassword")->text().isEmpty());
        QVERIFY(!QFile::exists(test.profile.SettingsFile()));
    }

    void ClosingTheRegistrationWindowWritesNothing()
    {
        TestApp test;
        RegistrationWindow window(test.settings, test.prompter);
        window.show();
        Box(window, "txtUserName")->setText(QStringLiteral("名前"));
        QVERIFY(window.close());
        QVERIFY(!test.Stored(QStringLiteral("User"), QStringLiteral("UserName")));
        QVERIFY(test.prompter.shown.empty());
    }

    void LoginWindowOnLoad()
    {
        LoginFixture login(QStringLiteral("Owner"), QStringLiteral("pw"));
        LoginWindow& window = *login.window;
        QCOMPARE(window.windowTitle(), QStringLiteral("所有者確認"));
        QCOMPARE(Box(window, "txtUserName")->text(), QStringLiteral("Owner"));
        QVERIFY(Box(window, "txtPassword")->text().isEmpty());
        QCOMPARE(Button(window, "cmdCancel")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        QVERIFY(!Button(window, "cmdOK")->isDefault());
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("日記帳を開くには、ユーザー名とパスワードが一致しなければなりません。\n"
                                "ユーザー名とパスワードを入力してください。"));
        QCOMPARE(login.test.context.app.UserName, QStringLiteral("Owner"));
        QCOMPARE(login.test.context.app.UserPWS, QStringLiteral("pw"));
    }

    void LoginChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("right") << QStringLiteral("Owner") << QStringLiteral("pw") << QString();
        QTest::newRow("case differs") << QStringLiteral("owner") << QStringLiteral("pw")
                                      << QStringLiteral("そのようなユーザーはいません。\r");
        QTest::newRow("blanks around the name")
            << QStringLiteral("Owner ") << QStringLiteral("pw") << QStringLiteral("そのようなユーザーはいません。\r");
        QTest::newRow("cleared name") << QString() << QStringLiteral("pw")
                                      << QStringLiteral("そのようなユーザーはいません。\r");
        QTest::newRow("wrong password") << QStringLiteral("Owner") << QStringLiteral("pW")
                                        << QStringLiteral("パスワードが正しくありません。もう一度入力してください !");
        QTest::newRow("empty password") << QStringLiteral("Owner") << QString()
                                        << QStringLiteral("パスワードが正しくありません。もう一度入力してください !");
    }
    void LoginChecks()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, message);
        LoginFixture login(QStringLiteral("Owner"), QStringLiteral("pw"));
        LoginWindow& window = *login.window;
        Box(window, "txtUserName")->setText(name);
        Box(window, "txtPassword")->setText(password);
        if (!message.isEmpty())
            login.test.prompter.AnswerMessage(Prompter::Answer::Ok);
        Button(window, "cmdOK")->click();

        QVERIFY(login.test.prompter.AllAnswered());
        QCOMPARE(window.isVisible(), !message.isEmpty());
        QVERIFY(!login.test.context.Ended());
        if (message.isEmpty())
            return;
        const Prompter::Box& box = login.test.prompter.LastMessage();
        QCOMPARE(box.text, message);
        const bool wrongUser = message.startsWith(QStringLiteral("そのような"));
        QCOMPARE(box.title, wrongUser ? QStringLiteral("警告") : QStringLiteral("確認"));
        QCOMPARE(box.icon, wrongUser ? Prompter::Icon::Critical : Prompter::Icon::Exclamation);
        QCOMPARE(Box(window, "txtUserName")->text(), name);
        QCOMPARE(Box(window, "txtPassword")->text(), password);
        if (!wrongUser)
            QCOMPARE(Box(window, "txtPassword")->selectedText(), password);
    }

    void EmptyStoredPasswordMatchesAnEmptyBox()
    {
        LoginFixture login(QStringLiteral("Owner"), QString());
        Button(*login.window, "cmdOK")->click();
        QCOMPARE(login.window->result(), int(QDialog::Accepted));
    }

    // Every way out of the login but the right password ends the program.
    void GivingUpEndsTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("ｷｬﾝｾﾙ") << QStringLiteral("button");
        QTest::newRow("Esc") << QStringLiteral("escape");
        QTest::newRow("frame") << QStringLiteral("close");
    }
    void GivingUpEndsTheProgram()
    {
        QFETCH(QString, how);
        LoginFixture login(QStringLiteral("Owner"), QStringLiteral("pw"));
        LoginWindow& window = *login.window;
        login.test.prompter.AnswerMessage(Prompter::Answer::Ok);
        if (how == QStringLiteral("button"))
            Button(window, "cmdCancel")->click();
        else if (how == QStringLiteral("escape"))
            QTest::keyClick(Box(window, "txtPassword"), Qt::Key_Escape);
        else
            window.close();
        QVERIFY(login.test.context.Ended());
        QVERIFY(!window.isVisible());
        const Prompter::Box& box = login.test.prompter.LastMessage();
        QCOMPARE(box.text, QStringLiteral("ユーザーを確認できなかったので終了します。"));
        QCOMPARE(box.title, QStringLiteral("警告"));
        QCOMPARE(box.icon, Prompter::Icon::Critical);
        QCOMPARE(login.test.prompter.shown.size(), size_t(1));
    }

    // The name is filled in, yet the window opens on it: Enter or Tab then
    // goes on to the password.
    // The owner is told that the name holds for this run only.
    void RegistrationOnAnUnwritableStore()
    {
        TestApp test;
        QVERIFY(QDir().mkpath(QFileInfo(test.profile.SettingsFile()).absolutePath()));
        const WriteProtection protection(QFileInfo(test.profile.SettingsFile()).absolutePath());
        if (!protection.IsOn())
            QSKIP(qPrintable(WriteProtection::WhyNot()));
        RegistrationWindow window(test.settings, test.prompter);
        window.show();
        Box(window, "txtUserName")->setText(QStringLiteral("Owner"));
        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        Button(window, "cmdOK")->click();
        QCOMPARE(test.prompter.LastMessage().title, QStringLiteral("設定の保存"));
        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(test.settings.ReadSetting(QStringLiteral("User"), QStringLiteral("UserName")),
                 QStringLiteral("Owner"));
    }

    void LoginOpensOnTheName()
    {
        LoginFixture login(QStringLiteral("Owner"), QStringLiteral("pw"));
        QApplication::setActiveWindow(login.window.get());
        QCOMPARE(QApplication::focusWidget(), Box(*login.window, "txtUserName"));
    }

    void EnterMovesToTheNextControl()
    {
        LoginFixture login(QStringLiteral("Owner"), QStringLiteral("pw"));
        LoginWindow& window = *login.window;
        QApplication::setActiveWindow(&window);
        Box(window, "txtUserName")->setFocus();
        QTest::keyClick(Box(window, "txtUserName"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), Box(window, "txtPassword"));
        QTest::keyClick(Box(window, "txtPassword"), Qt::Key_Enter, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), Button(window, "cmdOK"));
        QVERIFY(window.isVisible());
        QVERIFY(login.test.prompter.shown.empty());
    }

    // Enter on a focused button presses it, as Space does.
    void EnterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("ended");
        QTest::newRow("OK") << QStringLiteral("cmdOK") << false;
        QTest::newRow("cancel") << QStringLiteral("cmdCancel") << true;
    }
    void EnterPressesTheFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(bool, ended);
        LoginFixture login(QStringLiteral("Owner"), QStringLiteral("pw"));
        LoginWindow& window = *login.window;
        QApplication::setActiveWindow(&window);
        Box(window, "txtUserName")->setText(QStringLiteral("Owner"));
        Box(window, "txtPassword")->setText(QStringLiteral("pw"));
        if (ended)
            login.test.prompter.AnswerMessage(Prompter::Answer::Ok);
        auto* focused = window.findChild<QPushButton*>(button);
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_Return);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected) + int(!ended));
        QCOMPARE(login.test.context.Ended(), ended);
    }
};

SORAFUMI_TEST(OwnerWindowsTest)
#include "OwnerWindowsTest.moc"
