#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/browser/BrowserWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSlider>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString Owner = QStringLiteral("空野太郎");

DiaryBuilder::Fields Day(int day, const QString& weekday, const QString& body)
{
    return {QStringLiteral("2026年11月%1日").arg(day),
            weekday,
            QStringLiteral("1500"),
            Owner,
            QStringLiteral("午後 8:15:00"),
            QStringLiteral("晴れ"),
            body};
}

// Three days of November, as the program itself writes them.
DiaryBuilder ThreeDays(const QString& secondBody = QStringLiteral("二日目の日記"))
{
    DiaryBuilder diary;
    diary.Add(Day(1, QStringLiteral("日曜日"), QStringLiteral("一日目の日記\r\n二行目")));
    diary.Add(Day(2, QStringLiteral("月曜日"), secondBody));
    diary.Add(Day(3, QStringLiteral("火曜日"), QStringLiteral("三日目の日記")));
    return diary;
}

// Half a page left behind by a write that never finished.
QByteArray PartialRecord()
{
    return DiaryBuilder::Page(Day(4, QStringLiteral("水曜日"), QStringLiteral("書きかけ"))).ToBytes().left(4000);
}

// The page the test clock's day starts with.
QByteArray TodaysNewPage()
{
    return DiaryBuilder::Page({QStringLiteral("2026年12月7日"), QStringLiteral("月曜日"), QStringLiteral("0"), Owner,
                               QStringLiteral("午前 9:30:00"), QString(), QString()})
        .ToBytes();
}

QAction* ToolbarButton(MainWindow& form, const QString& key)
{
    for (QAction* button : form.findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions())
        if (button->text() == key)
            return button;
    return nullptr;
}

QAction* HelpDropDownEntry(MainWindow& form, const QString& key)
{
    QAction* help = ToolbarButton(form, QStringLiteral("説明"));
    if (!help || !help->menu())
        return nullptr;
    for (QAction* entry : help->menu()->actions())
        if (entry->text() == key)
            return entry;
    return nullptr;
}

// Shortcut keys reach only the active window.
bool PressKey(MainWindow& form, const QKeySequence& key)
{
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        return false;
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
    QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
    return true;
}

