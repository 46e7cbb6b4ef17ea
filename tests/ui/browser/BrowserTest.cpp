#include "AuxWindows.h"
#include "ScriptedPrompter.h"
#include "TempProfile.h"
#include "TestRegistry.h"
#include "core/platform/ProgramFolder.h"
#include "ui/browser/HelpPages.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineView>

using namespace AuxWindows;

namespace {

constexpr int LoadTimeout = 20000;

// Four pages of our own in a program folder: the help index, the mail page,
// the updates and the upgrade page, each with a title of its own.
struct Pages
{
    Pages()
    {
        profile.WriteProgramFile(QStringLiteral("index.htm"), Page(QStringLiteral("目次")));
        profile.WriteProgramFile(QStringLiteral("mail.htm"), Page(QStringLiteral("メール")));
        profile.WriteProgramFile(QStringLiteral("02.htm"), Page(QStringLiteral("更新情報")));
        profile.WriteProgramFile(QStringLiteral("05.htm"), Page(QStringLiteral("グレードアップ")));
    }
    QString Path(const QString& name) const { return profile.ProgramFile(name); }

    TempProfile profile;
};

QComboBox* AddressBox(const BrowserWindow& window)
{
    return window.findChild<QComboBox*>(QStringLiteral("cboAddress"));
}

QTimer* BusyTimer(const BrowserWindow& window)
{
    return window.findChild<QTimer*>(QStringLiteral("timTimer"));
}

QStringList Items(const QComboBox& box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

// Types an address into the box and presses Enter, as the user would.
void TypeAddress(const BrowserWindow& window, const QString& address)
{
    QLineEdit* edit = AddressBox(window)->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, address);
    QTest::keyClick(edit, Qt::Key_Return);
}

void Press(const BrowserWindow& window, const QString& key)
{
    auto* button = window.findChild<QAction*>(key);
    QVERIFY2(button, qPrintable(key));
    button->trigger();
}

// The page's title in the caption and the busy timer off again.
bool Settled(const BrowserWindow& window, const QString& caption)
{
    return window.windowTitle() == caption && !BusyTimer(window)->isActive();
}

} // namespace

class BrowserTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }
    void cleanup() { CloseBrowserWindows(); }

    void EmptyStartingAddressLoadsNothing()
    {
        BrowserWindow window;
        window.show();
        QTest::qWait(300);

        QCOMPARE(window.windowTitle(), QString());
        QCOMPARE(AddressBox(window)->count(), 0);
        QCOMPARE(AddressBox(window)->currentText(), QString());
        QVERIFY(!BusyTimer(window)->isActive());
        QVERIFY(window.WebView()->url().isEmpty());
    }

    void CaptionWhileLoadingThenTitle()
    {
        const Pages pages;
        BrowserWindow window;
        window.StartingAddress = pages.Path(QStringLiteral("index.htm"));
        QCOMPARE(window.windowTitle(), QString());
        window.show();

        QVERIFY(BusyTimer(window)->isActive());
        QCOMPARE(BusyTimer(window)->interval(), 5);
        window.Step();
        QCOMPARE(window.windowTitle(), QStringLiteral("接続中..."));

        QTRY_VERIFY_WITH_TIMEOUT(Settled(window, QStringLiteral("目次")), LoadTimeout);
        QCOMPARE(window.WebView()->url(), QUrl::fromLocalFile(pages.Path(QStringLiteral("index.htm"))));
        QCOMPARE(Items(*AddressBox(window)), QStringList{pages.Path(QStringLiteral("index.htm"))});
        QCOMPARE(AddressBox(window)->currentText(), pages.Path(QStringLiteral("index.htm")));
    }

    // The list keeps the starting address as its only item, whatever is
    // typed or chosen.
    void AddressBoxNavigatesWithoutAddingItems()
    {
        const Pages pages;
        BrowserWindow window;
        window.StartingAddress = pages.Path(QStringLiteral("index.htm"));
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(Settled(window, QStringLiteral("目次")), LoadTimeout);

        TypeAddress(window, pages.Path(QStringLiteral("mail.htm")));
        QVERIFY(BusyTimer(window)->isActive());
        window.Step();
        QCOMPARE(window.windowTitle(), QStringLiteral("接続中..."));
        QTRY_VERIFY_WITH_TIMEOUT(Settled(window, QStringLiteral("メール")), LoadTimeout);
        QCOMPARE(window.WebView()->url(), QUrl::fromLocalFile(pages.Path(QStringLiteral("mail.htm"))));
        QCOMPARE(Items(*AddressBox(window)), QStringList{pages.Path(QStringLiteral("index.htm"))});
        QCOMPARE(AddressBox(window)->currentText(), pages.Path(QStringLiteral("mail.htm")));

        // Choosing the one item goes back to the starting page.
        AddressBox(window)->setCurrentIndex(0);
        Q_EMIT AddressBox(window)->activated(0);
        QTRY_VERIFY_WITH_TIMEOUT(Settled(window, QStringLiteral("目次")), LoadTimeout);
        QCOMPARE(Items(*AddressBox(window)), QStringList{pages.Path(QStringLiteral("index.htm"))});

        // An address of the browser's own, typed by hand.
        TypeAddress(window, QStringLiteral("about:blank"));
        QTRY_COMPARE_WITH_TIMEOUT(window.WebView()->url(), QUrl(QStringLiteral("about:blank")), LoadTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(!BusyTimer(window)->isActive(), LoadTimeout);
        QCOMPARE(AddressBox(window)->count(), 1);
    }

    // The window starts on the mail page, then the updates page is typed in;
    // the steps are pressed in turn, each with the caption it ends on.
    void ToolbarButtons_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("戻る") << QStringList{QStringLiteral("戻る")} << QStringList{QStringLiteral("メール")};
        QTest::newRow("戻る, 進む") << QStringList{QStringLiteral("戻る"), QStringLiteral("進む")}
                                    << QStringList{QStringLiteral("メール"), QStringLiteral("更新情報")};
        QTest::newRow("戻る at the first page") << QStringList{QStringLiteral("戻る"), QStringLiteral("戻る")}
                                                << QStringList{QStringLiteral("メール"), QStringLiteral("メール")};
        QTest::newRow("進む at the last page")
            << QStringList{QStringLiteral("進む")} << QStringList{QStringLiteral("更新情報")};
        QTest::newRow("更新") << QStringList{QStringLiteral("更新")} << QStringList{QStringLiteral("更新情報")};
        QTest::newRow("ﾎｰﾑ, then 戻る") << QStringList{QStringLiteral("ﾎｰﾑ"), QStringLiteral("戻る")}
                                        << QStringList{QStringLiteral("目次"), QStringLiteral("更新情報")};
    }
    void ToolbarButtons()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, captions);
        const CurrentFolderGuard keep;
        const Pages pages;
        ScriptedPrompter prompter;
        const QPointer<BrowserWindow> window =
            HelpPages::OpenHelpPage(3, ProgramFolder(pages.profile.ProgramFolder()), prompter);
        QVERIFY(window);
        QTRY_VERIFY_WITH_TIMEOUT(Settled(*window, QStringLiteral("メール")), LoadTimeout);
        TypeAddress(*window, pages.Path(QStringLiteral("02.htm")));
        QTRY_VERIFY_WITH_TIMEOUT(Settled(*window, QStringLiteral("更新情報")), LoadTimeout);
        QSignalSpy loaded(window->WebView(), &QWebEngineView::loadFinished);

        for (qsizetype i = 0; i < keys.size(); ++i) {
            const qsizetype before = loaded.count();
            Press(*window, keys[i]);
            if (keys[i] == QStringLiteral("更新"))
                QTRY_VERIFY_WITH_TIMEOUT(loaded.count() > before, LoadTimeout);
            QTRY_VERIFY2_WITH_TIMEOUT(Settled(*window, captions[i]), qPrintable(window->windowTitle()), LoadTimeout);
        }
        QCOMPARE(AddressBox(*window)->count(), 1);
        QCOMPARE(prompter.shown.size(), size_t(0));
    }

    void HomeIsTheHelpIndex()
    {
        const CurrentFolderGuard keep;
        const Pages pages;
        ScriptedPrompter prompter;
        const QPointer<BrowserWindow> window =
            HelpPages::OpenHelpPage(5, ProgramFolder(pages.profile.ProgramFolder()), prompter);
        QVERIFY(window);
        QTRY_VERIFY_WITH_TIMEOUT(Settled(*window, QStringLiteral("グレードアップ")), LoadTimeout);

        Press(*window, QStringLiteral("ﾎｰﾑ"));

        QTRY_VERIFY_WITH_TIMEOUT(Settled(*window, QStringLiteral("目次")), LoadTimeout);
        QCOMPARE(window->WebView()->url(), QUrl::fromLocalFile(pages.Path(QStringLiteral("index.htm"))));
    }

    // Stopped before anything arrived: the caption names the file at once and
    // stays so.
    void StopWhileLoading()
    {
        const Pages pages;
        BrowserWindow window;
        window.StartingAddress = pages.Path(QStringLiteral("mail.htm"));
        window.show();
        window.Step();
        QCOMPARE(window.windowTitle(), QStringLiteral("接続中..."));

        Press(window, QStringLiteral("中止"));

        QCOMPARE(window.windowTitle(), pages.Path(QStringLiteral("mail.htm")));
        QVERIFY(!BusyTimer(window)->isActive());
        QTest::qWait(1000);
        QCOMPARE(window.windowTitle(), pages.Path(QStringLiteral("mail.htm")));
        QVERIFY(!BusyTimer(window)->isActive());
    }

    // Stopping a second page leaves the first one shown, and its title.
    void StopKeepsTheShownPage()
    {
        const Pages pages;
        BrowserWindow window;
        window.StartingAddress = pages.Path(QStringLiteral("index.htm"));
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(Settled(window, QStringLiteral("目次")), LoadTimeout);
        TypeAddress(window, pages.Path(QStringLiteral("mail.htm")));
        window.Step();
        QCOMPARE(window.windowTitle(), QStringLiteral("接続中..."));

        Press(window, QStringLiteral("中止"));

        QCOMPARE(window.windowTitle(), QStringLiteral("目次"));
        QVERIFY(!BusyTimer(window)->isActive());
        QTest::qWait(1000);
        QCOMPARE(window.windowTitle(), QStringLiteral("目次"));
    }

    // Esc and Ctrl+W close the window, with the keys in the page or in the
    // address box.
    void KeysCloseTheWindow_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<bool>("inPage");
        QTest::newRow("Esc in the page") << QKeySequence(Qt::Key_Escape) << true;
        QTest::newRow("Ctrl+W in the page") << QKeySequence(Qt::CTRL | Qt::Key_W) << true;
        QTest::newRow("Esc in the address box") << QKeySequence(Qt::Key_Escape) << false;
    }
    void KeysCloseTheWindow()
    {
        QFETCH(QKeySequence, key);
        QFETCH(bool, inPage);
        const CurrentFolderGuard keep;
        const Pages pages;
        ScriptedPrompter prompter;
        const QPointer<BrowserWindow> window =
            HelpPages::OpenHelpPage(0, ProgramFolder(pages.profile.ProgramFolder()), prompter);
        QVERIFY(window);
        QTRY_VERIFY_WITH_TIMEOUT(Settled(*window, QStringLiteral("目次")), LoadTimeout);
        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window.data());
        if (inPage)
            window->WebView()->setFocus();
        else
            AddressBox(*window)->setFocus();

        QTest::keySequence(QApplication::focusWidget(), key);

        QTRY_VERIFY(!window);
    }

    void TwoWindowsKeepTheirOwnPages()
    {
        const CurrentFolderGuard keep;
        const Pages pages;
        ScriptedPrompter prompter;
        const ProgramFolder folder(pages.profile.ProgramFolder());
        const QPointer<BrowserWindow> help = HelpPages::OpenHelpPage(0, folder, prompter);
        const QPointer<BrowserWindow> mail = HelpPages::OpenHelpPage(3, folder, prompter);
        QVERIFY(help && mail);
        QTRY_VERIFY_WITH_TIMEOUT(Settled(*help, QStringLiteral("目次")), LoadTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(Settled(*mail, QStringLiteral("メール")), LoadTimeout);

        TypeAddress(*help, pages.Path(QStringLiteral("02.htm")));
        QTRY_VERIFY_WITH_TIMEOUT(Settled(*help, QStringLiteral("更新情報")), LoadTimeout);
        QCOMPARE(mail->windowTitle(), QStringLiteral("メール"));
        QCOMPARE(AddressBox(*mail)->currentText(), pages.Path(QStringLiteral("mail.htm")));
        QCOMPARE(Items(*AddressBox(*mail)), QStringList{pages.Path(QStringLiteral("mail.htm"))});
        QCOMPARE(Items(*AddressBox(*help)), QStringList{pages.Path(QStringLiteral("index.htm"))});

        // Each window goes back through its own history only.
        Press(*mail, QStringLiteral("戻る"));
        QTRY_VERIFY_WITH_TIMEOUT(Settled(*mail, QStringLiteral("メール")), LoadTimeout);
        Press(*help, QStringLiteral("戻る"));
        QTRY_VERIFY_WITH_TIMEOUT(Settled(*help, QStringLiteral("目次")), LoadTimeout);
        QCOMPARE(mail->windowTitle(), QStringLiteral("メール"));

        // Closing one leaves the other.
        QVERIFY(help->close());
        QTRY_VERIFY(help.isNull());
        QVERIFY(mail->isVisible());
    }

    // Window sizes in pixels at 96 dpi (15 twips to the pixel). The web view
    // sits at 45, 1380 twips; below 3001 twips of height it keeps its height.
    void Layout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<int>("boxWidth");
        QTest::newRow("as first shown") << QSize(705, 504) << QSize(698, 409) << 698;
        QTest::newRow("large") << QSize(1000, 800) << QSize(993, 705) << 993;
        QTest::newRow("just above 3000 twips") << QSize(400, 201) << QSize(393, 106) << 393;
        QTest::newRow("3000 twips") << QSize(400, 200) << QSize(393, 409) << 393;
        QTest::newRow("low") << QSize(300, 50) << QSize(293, 409) << 293;
        QTest::newRow("narrower than the margin") << QSize(5, 600) << QSize(0, 505) << 0;
        QTest::newRow("tiny") << QSize(1, 1) << QSize(0, 409) << 0;
    }
    void Layout()
    {
        QFETCH(QSize, size);
        QFETCH(QSize, view);
        QFETCH(int, boxWidth);
        BrowserWindow window;
        window.show();
        QCOMPARE(window.size(), QSize(705, 504));

        window.resize(size);

        QCOMPARE(window.size(), size);
        QCOMPARE(window.WebView()->geometry(), QRect(QPoint(3, 92), view));
        const QComboBox* box = AddressBox(window);
        QCOMPARE(box->width(), boxWidth);
        QCOMPARE(box->pos(), QPoint(3, 22));
        const QWidget* strip = window.findChild<QWidget*>(QStringLiteral("picAddress"));
        QCOMPARE(strip->geometry(), QRect(0, 44, size.width(), 45));
        const QWidget* bar = window.findChild<QWidget*>(QStringLiteral("tbToolBar"));
        const QWidget* animation = window.findChild<QWidget*>(QStringLiteral("PictureBox"));
        const int band = bar->height();
        QVERIFY(band > 0);
        // Nothing of the toolbar hides behind the address strip.
        QVERIFY2(band <= strip->y(), qPrintable(QString::number(band)));
        QCOMPARE(animation->geometry(), QRect(qMax(0, size.width() - band), 0, band, band));
        QCOMPARE(bar->geometry(), QRect(0, 0, qMax(0, size.width() - band), band));
    }

    // The animation comes from "ie.dat" in the program folder, entered by the
    // help-page request; the window works without it.
    void Animation_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("playing");
        QTest::newRow("installed") << QStringLiteral("installed") << true;
        QTest::newRow("missing") << QString() << false;
        QTest::newRow("not a picture") << QStringLiteral("text") << false;
        QTest::newRow("empty") << QStringLiteral("empty") << false;
    }
    void Animation()
    {
        QFETCH(QString, file);
        QFETCH(bool, playing);
        const CurrentFolderGuard keep;
        const Pages pages;
        if (file == QStringLiteral("installed"))
            QVERIFY(pages.profile.CopyDataFile(QStringLiteral("ie.dat")));
        else if (file == QStringLiteral("text"))
            pages.profile.WriteProgramFile(QStringLiteral("ie.dat"), "no animation here\r\n");
        else if (file == QStringLiteral("empty"))
            pages.profile.WriteProgramFile(QStringLiteral("ie.dat"), QByteArray());
        ScriptedPrompter prompter;

        const QPointer<BrowserWindow> window =
            HelpPages::OpenHelpPage(0, ProgramFolder(pages.profile.ProgramFolder()), prompter);

        QVERIFY(window);
        auto* box = window->findChild<QLabel*>(QStringLiteral("PictureBox"));
        QVERIFY(box);
        QMovie* movie = box->movie();
        QCOMPARE(movie && movie->state() == QMovie::Running, playing);
        QTRY_VERIFY_WITH_TIMEOUT(Settled(*window, QStringLiteral("目次")), LoadTimeout);
        QCOMPARE(prompter.shown.size(), size_t(0));
        if (!playing)
            return;
        // It goes on playing after the page has arrived, frame after frame.
        QVERIFY(movie->frameCount() != 1);
        const int frame = movie->currentFrameNumber();
        QTRY_VERIFY_WITH_TIMEOUT(movie->currentFrameNumber() != frame, 5000);
        QCOMPARE(movie->state(), QMovie::Running);
        QVERIFY(!movie->currentPixmap().isNull());
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("PictureBox"))->width() > 0);
    }
};

SORAFUMI_TEST(BrowserTest)
#include "BrowserTest.moc"
