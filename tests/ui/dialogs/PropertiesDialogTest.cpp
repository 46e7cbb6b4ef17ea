#include "ui/dialogs/PropertiesDialog.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "WriteProtection.h"
#include "core/settings/LoginPassword.h"
#include "ui/platform/ColourTheme.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace {

const QString User = QStringLiteral("User");
const QString Options = QStringLiteral("Options");

template <typename Control> Control* Find(QDialog& dialog, const char* name, int index = -1)
{
    for (Control* control : dialog.findChildren<Control*>(QString::fromLatin1(name)))
        if (index < 0 || control->property("index").toInt() == index)
            return control;
    return nullptr;
}

struct OptionsFixture
{
    OptionsFixture() { test.context.app.ReadOwnerAndColours(test.settings); }
    std::unique_ptr<PropertiesDialog> Open()
    {
        auto dialog =
            std::make_unique<PropertiesDialog>(test.settings, test.context.app, test.prompter, test.context.folder,
                                               test.launcher, [this] { ++maintenanceStarted; });
        dialog->show();
        return dialog;
    }
    TestApp test;
    int maintenanceStarted = 0;
};

} // namespace

class PropertiesDialogTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void EmptyStore()
    {
        OptionsFixture fixture;
        const auto dialog = fixture.Open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("プロパティー"));
        auto* tabs = Find<QTabWidget>(*dialog, "SSTab1");
        QCOMPARE(tabs->count(), 4);
        QCOMPARE(tabs->tabText(0), QStringLiteral("スタイル設定"));
        QCOMPARE(tabs->tabText(3), QStringLiteral("システム情報"));
        QVERIFY(Find<QCheckBox>(*dialog, "Check1")->isChecked());
        QVERIFY(Find<QLineEdit>(*dialog, "Text1", 1)->text().isEmpty());
        QVERIFY(Find<QLineEdit>(*dialog, "Text1", 1)->isEnabled());
        QVERIFY(!Find<QLineEdit>(*dialog, "Text1", 0)->isEnabled());
        QVERIFY(!Find<QCheckBox>(*dialog, "Check2", 0)->isChecked());
        QCOMPARE(Find<QLineEdit>(*dialog, "Text2")->text(), QStringLiteral("BackMap.gif"));
        QVERIFY(Find<QLineEdit>(*dialog, "verPicPathText")->text().isEmpty());
        QCOMPARE(Find<QLineEdit>(*dialog, "Text3", 0)->text(), fixture.test.profile.ProgramFolder() + u'/');
        QCOMPARE(
            Find<QLabel>(*dialog, "Label2", 0)->text(),
            QStringLiteral(
                "ここではプログラムの細かい部分も設定する事ができます。\n何となく気分を変えるために用意した設定です。\n"
                "(日記には直接関係ない設定です)"));
        QCOMPARE(Find<QLineEdit>(*dialog, "TestText")->text(), QStringLiteral("これが現在の入力中の設定です。"));
    }

    void StoredSwitchesOnOpen_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("background");
        QTest::addColumn<bool>("loginTicked");
        QTest::addColumn<bool>("backgroundTicked");
        QTest::newRow("login off") << QStringLiteral("0") << QStringLiteral("0") << false << false;
        QTest::newRow("background off") << QStringLiteral("1") << QStringLiteral("1") << true << true;
        QTest::newRow("not integers keep the first state")
            << QStringLiteral("on") << QStringLiteral("x") << true << false;
    }
    void StoredSwitchesOnOpen()
    {
        QFETCH(QString, login);
        QFETCH(QString, background);
        QFETCH(bool, loginTicked);
        QFETCH(bool, backgroundTicked);
        OptionsFixture fixture;
        fixture.test.settings.WriteSetting(User, QStringLiteral("LoginOnOff"), login);
        fixture.test.settings.WriteSetting(User, QStringLiteral("BackMapOoOff"), background);
        const auto dialog = fixture.Open();
        QCOMPARE(Find<QCheckBox>(*dialog, "Check1")->isChecked(), loginTicked);
        QCOMPARE(Find<QLineEdit>(*dialog, "Text1", 1)->isEnabled(), loginTicked);
        QCOMPARE(Find<QLabel>(*dialog, "Label1", 1)->isEnabled(), loginTicked);
        QCOMPARE(Find<QCheckBox>(*dialog, "Check2", 0)->isChecked(), backgroundTicked);
        QCOMPARE(Find<QLineEdit>(*dialog, "Text2")->isEnabled(), !backgroundTicked);
        // On opening the caption stays enabled whatever the box says.
        QVERIFY(Find<QLabel>(*dialog, "Label2", 1)->isEnabled());
    }

    void CheckBoxesDriveTheirBoxes()
    {
        OptionsFixture fixture;
        fixture.test.settings.WriteSetting(User, QStringLiteral("LoginOnOff"), QStringLiteral("0"));
        fixture.test.settings.WriteSetting(User, QStringLiteral("UserPWS"), QStringLiteral("pw"));
        const auto dialog = fixture.Open();
        Find<QCheckBox>(*dialog, "Check1")->click();
        QVERIFY(Find<QLineEdit>(*dialog, "Text1", 1)->isEnabled());
        QVERIFY(Find<QLabel>(*dialog, "Label1", 1)->isEnabled());
        // A kept password is never shown.
        QVERIFY(Find<QLineEdit>(*dialog, "Text1", 1)->text().isEmpty());
        Find<QCheckBox>(*dialog, "Check2", 0)->click();
        QVERIFY(!Find<QLineEdit>(*dialog, "Text2")->isEnabled());
        QVERIFY(!Find<QLabel>(*dialog, "Label2", 1)->isEnabled());
        Find<QPushButton>(*dialog, "cmdOK")->click();
        QCOMPARE(fixture.test.Read(User, QStringLiteral("LoginOnOff")), QStringLiteral("1"));
        QCOMPARE(fixture.test.Read(User, QStringLiteral("BackMapOoOff")), QStringLiteral("1"));
    }

    void ColoursOnOkAndCancel_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void ColoursOnOkAndCancel()
    {
        QFETCH(bool, ok);
        OptionsFixture fixture;
        const auto dialog = fixture.Open();
        fixture.test.prompter.AnswerColour(0xFF0000); // red, as the picker gives it
        fixture.test.prompter.AnswerColour(0x000000);
        Find<QPushButton>(*dialog, "ColorCom", 0)->click();
        Find<QPushButton>(*dialog, "ColorCom", 1)->click();
        const QPalette sample = Find<QLineEdit>(*dialog, "TestText")->palette();
        QCOMPARE(sample.color(QPalette::Text), QColor(Qt::red));
        QCOMPARE(sample.color(QPalette::Base), QColor(Qt::black));
        Find<QPushButton>(*dialog, ok ? "cmdOK" : "cmdCancel")->click();

        QVERIFY(!dialog->isVisible());
        if (ok) {
            QCOMPARE(fixture.test.Read(Options, QStringLiteral("ActiveFontColor")), QStringLiteral("255"));
            QCOMPARE(fixture.test.Read(Options, QStringLiteral("ActiveCtrlColor")), QStringLiteral("0"));
            QCOMPARE(fixture.test.context.app.ActiveFontColor, 255);
            QCOMPARE(fixture.test.context.app.ActiveCtrlColor, 0);
        } else {
            QVERIFY(!QFile::exists(fixture.test.profile.SettingsFile()));
            QCOMPARE(fixture.test.context.app.ActiveFontColor, AppSettings::SystemWindowText);
        }
    }

    void CancelledPickersChangeNothing()
    {
        OptionsFixture fixture;
        const auto dialog = fixture.Open();
        fixture.test.prompter.AnswerColour(std::nullopt);
        fixture.test.prompter.AnswerFile(std::nullopt);
        Find<QPushButton>(*dialog, "ColorCom", 0)->click();
        Find<QPushButton>(*dialog, "ComPicOpen")->click();
        QCOMPARE(Find<QLineEdit>(*dialog, "Text2")->text(), QStringLiteral("BackMap.gif"));
        Find<QPushButton>(*dialog, "cmdOK")->click();
        // The desktop colours stay desktop colours.
        QCOMPARE(fixture.test.Read(Options, QStringLiteral("ActiveFontColor")), QStringLiteral("-2147483640"));
        QCOMPARE(fixture.test.Read(Options, QStringLiteral("ActiveCtrlColor")), QStringLiteral("-2147483643"));
    }

    void OkWritesEveryValue()
    {
        OptionsFixture fixture;
        fixture.test.settings.WriteSetting(User, QStringLiteral("UserName"), QStringLiteral("持ち主"));
        const auto dialog = fixture.Open();
        QCOMPARE(Find<QLineEdit>(*dialog, "Text1", 0)->text(), QStringLiteral("持ち主"));
        Find<QCheckBox>(*dialog, "Check1")->click(); // login off
        Find<QLineEdit>(*dialog, "Text1", 1)->setText(QStringLiteral("新しい合言葉"));
        Find<QLineEdit>(*dialog, "Text2")->setText(QStringLiteral("/pictures/sky.gif"));
        Find<QLineEdit>(*dialog, "verPicPathText")->setText(QStringLiteral("me.png"));
        Find<QPushButton>(*dialog, "cmdOK")->click();

        QVERIFY(
            LoginPassword::Matches(QStringLiteral("新しい合言葉"), fixture.test.Read(User, QStringLiteral("UserPWS"))));
        QCOMPARE(fixture.test.Read(User, QStringLiteral("LoginOnOff")), QStringLiteral("0"));
        QCOMPARE(fixture.test.Read(User, QStringLiteral("BackMapOoOff")), QStringLiteral("0"));
        QCOMPARE(fixture.test.Read(User, QStringLiteral("BackMapPath")), QStringLiteral("/pictures/sky.gif"));
        QCOMPARE(fixture.test.Read(Options, QStringLiteral("VersionPicture")), QStringLiteral("me.png"));
        QCOMPARE(fixture.test.context.app.VersionPicture, QStringLiteral("me.png"));
        QCOMPARE(fixture.test.Read(User, QStringLiteral("UserName")), QStringLiteral("持ち主"));
    }

    // The user is told once that the change holds only until the program
    // ends; the dialog closes and this run goes on with what was chosen.
    // The backups folder: opened in the file manager (made first when it is
    // not there yet), a file manager that does not start is said, and OK
    // keeps the folder and the generations for the next copy.
    void BackupFolderOpensAndIsKept()
    {
        OptionsFixture fixture;
        const auto dialog = fixture.Open();
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("txtBackupFolder"));
        QCOMPARE(box->text(), QString());
        const QString folder = fixture.test.profile.Root() + QStringLiteral("/控え");
        box->setText(folder);
        fixture.test.launcher.succeeds = true;
        dialog->findChild<QPushButton*>(QStringLiteral("cmdOpenBackupFolder"))->click();
        QCOMPARE(fixture.test.launcher.opened, QStringList{folder});
        QVERIFY(QFileInfo(folder).isDir());
        fixture.test.launcher.succeeds = false;
        fixture.test.prompter.AnswerMessage(Prompter::Answer::Ok);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdOpenBackupFolder"))->click();
        QCOMPARE(fixture.test.prompter.LastMessage().text,
                 QStringLiteral("バックアップの保存先を開けませんでした。\r") + folder);

        auto* daily = dialog->findChild<QSpinBox*>(QStringLiteral("txtBackupDaily"));
        QCOMPARE(daily->value(), 7);
        daily->setValue(14);
        dialog->findChild<QSpinBox*>(QStringLiteral("txtBackupWeekly"))->setValue(0);

        dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        QCOMPARE(fixture.test.Read(QStringLiteral("Tools"), QStringLiteral("BackupFolder")), folder);
        QCOMPARE(fixture.test.context.app.BackupFolder, folder);
        QCOMPARE(fixture.test.Read(QStringLiteral("Tools"), QStringLiteral("BackupDaily")), QStringLiteral("14"));
        QCOMPARE(fixture.test.Read(QStringLiteral("Tools"), QStringLiteral("BackupWeekly")), QStringLiteral("0"));
        QCOMPARE(fixture.test.context.app.BackupDaily, 14);
        QCOMPARE(fixture.test.context.app.BackupWeekly, 0);
    }

    void OkOnAnUnwritableStore()
    {
        OptionsFixture fixture;
        TestApp& test = fixture.test;
        test.settings.WriteSetting(User, QStringLiteral("UserPWS"), QStringLiteral("oldpass"));
        const WriteProtection protection(QFileInfo(test.profile.SettingsFile()).absolutePath());
        if (!protection.IsOn())
            QSKIP(qPrintable(WriteProtection::WhyNot()));
        const auto dialog = fixture.Open();
        Find<QLineEdit>(*dialog, "Text1", 1)->setText(QStringLiteral("newpass"));
        Find<QLineEdit>(*dialog, "verPicPathText")->setText(QStringLiteral("me.png"));
        test.prompter.AnswerMessage(Prompter::Answer::Ok);

        Find<QPushButton>(*dialog, "cmdOK")->click();

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(1));
        const Prompter::Box& box = test.prompter.LastMessage();
        QVERIFY2(box.text.contains(test.profile.SettingsFile()), qPrintable(box.text));
        QCOMPARE(box.title, QStringLiteral("設定の保存"));
        QCOMPARE(box.icon, Prompter::Icon::Exclamation);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(test.context.app.VersionPicture, QStringLiteral("me.png"));
        QVERIFY(LoginPassword::Matches(QStringLiteral("newpass"),
                                       test.settings.ReadSetting(User, QStringLiteral("UserPWS"))));
        QFile file(test.profile.SettingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("oldpass"));
    }

    void BrowsingForTheBackground()
    {
        OptionsFixture fixture;
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QString good = fixture.test.profile.ProgramFile(QStringLiteral("sky.png"));
        QVERIFY(picture.save(good));
        const QString bad = fixture.test.profile.ProgramFile(QStringLiteral("notes.txt"));
        fixture.test.profile.WriteProgramFile(QStringLiteral("notes.txt"), "not a picture");
        const auto dialog = fixture.Open();

        fixture.test.prompter.AnswerFile(good);
        Find<QPushButton>(*dialog, "ComPicOpen")->click();
        const ScriptedPrompter::Shown& shown = fixture.test.prompter.shown.back();
        QCOMPARE(shown.box.text, PropertiesDialog::PictureFilters().join(QStringLiteral(";;")));
        QCOMPARE(shown.box.title, QStringLiteral("2"));
        QCOMPARE(Find<QLineEdit>(*dialog, "Text2")->text(), good);
        QVERIFY(!Find<QLabel>(*dialog, "Image1")->pixmap().isNull());

        fixture.test.prompter.AnswerFile(bad);
        Find<QPushButton>(*dialog, "ComPicOpen")->click();
        QCOMPARE(Find<QLineEdit>(*dialog, "Text2")->text(), QStringLiteral("backmap.gif"));
        QCOMPARE(Find<QLabel>(*dialog, "Image1")->pixmap().size(), QSize(20, 10));

        // The about-box browse keeps the filter and checks nothing.
        fixture.test.prompter.AnswerFile(bad);
        Find<QPushButton>(*dialog, "VerPicCom")->click();
        QCOMPARE(fixture.test.prompter.shown.back().box.text,
                 PropertiesDialog::PictureFilters().join(QStringLiteral(";;")));
        QCOMPARE(Find<QLineEdit>(*dialog, "verPicPathText")->text(), bad);
    }

    void FilterText()
    {
        QCOMPARE(
            PropertiesDialog::PictureFilters().join(QStringLiteral(";;")),
            QStringLiteral("すべてのファイル (*);;すべての画像ファイル (*.ICO *.CUR *.PCX *.BMP *.DIB *.RLE *.GIF "
                           "*.JPG *.JPE *.JPEG);;ビットマップファイル (*.BMP *.DIB *.PCX);;ＪＰＥＧファイル (*.JPG "
                           "*.JPE *.JPEG);;ＧＩＦファイル (*.GIF);;アイコンファイル (*.ICO *.CUR)"));
    }

    void CtrlTabCyclesTheTabs()
    {
        OptionsFixture fixture;
        const auto dialog = fixture.Open();
        auto* tabs = Find<QTabWidget>(*dialog, "SSTab1");
        tabs->setCurrentIndex(3);
        QTest::keyClick(Find<QLineEdit>(*dialog, "Text3", 0), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 0);
        QTest::keyClick(Find<QLineEdit>(*dialog, "Text2"), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 1);
    }

    void MaintenanceClosesWithoutStoring()
    {
        OptionsFixture fixture;
        const auto dialog = fixture.Open();
        Find<QLineEdit>(*dialog, "Text1", 1)->setText(QStringLiteral("changed"));
        Find<QPushButton>(*dialog, "MentCommand")->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(fixture.maintenanceStarted, 1);
        QVERIFY(!QFile::exists(fixture.test.profile.SettingsFile()));
    }

    void ColourValues_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("red") << 255 << QColor(255, 0, 0);
        QTest::newRow("blue") << 0xFF0000 << QColor(0, 0, 255);
        QTest::newRow("mixed") << 0x102030 << QColor(0x30, 0x20, 0x10);
        QTest::newRow("window background")
            << AppSettings::SystemWindowBackground << QApplication::palette().color(QPalette::Base);
        QTest::newRow("window text") << AppSettings::SystemWindowText << QApplication::palette().color(QPalette::Text);
    }
    void ColourValues()
    {
        QFETCH(qint32, value);
        QFETCH(QColor, colour);
        QCOMPARE(ColourTheme::ToColor(value), colour);
        if (value >= 0)
            QCOMPARE(ColourTheme::FromColor(colour), value);
    }
};

SORAFUMI_TEST(PropertiesDialogTest)
#include "PropertiesDialogTest.moc"
