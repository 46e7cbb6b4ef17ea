#include "AuxWindows.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/settings/ProgramVersion.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace AuxWindows;

namespace {

QImage Shown(const AboutBox& window)
{
    return window.findChild<QLabel*>(QStringLiteral("UserImage"))->pixmap().toImage();
}

QImage BuiltInPicture()
{
    return QImage(QStringLiteral(":/images/user.png")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A stand-in for a system-information program: it notes under which name it
// was started. Only shell built-ins, as the PATH holds nothing else.
void WriteProgram(const QString& path, const QString& marker, const QString& interpreter = QStringLiteral("/bin/sh"))
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QFile::encodeName(QStringLiteral("#!") + interpreter + QStringLiteral("\nprintf '%s' \"$0\" > '") +
                                 marker + QStringLiteral("'\n")));
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup |
                                QFile::ExeOther));
}

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void Texts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << QStringLiteral("lblTitle") << QStringLiteral("日記帳Sorafumi Kasumire (SR6)");
        QTest::newRow("version") << QStringLiteral("lblVersion")
                                 << QStringLiteral("バージョン： ") + ProgramVersion::Text();
        QTest::newRow("description")
            << QStringLiteral("lblDescription")
            << QStringLiteral(
                   "「日記帳Sorafumi」は、Ｗｉｎｄｏｗｓ上で日記を簡単に付けるためのプログラムです。"
                   "このソフトはフリーソフトなので、どんどん普及を促進してください。これからも愛用してくださいね。");
        QTest::newRow("disclaimer") << QStringLiteral("lblDisclaimer")
                                    << QStringLiteral(
                                           "【警告】\n"
                                           "商用目的（付録など）で利用する場合は前もって作者に連絡を下さい。\n"
                                           "sorafumi@example.jp\n"
                                           "(返事がない場合はこちらへ) support@example.jp\n"
                                           "https://sorafumi.example.jp/\n"
                                           "\n\n\n");
        QTest::newRow("OK") << QStringLiteral("cmdOK") << QStringLiteral("OK");
        QTest::newRow("system information") << QStringLiteral("cmdSysInfo") << QStringLiteral("ｼｽﾃﾑ情報(&S)...");
    }
    void Texts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        AppSettings app;
        ScriptedPrompter prompter;
        const AboutBox window(app, prompter);

        QCOMPARE(window.windowTitle(), QStringLiteral("Kasumire\u3000バージョン情報"));
        QString shown;
        if (auto* label = window.findChild<QLabel*>(name))
            shown = label->text();
        else if (auto* box = window.findChild<QPlainTextEdit*>(name))
            shown = box->toPlainText();
        else if (auto* button = window.findChild<QPushButton*>(name))
            shown = button->text();
        else
            QFAIL(qPrintable(name));
        QCOMPARE(shown, text);
        QCOMPARE(prompter.shown.size(), size_t(0));
    }

    // The owner's picture: none chosen clears the place, one that cannot be
    // loaded leaves the built-in picture, a real one is fitted into it.
    void UserPicture_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none chosen") << QString() << QStringLiteral("nothing");
        QTest::newRow("deleted file") << QStringLiteral("gone.png") << QStringLiteral("built-in");
        QTest::newRow("not a picture") << QStringLiteral("notes.png") << QStringLiteral("built-in");
        QTest::newRow("a folder") << QStringLiteral("folder") << QStringLiteral("built-in");
        QTest::newRow("wide picture") << QStringLiteral("wide.png") << QStringLiteral("fitted");
        QTest::newRow("the background GIF") << QStringLiteral("BackMap.gif") << QStringLiteral("gif");
    }
    void UserPicture()
    {
        QFETCH(QString, picture);
        QFETCH(QString, shown);
        TempProfile profile;
        QImage wide(300, 200, QImage::Format_RGB32);
        wide.fill(Qt::red);
        QVERIFY(wide.save(profile.ProgramFile(QStringLiteral("wide.png"))));
        profile.WriteProgramFile(QStringLiteral("notes.png"), "a note, not a picture\n");
        QVERIFY(QDir().mkpath(profile.ProgramFile(QStringLiteral("folder"))));
        QVERIFY(profile.CopyDataFile(QStringLiteral("BackMap.gif")));
        AppSettings app;
        app.VersionPicture = picture.isEmpty() ? QString() : profile.ProgramFile(picture);
        ScriptedPrompter prompter;

        const AboutBox window(app, prompter);

        const QImage image = Shown(window);
        if (shown == QStringLiteral("nothing")) {
            QVERIFY(image.isNull());
        } else if (shown == QStringLiteral("built-in")) {
            QVERIFY(!image.isNull());
            QCOMPARE(image.convertToFormat(QImage::Format_ARGB32_Premultiplied), BuiltInPicture());
        } else if (shown == QStringLiteral("fitted")) {
            QCOMPARE(image.size(), QSize(150, 100));
            QCOMPARE(image.pixelColor(75, 50), QColor(Qt::red));
        } else {
            const QImage gif(profile.ProgramFile(QStringLiteral("BackMap.gif")));
            QVERIFY(!gif.isNull());
            QCOMPARE(image.size(), gif.size().scaled(150, 150, Qt::KeepAspectRatio));
            QVERIFY(image.convertToFormat(QImage::Format_ARGB32_Premultiplied) != BuiltInPicture());
        }
        QCOMPARE(prompter.shown.size(), size_t(0));
    }

    // The picture chosen in the settings reaches the box opened from the menu.
    void PictureFromTheSettings()
    {
        TestApp test;
        test.RegisterOwner();
        QImage green(40, 40, QImage::Format_RGB32);
        green.fill(Qt::green);
        QVERIFY(green.save(test.profile.ProgramFile(QStringLiteral("me.png"))));
        test.settings.WriteSetting(QStringLiteral("Options"), QStringLiteral("VersionPicture"),
                                   test.profile.ProgramFile(QStringLiteral("me.png")));
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QString window;
        QImage image;
        test.prompter.AnswerModal([&](QDialog& dialog) {
            window = dialog.objectName();
            image = dialog.findChild<QLabel*>(QStringLiteral("UserImage"))->pixmap().toImage();
            dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            return dialog.result();
        });

        form->findChild<QAction*>(QStringLiteral("menuHelp_Ver"))->trigger();

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(window, QStringLiteral("frmAbout"));
        QCOMPARE(image.size(), QSize(150, 150));
        QCOMPARE(image.pixelColor(75, 75), QColor(Qt::green));
    }

    // The PATH decides which system-information program there is; none, or
    // one that does not start, gives the one box.
    void SystemInformation_data()
    {
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("interpreter");
        QTest::addColumn<QString>("started");
        QTest::newRow("none on the PATH") << QStringList() << QStringLiteral("/bin/sh") << QString();
        QTest::newRow("hardinfo") << QStringList{QStringLiteral("hardinfo")} << QStringLiteral("/bin/sh")
                                  << QStringLiteral("hardinfo");
        QTest::newRow("gnome-system-monitor") << QStringList{QStringLiteral("gnome-system-monitor")}
                                              << QStringLiteral("/bin/sh") << QStringLiteral("gnome-system-monitor");
        QTest::newRow("xfce4-taskmanager") << QStringList{QStringLiteral("xfce4-taskmanager")}
                                           << QStringLiteral("/bin/sh") << QStringLiteral("xfce4-taskmanager");
        QTest::newRow("an unrelated program")
            << QStringList{QStringLiteral("sysinfo-viewer")} << QStringLiteral("/bin/sh") << QString();
        QTest::newRow("found but does not start")
            << QStringList{QStringLiteral("hardinfo")} << QStringLiteral("/nonexistent/shell") << QString();
    }
    void SystemInformation()
    {
        QFETCH(QStringList, programs);
        QFETCH(QString, interpreter);
        QFETCH(QString, started);
        TempProfile profile;
        const QString bin = profile.Root() + QStringLiteral("/bin");
        QVERIFY(QDir().mkpath(bin));
        const QString marker = profile.Root() + QStringLiteral("/started");
        for (const QString& program : programs)
            WriteProgram(bin + u'/' + program, marker, interpreter);
        AppSettings app;
        ScriptedPrompter prompter;
        if (started.isEmpty())
            prompter.AnswerMessage(Prompter::Answer::Ok);
        AboutBox window(app, prompter);

        {
            const EnvironmentGuard path("PATH", bin);
            window.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        }

        QVERIFY(prompter.AllAnswered());
        if (started.isEmpty()) {
            QCOMPARE(prompter.shown.size(), size_t(1));
            const Prompter::Box& box = prompter.LastMessage();
            QCOMPARE(box.text, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
            QCOMPARE(box.title, QStringLiteral("日記帳Sorafumi"));
            QCOMPARE(box.buttons, Prompter::Buttons::Ok);
            QCOMPARE(box.icon, Prompter::Icon::None);
            QTest::qWait(200);
            QVERIFY(!QFile::exists(marker));
            return;
        }
        QCOMPARE(prompter.shown.size(), size_t(0));
        const auto note = [&marker] {
            QFile file(marker);
            return file.open(QIODevice::ReadOnly) ? QFile::decodeName(file.readAll()) : QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(note(), bin + u'/' + started, 20000);
    }
};

SORAFUMI_TEST(AboutTest)
#include "AboutTest.moc"
