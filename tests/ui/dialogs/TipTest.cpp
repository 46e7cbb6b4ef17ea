#include "TestApp.h"
#include "TestRegistry.h"
#include "core/platform/Cp932.h"
#include "core/platform/ProgramFolder.h"
#include "core/tips/TipList.h"
#include "ui/dialogs/TipWindow.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

namespace {

const QString Options = QStringLiteral("Options");
const QString TipSwitch = QStringLiteral("Show Tips at Startup");

// "日記はF5キーで保存～" and "出費は￥で始まる－" in code page 932, CR LF after each.
const QByteArray JapaneseTips = QByteArray::fromHex("93fa8b4c82cd4635834c815b82c595db91b68160"
                                                    "0d0a"
                                                    "8f6f94ef82cd818f82c58e6e82dc82e9817c"
                                                    "0d0a");

QString TipText(const TipWindow& window)
{
    return window.findChild<QLabel*>(QStringLiteral("lblTipText"))->text();
}

QCheckBox* TipSwitchBox(const QDialog& window)
{
    return window.findChild<QCheckBox*>(QStringLiteral("chkLoadTipsAtStartup"));
}

void PressNext(const QDialog& window)
{
    window.findChild<QPushButton*>(QStringLiteral("cmdNextTip"))->click();
}

// What the settings file holds, read afresh as the next start would.
QString StoredSwitch(const TempProfile& profile)
{
    const QSettings file(profile.SettingsFile(), QSettings::IniFormat);
    return file.value(Options + u'/' + TipSwitch, QStringLiteral("(none)")).toString();
}

// One tip window at a time over one program folder, its settings and the
// tips kept for the run.
struct TipRun
{
    TipRun() : settings(profile.SettingsFile()), folder(profile.ProgramFolder()) {}
    void WriteTips(const QByteArray& bytes) const { profile.WriteProgramFile(QStringLiteral("TIPOFDAY.TXT"), bytes); }

    TempProfile profile;
    SettingsStore settings;
    ProgramFolder folder;
    TipList tips;
};

} // namespace

class TipTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void WindowTexts()
    {
        TipRun run;
        TipWindow window(run.tips, run.settings, run.folder);
        QCOMPARE(window.windowTitle(), QStringLiteral("ﾜﾝﾎﾟｲﾝﾄ"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("便利な使い方..."));
        auto* ok = window.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("cmdNextTip"))->text(), QStringLiteral("次を表示(&N)"));
        QCOMPARE(TipSwitchBox(window)->text(), QStringLiteral("起動時にﾜﾝﾎﾟｲﾝﾄを表示する(&S)"));
    }

    // The tip shown at the opening, then after each press of the next button.
    void TipOrder_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("shown");
        const QString a = QStringLiteral("A"), b = QStringLiteral("B"), c = QStringLiteral("C");
        QTest::newRow("three tips") << QByteArray("A\r\nB\r\nC\r\n") << QStringList{a, b, c, a, b};
        QTest::newRow("no line break at the end") << QByteArray("A\r\nB\r\nC") << QStringList{a, b, c, a};
        QTest::newRow("empty second line") << QByteArray("A\r\n\r\nC\r\n") << QStringList{a, QString(), c, a};
        QTest::newRow("empty last line") << QByteArray("A\r\nB\r\n\r\n") << QStringList{a, b, QString(), a};
        QTest::newRow("one tip") << QByteArray("A\r\n") << QStringList{a, a, a};
        QTest::newRow("empty file") << QByteArray() << QStringList{QString(), QString()};
        QTest::newRow("line feeds only") << QByteArray("A\nB\nC\n") << QStringList{a, b, c, a};
        QTest::newRow("spaces kept") << QByteArray(" A \r\n\tB\r\n")
                                     << QStringList{QStringLiteral(" A "), QStringLiteral("\tB"),
                                                    QStringLiteral(" A ")};
        const QString first = QStringLiteral("日記はF5キーで保存\uFF5E");
        const QString second = QStringLiteral("出費は\uFFE5で始まる\uFF0D");
        QTest::newRow("Japanese") << JapaneseTips << QStringList{first, second, first};
    }
    void TipOrder()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, shown);
        TipRun run;
        run.WriteTips(file);
        TipWindow window(run.tips, run.settings, run.folder);

        QStringList seen{TipText(window)};
        for (qsizetype i = 1; i < shown.size(); ++i) {
            PressNext(window);
            seen << TipText(window);
        }
        QCOMPARE(seen, shown);
    }

    // The tips installed beside the program: Japanese throughout, read
    // without a broken character, at least twenty different ones.
    void InstalledTipsReadWell()
    {
        TipRun run;
        QVERIFY(run.profile.CopyDataFile(QStringLiteral("TIPOFDAY.TXT")));
        TipWindow window(run.tips, run.settings, run.folder);

        QStringList seen;
        do {
            seen << TipText(window);
            PressNext(window);
        } while (TipText(window) != seen.front() && seen.size() < 1000);
        QVERIFY(seen.size() >= 20);
        for (const QString& tip : seen) {
            QVERIFY2(!tip.trimmed().isEmpty(), qPrintable(QString::number(seen.indexOf(tip))));
            QVERIFY2(!tip.contains(QChar::ReplacementCharacter), qPrintable(tip));
            QVERIFY2(!tip.contains(u'\r') && !tip.contains(u'\n'), qPrintable(tip));
            QVERIFY2(tip.contains(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]"))),
                     qPrintable(tip));
        }
    }

    // The tips and the one shown last outlive the window: the next opening in
    // the same run goes on after it.
    void ReopeningGoesOn_data()
    {
        QTest::addColumn<int>("pressesBeforeClosing");
        QTest::addColumn<QStringList>("shownAfterReopening");
        QTest::newRow("closed on A") << 0 << QStringList{QStringLiteral("B"), QStringLiteral("C")};
        QTest::newRow("closed on B") << 1 << QStringList{QStringLiteral("C"), QStringLiteral("A")};
        QTest::newRow("closed on C") << 2 << QStringList{QStringLiteral("A"), QStringLiteral("B")};
        QTest::newRow("closed on A again") << 3 << QStringList{QStringLiteral("B"), QStringLiteral("C")};
    }
    void ReopeningGoesOn()
    {
        QFETCH(int, pressesBeforeClosing);
        QFETCH(QStringList, shownAfterReopening);
        TipRun run;
        run.WriteTips("A\r\nB\r\nC\r\n");
        {
            TipWindow window(run.tips, run.settings, run.folder);
            QCOMPARE(TipText(window), QStringLiteral("A"));
            for (int i = 0; i < pressesBeforeClosing; ++i)
                PressNext(window);
            window.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            QCOMPARE(window.result(), int(QDialog::Accepted));
        }

        TipWindow window(run.tips, run.settings, run.folder);
        QCOMPARE(TipText(window), shownAfterReopening.at(0));
        PressNext(window);
        QCOMPARE(TipText(window), shownAfterReopening.at(1));
    }

    // Without the file the window says how to make one; the next button
    // changes nothing and the switch is on as at every opening.
    void MissingFile_data()
    {
        QTest::addColumn<bool>("folderOfThatName");
        QTest::newRow("no file") << false;
        QTest::newRow("a folder of that name") << true;
    }
    void MissingFile()
    {
        QFETCH(bool, folderOfThatName);
        TipRun run;
        if (folderOfThatName)
            QVERIFY(QDir().mkpath(run.profile.ProgramFile(QStringLiteral("TIPOFDAY.TXT"))));
        run.settings.WriteSetting(Options, TipSwitch, QStringLiteral("0"));
        const QString expected =
            QStringLiteral("ﾌｧｲﾙ TIPOFDAY.TXT が見つかりませんでした。 \n\n"
                           "「メモ帳」を使用して、1 行に 1 つのﾜﾝﾎﾟｲﾝﾄという形式でﾃｷｽﾄ ﾌｧｲﾙを作成し、"
                           "TIPOFDAY.TXT という名前で保存してください。 "
                           "その後、そのﾌｧｲﾙをｱﾌﾟﾘｹｰｼｮﾝと同じﾌｫﾙﾀﾞに保存してください。");

        TipWindow window(run.tips, run.settings, run.folder);

        QCOMPARE(TipText(window), expected);
        QVERIFY(TipSwitchBox(window)->isChecked());
        QCOMPARE(StoredSwitch(run.profile), QStringLiteral("1"));
        PressNext(window);
        PressNext(window);
        QCOMPARE(TipText(window), expected);
    }

    // The whole tip can be read: a long one makes the window taller, a short
    // one after it gives the design size back.
    void LongTipsFit_data()
    {
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<int>("presses");
        QTest::addColumn<bool>("designSize");
        QTest::newRow("missing file") << false << 0 << false;
        QTest::newRow("short tip") << true << 0 << true;
        QTest::newRow("long tip next") << true << 1 << false;
        QTest::newRow("short tip after it") << true << 2 << true;
    }
    void LongTipsFit()
    {
        QFETCH(bool, withFile);
        QFETCH(int, presses);
        QFETCH(bool, designSize);
        TipRun run;
        const QString longTip = QStringLiteral(
            "カレンダーの日付をクリックすると、その日のページを探して表示します。ページがないときは、その日付で"
            "新しいページを作るかどうかを尋ねます。書きそびれた日の日記も、あとから書き足せます。"
            "ページの移動は F2 キーと F3 キーでもできます。保存は F5 キーです。");
        if (withFile)
            run.WriteTips(Cp932::Encode(QStringLiteral("短い\r\n") + longTip + QStringLiteral("\r\n短い\r\n")));
        QSize design;
        {
            TipRun empty;
            empty.WriteTips("A\r\n");
            design = TipWindow(empty.tips, empty.settings, empty.folder).size();
        }

        TipWindow window(run.tips, run.settings, run.folder);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int i = 0; i < presses; ++i)
            PressNext(window);

        const QLabel* label = window.findChild<QLabel*>(QStringLiteral("lblTipText"));
        QTRY_VERIFY2(
            label->height() >= label->heightForWidth(label->width()),
            qPrintable(QStringLiteral("%1 < %2").arg(label->height()).arg(label->heightForWidth(label->width()))));
        QVERIFY(label->geometry().bottom() < label->parentWidget()->height());
        QCOMPARE(window.size() == design, designSize);
        QCOMPARE(window.width(), design.width());
        QVERIFY(TipSwitchBox(window)->geometry().bottom() < window.height());
    }

    // The switch is written the moment it changes; every opening turns it on.
    void SwitchWrittenAtOnce()
    {
        TipRun run;
        run.WriteTips("A\r\nB\r\n");
        run.settings.WriteSetting(Options, TipSwitch, QStringLiteral("0"));
        {
            TipWindow window(run.tips, run.settings, run.folder);
            QVERIFY(TipSwitchBox(window)->isChecked());
            QCOMPARE(StoredSwitch(run.profile), QStringLiteral("1"));

            TipSwitchBox(window)->click();
            QVERIFY(!TipSwitchBox(window)->isChecked());
            QCOMPARE(StoredSwitch(run.profile), QStringLiteral("0"));
            TipSwitchBox(window)->click();
            QCOMPARE(StoredSwitch(run.profile), QStringLiteral("1"));
            TipSwitchBox(window)->click();
            QCOMPARE(StoredSwitch(run.profile), QStringLiteral("0"));
            // Closing writes nothing more.
            window.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        }
        QCOMPARE(StoredSwitch(run.profile), QStringLiteral("0"));

        TipWindow window(run.tips, run.settings, run.folder);
        QVERIFY(TipSwitchBox(window)->isChecked());
        QCOMPARE(StoredSwitch(run.profile), QStringLiteral("1"));
        QCOMPARE(TipText(window), QStringLiteral("B"));
    }

    // Through the program: the start-up shows the first tip, the menu entry
    // the ones after it, each time switching the start-up tip on again.
    void StartUpThenMenu_data()
    {
        QTest::addColumn<QString>("atStartUp");
        QTest::addColumn<QStringList>("fromTheMenu");
        QTest::newRow("switched on") << QStringLiteral("A") << QStringList{QStringLiteral("B"), QStringLiteral("C")};
        QTest::newRow("switched off") << QString() << QStringList{QStringLiteral("A"), QStringLiteral("B")};
    }
    void StartUpThenMenu()
    {
        QFETCH(QString, atStartUp);
        QFETCH(QStringList, fromTheMenu);
        TestApp test;
        test.RegisterOwner();
        test.profile.WriteProgramFile(QStringLiteral("TIPOFDAY.TXT"), "A\r\nB\r\nC\r\n");
        test.settings.WriteSetting(Options, TipSwitch, atStartUp.isEmpty() ? QStringLiteral("0") : QStringLiteral("1"));
        QStringList windows;
        QStringList tips;
        QStringList switches;
        // Looks at the window as it opens, clears its switch and closes it.
        const auto look = [&](QDialog& window) {
            windows << window.objectName();
            tips << window.findChild<QLabel*>(QStringLiteral("lblTipText"))->text();
            switches << StoredSwitch(test.profile);
            if (TipSwitchBox(window)->isChecked())
                TipSwitchBox(window)->click();
            window.findChild<QAbstractButton*>(QStringLiteral("cmdOK"))->click();
            return window.result();
        };
        if (!atStartUp.isEmpty())
            test.prompter.AnswerModal(look);
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(StoredSwitch(test.profile), QStringLiteral("0"));

        for (const QString& expected : fromTheMenu) {
            test.prompter.AnswerModal(look);
            form->Commands().ShowTips();
            QVERIFY(test.prompter.AllAnswered());
            QCOMPARE(tips.back(), expected);
            QCOMPARE(switches.back(), QStringLiteral("1"));
            QCOMPARE(StoredSwitch(test.profile), QStringLiteral("0"));
        }
        QCOMPARE(windows, QStringList(tips.size(), QStringLiteral("frmTip")));
        if (!atStartUp.isEmpty())
            QCOMPARE(tips.front(), atStartUp);
    }
};

SORAFUMI_TEST(TipTest)
#include "TipTest.moc"