// Gives the command the way the row says: menu entry, toolbar button, entry of
// the "説明" drop-down, shortcut key, or a double click on the picture box.
bool Give(MainWindow& form, const QString& menu, const QString& button, const QString& dropDown,
          const QKeySequence& key)
{
    QAction* action = nullptr;
    if (!menu.isEmpty())
        action = form.findChild<QAction*>(menu);
    else if (!button.isEmpty())
        action = ToolbarButton(form, button);
    else if (!dropDown.isEmpty())
        action = HelpDropDownEntry(form, dropDown);
    else if (!key.isEmpty())
        return PressKey(form, key);
    else if (auto* picture = form.findChild<QLabel*>(QStringLiteral("Image2"))) {
        QTest::mouseDClick(picture, Qt::LeftButton);
        return true;
    }
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

// One row for each way a command can be given.
void AddWays(const char* command, const char* menu, const char* button, const QKeySequence& key,
             const std::function<void(QTestData&)>& rest)
{
    const auto row = [&](const char* way, const QString& m, const QString& b, const QKeySequence& k) {
        QTestData& data = QTest::addRow("%s by %s", command, way) << m << b << QString() << k;
        rest(data);
    };
    if (menu)
        row("menu", QString::fromLatin1(menu), QString(), QKeySequence());
    if (button)
        row("button", QString(), QString::fromUtf8(button), QKeySequence());
    if (!key.isEmpty())
        row(key.toString().toLatin1().constData(), QString(), QString(), key);
}

QStringList Titles(const ScriptedPrompter& prompter)
{
    QStringList titles;
    for (const ScriptedPrompter::Shown& entry : prompter.shown)
        titles << entry.box.title;
    return titles;
}

QList<BrowserWindow*> BrowserWindows()
{
    QList<BrowserWindow*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* browser = qobject_cast<BrowserWindow*>(window))
            windows << browser;
    return windows;
}

} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    // Page 2 of three days is shown (a torn half page trails the file) when
    // the command is given.
    void PageCommands_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("dropDown");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("deleteAnsweredNo");
        QTest::addColumn<QString>("shownDate");
        QTest::addColumn<QString>("shownBody");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QByteArray>("diary");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("beeps");

        const QByteArray untouched = ThreeDays().Bytes() + PartialRecord();
        const QString page2 = StatusLine(3, 2);

        AddWays("AddPage", "menuFile_AddPage", "新規", QKeySequence(Qt::Key_F4), [&](QTestData& row) {
            row << QString() << false << QStringLiteral("2026年12月7日") << QString() << StatusLine(4, 4)
                << ThreeDays().Bytes() + TodaysNewPage() << QStringList() << 0;
        });
        AddWays("Save", "menuFile_Save", "保存", QKeySequence(Qt::Key_F5), [&](QTestData& row) {
            row << QStringLiteral("二日目の日記\n夜に書き足した") << false << QStringLiteral("2026年11月2日")
                << QStringLiteral("二日目の日記\n夜に書き足した") << page2
                << ThreeDays(QStringLiteral("二日目の日記\r\n夜に書き足した")).Bytes() << QStringList() << 0;
        });
        AddWays("PreviousPage", "menuFile_BackPage", "前日", QKeySequence(Qt::Key_F2), [&](QTestData& row) {
            row << QString() << false << QStringLiteral("2026年11月1日") << QStringLiteral("一日目の日記\n二行目")
                << StatusLine(3, 1) << untouched << QStringList() << 0;
        });
        AddWays("NextPage", "menuFile_NextPage", "後日", QKeySequence(Qt::Key_F3), [&](QTestData& row) {
            row << QString() << false << QStringLiteral("2026年11月3日") << QStringLiteral("三日目の日記")
                << StatusLine(3, 3) << untouched << QStringList() << 0;
        });
        AddWays("DeletePage", nullptr, "削除", QKeySequence(), [&](QTestData& row) {
            row << QString() << true << QStringLiteral("2026年11月2日") << QStringLiteral("二日目の日記") << page2
                << untouched << QStringList{QStringLiteral("ページ削除の問い合わせ")} << 1;
        });
    }
    void PageCommands()
    {
        QFETCH(QString, menu);
        QFETCH(QString, button);
        QFETCH(QString, dropDown);
        QFETCH(QKeySequence, key);
        QFETCH(QString, edit);
        QFETCH(bool, deleteAnsweredNo);
        QFETCH(QString, shownDate);
        QFETCH(QString, shownBody);
        QFETCH(QString, status);
        QFETCH(QByteArray, diary);
        QFETCH(QStringList, boxes);
        QFETCH(int, beeps);

        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(ThreeDays().Bytes() + PartialRecord());
        QVERIFY(form);
        form->Store().ShowPage(2);
        QCOMPARE(PageStatus(*form), StatusLine(3, 2));
        if (!edit.isEmpty())
            EntryBody(*form)->setPlainText(edit);
        if (deleteAnsweredNo)
            test.prompter.AnswerMessage(Prompter::Answer::No);

        QVERIFY(Give(*form, menu, button, dropDown, key));

        QCOMPARE(form->FieldText(EntryField::Date), shownDate);
        QCOMPARE(EntryBody(*form)->toPlainText(), shownBody);
        QCOMPARE(PageStatus(*form), status);
        QCOMPARE(test.DiaryBytes(), diary);
        QCOMPARE(Titles(test.prompter), boxes);
        QCOMPARE(test.prompter.beeps, beeps);
        QVERIFY(test.prompter.AllAnswered());
        QVERIFY(!test.context.Ended());
    }

    // Commands that open a window of their own, and the help pages each one
    // shows in a new browser window.
    void WindowCommands_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("dropDown");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("modal");
        QTest::addColumn<QString>("page"); // a file of the program folder, or a web address

        const auto modal = [](const char* window) {
            return [window](QTestData& row) { row << QString::fromLatin1(window) << true << QString(); };
        };
        const auto page = [](const char* name) {
            return
                [name](QTestData& row) { row << QStringLiteral("frmBrowser") << false << QString::fromLatin1(name); };
        };
        AddWays("Properties", "menuCom_Properties", "設定", QKeySequence(Qt::CTRL | Qt::Key_P), modal("frmOptions"));
        AddWays("About", "menuHelp_Ver", nullptr, QKeySequence(), modal("frmAbout"));
        AddWays("Search", "menuSeratch_FileSeratch", nullptr, QKeySequence(Qt::CTRL | Qt::Key_F),
                [](QTestData& row) { row << QStringLiteral("frmSeratch") << false << QString(); });
        AddWays("Help", "menuHelp_Help", "説明", QKeySequence(), page("index.htm"));
        AddWays("Mail", "menuHelp_MailTo", nullptr, QKeySequence(), page("mail.htm"));
        AddWays("Update", "menuService_UpDate", nullptr, QKeySequence(), page("02.htm"));
        // "ホームページ" would go on line; its address is checked with the help pages.

        const auto entry = [](const char* name, const char* window, bool isModal, const char* file) {
            QTest::addRow("drop-down %s", name) << QString() << QString() << QString::fromUtf8(name) << QKeySequence()
                                                << QString::fromLatin1(window) << isModal << QString::fromLatin1(file);
        };
        entry("操作の説明", "frmBrowser", false, "index.htm");
        entry("グレードアップ", "frmBrowser", false, "05.htm");
        entry("作者宛てメール", "frmBrowser", false, "mail.htm");
        entry("バージョン情報", "frmAbout", true, "");
        QTest::addRow("double click on the picture box")
            << QString() << QString() << QString() << QKeySequence() << QStringLiteral("frmBrowser") << false
            << QStringLiteral("05.htm");
    }
    void WindowCommands()
    {
        QFETCH(QString, menu);
        QFETCH(QString, button);
        QFETCH(QString, dropDown);
        QFETCH(QKeySequence, key);
        QFETCH(QString, window);
        QFETCH(bool, modal);
        QFETCH(QString, page);

        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(ThreeDays().Bytes());
        QVERIFY(form);
        QString shownModal;
        if (modal)
            test.prompter.AnswerModal([&shownModal](QDialog& dialog) {
                shownModal = dialog.objectName();
                return int(QDialog::Rejected);
            });
        const QList<BrowserWindow*> before = BrowserWindows();

        QVERIFY(Give(*form, menu, button, dropDown, key));

        QVERIFY(test.prompter.AllAnswered());
        if (modal) {
            QCOMPARE(shownModal, window);
        } else if (page.isEmpty()) {
            auto* shown = form->findChild<QWidget*>(window);
            QVERIFY(shown);
            QVERIFY(shown->isVisible());
            QVERIFY(shown->isWindow());
        } else {
            QList<BrowserWindow*> opened = BrowserWindows();
            for (BrowserWindow* old : before)
                opened.removeAll(old);
            QCOMPARE(opened.size(), qsizetype(1));
            const QPointer<BrowserWindow> browser = opened.front();
            QVERIFY(browser->isVisible());
            QCOMPARE(browser->StartingAddress,
                     page.startsWith(QStringLiteral("https:")) ? page : test.profile.ProgramFile(page));
            delete browser.data();
        }
        // None of them touches the diary or says anything.
        QCOMPARE(test.DiaryBytes(), ThreeDays().Bytes());
        QCOMPARE(test.prompter.MessageTexts(), QStringList());
    }

    void OpenButtonSaysTheDiaryIsOpen()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(ThreeDays().Bytes());
        QVERIFY(form);
        test.prompter.AnswerMessage(Prompter::Answer::Ok);

        ToolbarButton(*form, QStringLiteral("開く"))->trigger();

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(1));
        const Prompter::Box& box = test.prompter.LastMessage();
        QCOMPARE(box.text, QStringLiteral("日記帳はすでに開かれてます。"));
        QCOMPARE(box.title, QStringLiteral("ファイル情報"));
        QCOMPARE(box.buttons, Prompter::Buttons::Ok);
        QCOMPARE(box.icon, Prompter::Icon::Exclamation);
        QCOMPARE(PageStatus(*form), StatusLine(3, 3));
        QCOMPARE(test.DiaryBytes(), ThreeDays().Bytes());
    }

    void OpenMenuEntryDoesNothing()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(ThreeDays().Bytes() + PartialRecord());
        QVERIFY(form);
        EntryBody(*form)->setPlainText(QStringLiteral("まだ保存していない"));

        form->findChild<QAction*>(QStringLiteral("menuFile_Open"))->trigger();

        QCOMPARE(test.prompter.shown.size(), size_t(0));
        QCOMPARE(EntryBody(*form)->toPlainText(), QStringLiteral("まだ保存していない"));
        QCOMPARE(PageStatus(*form), StatusLine(3, 3));
        QCOMPARE(test.DiaryBytes(), ThreeDays().Bytes() + PartialRecord());
    }

    // Each menu's entries top to bottom: caption and shortcut, "-" for a line.
    void MenuEntries_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("file") << 0 << QStringLiteral("ファイル(&F)")
                              << QStringList{QStringLiteral("日記帳を開く"),
                                             QStringLiteral("-"),
                                             QStringLiteral("1ページ書き込む F4"),
                                             QStringLiteral("日記帳保存 F5"),
                                             QStringLiteral("１つ前のページ F2"),
                                             QStringLiteral("１つ後のページ F3"),
                                             QStringLiteral("-"),
                                             QStringLiteral("印刷(&P)"),
                                             QStringLiteral("-"),
                                             QStringLiteral("終了(&E)")};
        QTest::newRow("search") << 1 << QStringLiteral("検索(&S)")
                                << QStringList{QStringLiteral("この日記帳の全てを検索 Ctrl+F")};
        QTest::newRow("options") << 2 << QStringLiteral("設定(&O)")
                                 << QStringList{QStringLiteral("プロパティ(&Ｉ) Ctrl+P"), QStringLiteral("-"),
                                                QStringLiteral("ワンポイントアドバイス")};
        QTest::newRow("tool") << 3 << QStringLiteral("ツール(&T)")
                              << QStringList{QStringLiteral("過去の同じ日(&D)"), QStringLiteral("書き出し(&E)..."),
                                             QStringLiteral("取り込み(&I)..."),
                                             QStringLiteral("バックアップから復元(&R)..."),
                                             QStringLiteral("統計(&S)...")};
        QTest::newRow("service") << 4 << QStringLiteral("サービス")
                                 << QStringList{QStringLiteral("ホームページ"), QStringLiteral("アップデート確認")};
        QTest::newRow("help") << 5 << QStringLiteral("ヘルプ")
                              << QStringList{QStringLiteral("ヘルプ"), QStringLiteral("メールを送る"),
                                             QStringLiteral("-"), QStringLiteral("バージョン情報")};
    }
    void MenuEntries()
    {
        QFETCH(int, position);
        QFETCH(QString, caption);
        QFETCH(QStringList, entries);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(ThreeDays().Bytes());
        QVERIFY(form);
        const QList<QAction*> menus = form->menuBar()->actions();
        QCOMPARE(menus.size(), qsizetype(6));
        QMenu* menu = menus[position]->menu();
        QVERIFY(menu);
        QCOMPARE(menu->title(), caption);
        QStringList shown;
        // The lock's entries show only where the diary has a lock.
        for (const QAction* entry : menu->actions()) {
            if (!entry->isVisible())
                continue;
            if (entry->isSeparator()) {
                shown << QStringLiteral("-");
                continue;
            }
            const QString shortcut = entry->shortcut().toString(QKeySequence::PortableText);
            shown << (shortcut.isEmpty() ? entry->text() : entry->text() + u' ' + shortcut);
            QVERIFY(entry->isEnabled());
        }
        QCOMPARE(shown, entries);
    }

    void HelpButtonDropsDownItsList()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(ThreeDays().Bytes());
        QVERIFY(form);
        auto* toolbar = form->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QStringList withList;
        for (QAction* button : toolbar->actions())
            if (button->menu())
                withList << button->text();
        QCOMPARE(withList, QStringList{QStringLiteral("説明")});

        QAction* help = ToolbarButton(*form, QStringLiteral("説明"));
        QStringList entries;
        for (const QAction* entry : help->menu()->actions())
            entries << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
        QCOMPARE(entries, QStringList({QStringLiteral("操作の説明"), QStringLiteral("グレードアップ"),
                                       QStringLiteral("-"), QStringLiteral("作者宛てメール"), QStringLiteral("-"),
                                       QStringLiteral("バージョン情報")}));
        // The button itself shows the help; its arrow opens the list.
        auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(help));
        QVERIFY(button);
        QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
    }

    // The start-up tip was switched off; the menu entry switches it on again
    // before it shows the tip window, and the next start shows it too.
    void TipEntrySwitchesTheStartUpTipOnAgain()
    {
        TestApp test;
        QVERIFY(test.profile.CopyDataFile(QStringLiteral("TIPOFDAY.TXT")));
        std::unique_ptr<MainWindow> form = test.StartOwnersDiary(ThreeDays().Bytes());
        QVERIFY(form);
        QCOMPARE(test.Read(QStringLiteral("Options"), QStringLiteral("Show Tips at Startup")), QStringLiteral("0"));
        QString window;
        QString switchWhileShown;
        test.prompter.AnswerModal([&](QDialog& dialog) {
            window = dialog.objectName();
            switchWhileShown = test.Read(QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"));
            return int(QDialog::Accepted);
        });

        form->findChild<QAction*>(QStringLiteral("menuCom_Tip"))->trigger();

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(window, QStringLiteral("frmTip"));
        QCOMPARE(switchWhileShown, QStringLiteral("1"));
        QCOMPARE(test.Read(QStringLiteral("Options"), QStringLiteral("Show Tips at Startup")), QStringLiteral("1"));

        QVERIFY(form->close());
        form.reset();
        test.Restart();
        window.clear();
        test.prompter.AnswerModal([&](QDialog& dialog) {
            window = dialog.objectName();
            return int(QDialog::Accepted);
        });
        form = StartProgram(test.context);
        QVERIFY(form);
        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(window, QStringLiteral("frmTip"));
    }

    void ExitStoresTheShownPageAndEnds()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(ThreeDays().Bytes() + PartialRecord());
        QVERIFY(form);
        form->Store().ShowPage(2);
        EntryBody(*form)->setPlainText(QStringLiteral("二日目の日記\n夜に書き足した"));
        form->resize(600, 480);

        form->findChild<QAction*>(QStringLiteral("menuCom_Exit"))->trigger();

        QVERIFY(test.context.Ended());
        QCOMPARE(test.DiaryBytes(), ThreeDays(QStringLiteral("二日目の日記\r\n夜に書き足した")).Bytes());
        QCOMPARE(test.Read(QStringLiteral("Settings"), QStringLiteral("MainWidth")), QStringLiteral("9000"));
        QCOMPARE(test.Read(QStringLiteral("User"), QStringLiteral("UserDataFile")), TestApp::DiaryName());
        QCOMPARE(test.prompter.shown.size(), size_t(0));
    }

    // The web panel rests every toolbar button but "ZN" and "説明", and the
    // slider; the menu bar goes on working.
    void WebPanelLeavesTheMenusUsable()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(ThreeDays().Bytes());
        QVERIFY(form);
        test.context.app.ZnURL = QStringLiteral("about:blank");
        test.context.app.ZnMSG = true;

        QVERIFY(Give(*form, {}, QStringLiteral("ZN"), {}, {}));

        const QList<QAction*> buttons = form->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions();
        QCOMPARE(buttons.size(), qsizetype(15));
        for (qsizetype i = 0; i < buttons.size(); ++i)
            QVERIFY2(buttons[i]->isEnabled() == (i == 0 || i == 14), qPrintable(buttons[i]->text()));
        QVERIFY(!form->findChild<QSlider*>(QStringLiteral("Slider1"))->isEnabled());
        for (const QAction* menu : form->menuBar()->actions()) {
            QVERIFY(menu->isEnabled());
            for (const QAction* entry : menu->menu()->actions())
                QVERIFY(entry->isEnabled() || !entry->isVisible());
        }
        QVERIFY(Give(*form, QStringLiteral("menuFile_AddPage"), {}, {}, {}));
        QCOMPARE(PageStatus(*form), StatusLine(4, 4));
        QCOMPARE(test.DiaryBytes(), ThreeDays().Bytes() + TodaysNewPage());
    }
};

SORAFUMI_TEST(CommandsTest)
#include "CommandsTest.moc"
