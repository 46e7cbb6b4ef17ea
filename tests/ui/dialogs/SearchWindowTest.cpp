#include "ui/dialogs/SearchWindow.h"
#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "WriteProtection.h"
#include "core/diary/DiaryStore.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <memory>

namespace {

const QString Word = QStringLiteral("紅葉狩り");

// Ten pages dated 1 to 10 November 2026, all signed and with the weather
// written. The first bodies are given; the others are everyday text.
QByteArray TenPages(const QStringList& bodies)
{
    DiaryBuilder diary;
    for (int page = 1; page <= 10; ++page) {
        const QString body =
            page <= bodies.size() ? bodies[page - 1] : QStringLiteral("%1日目。今日も一日よく働いた。").arg(page);
        diary.Add({QStringLiteral("2026年11月%1日").arg(page), QStringLiteral("日曜日"), QStringLiteral("0"),
                   QStringLiteral("空野太郎"), QStringLiteral("午後 9:00:00"), QStringLiteral("晴れ"), body});
    }
    return diary.Bytes();
}

// The word on the given pages, on the second line of the body.
QByteArray WordOn(std::initializer_list<int> pages)
{
    QStringList bodies;
    for (int page = 1; page <= 10; ++page)
        bodies << (std::find(pages.begin(), pages.end(), page) != pages.end()
                       ? QStringLiteral("%1日目。\r\n夜は%2の話をした。").arg(page).arg(Word)
                       : QStringLiteral("%1日目。今日も一日よく働いた。").arg(page));
    return TenPages(bodies);
}

bool Activate(QWidget& window)
{
    QApplication::setActiveWindow(&window);
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// The program started on a diary of ten pages, showing page 10, with the
// search window open.
class Session
{
public:
    explicit Session(const QByteArray& diary, bool open = true) : diary_(diary)
    {
        if (!DiaryBuilder().AddRaw(diary).WriteTo(test.DiaryPath()))
            return;
        test.RegisterOwner();
        form = StartProgram(test.context);
        if (!form || !open)
            return;
        form->Commands().ShowSearchWindow();
        window = form->Commands().OpenSearchWindow();
    }

    bool Started() const { return form && window && window->isVisible(); }

    QComboBox* Text() const { return window->findChild<QComboBox*>(QStringLiteral("cmb")); }
    QCheckBox* Fuzzy() const { return window->findChild<QCheckBox*>(QStringLiteral("chkFuzzySearch")); }
    QCheckBox* ListAll() const { return window->findChild<QCheckBox*>(QStringLiteral("chkListAll")); }
    QTreeWidget* Hits() const { return window->findChild<QTreeWidget*>(QStringLiteral("lstHits")); }
    QString HitCount() const { return window->findChild<QLabel*>(QStringLiteral("lblHitCount"))->text(); }
    // Each row as its date and line.
    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < Hits()->topLevelItemCount(); ++i)
            rows << Hits()->topLevelItem(i)->text(0) + u'|' + Hits()->topLevelItem(i)->text(1);
        return rows;
    }

    template <typename Control> Control* Indexed(const QString& name, int index) const
    {
        for (Control* control : window->findChildren<Control*>(name))
            if (control->property("index").toInt() == index)
                return control;
        return nullptr;
    }
    QRadioButton* Option(int index) const { return Indexed<QRadioButton>(QStringLiteral("Opt"), index); }
    QPushButton* Command(int index) const { return Indexed<QPushButton>(QStringLiteral("cmd"), index); }

    QPlainTextEdit* Body() const { return EntryBody(*form); }
    QString StatusLine() const { return form->findChild<QLabel*>(QStringLiteral("PageLabel"))->text(); }
    int SliderPosition() const { return form->findChild<QSlider*>(QStringLiteral("Slider1"))->value(); }
    QDate CalendarDate() const { return form->findChild<QCalendarWidget*>(QStringLiteral("Calendar"))->selectedDate(); }
    int CurrentPage() { return form->Store().CurrentPage(); }

    // Shows a page as moving the slider does.
    void Show(int page) { form->findChild<QSlider*>(QStringLiteral("Slider1"))->setValue(page); }

    // Types the text, picks the way to search and presses 検索.
    void Search(const QString& text, bool fromCurrent = false)
    {
        (fromCurrent ? Option(2) : Option(0))->click();
        Text()->setEditText(text);
        QTest::mouseClick(Command(0), Qt::LeftButton);
    }

    QStringList History() const
    {
        QStringList items;
        for (int i = 0; i < Text()->count(); ++i)
            items << Text()->itemText(i);
        return items;
    }

    const QByteArray& Diary() const { return diary_; }

    TestApp test;
    std::unique_ptr<MainWindow> form;
    QPointer<SearchWindow> window;

private:
    QByteArray diary_;
};

} // namespace

class SearchWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void WindowAsDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("note") << QStringLiteral("Label2") << -1 << QStringLiteral("ちょっといいかげんな検索");
        QTest::newRow("text label") << QStringLiteral("Label1") << -1 << QStringLiteral("検索文字");
        QTest::newRow("frame") << QStringLiteral("Frame1") << -1 << QStringLiteral("検索方法");
        QTest::newRow("from the first page")
            << QStringLiteral("Opt") << 0 << QStringLiteral("ファイルの先頭から末尾に向かって");
        QTest::newRow("from the current page")
            << QStringLiteral("Opt") << 2 << QStringLiteral("現在の位置から末尾に向かって");
        QTest::newRow("search") << QStringLiteral("cmd") << 0 << QStringLiteral("検索");
        QTest::newRow("close") << QStringLiteral("cmd") << 1 << QStringLiteral("閉じる");
    }
    void WindowAsDesigned()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QString, text);
        Session session(WordOn({7}));
        QVERIFY(session.Started());
        QCOMPARE(session.window->windowTitle(), QStringLiteral("検索"));
        QString shown;
        if (index >= 0) {
            QAbstractButton* control = session.Indexed<QAbstractButton>(name, index);
            QVERIFY(control);
            shown = control->text();
        } else if (auto* frame = session.window->findChild<QGroupBox*>(name)) {
            shown = frame->title();
        } else {
            QVERIFY(session.window->findChild<QLabel*>(name));
            shown = session.window->findChild<QLabel*>(name)->text();
        }
        QCOMPARE(shown, text);
    }

    void OpensReadyToSearchFromTheFirstPage()
    {
        Session session(WordOn({7}));
        QVERIFY(session.Started());
        QVERIFY(session.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!session.window->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(session.Option(0)->isChecked());
        QVERIFY(!session.Option(2)->isChecked());
        QVERIFY(!session.Option(1));
        QVERIFY(session.Text()->isEditable());
        QCOMPARE(session.Text()->currentText(), QString());
        QCOMPARE(session.Text()->count(), 0);
        // One option at a time.
        session.Option(2)->click();
        QVERIFY(!session.Option(0)->isChecked());
        session.Option(0)->click();
        QVERIFY(!session.Option(2)->isChecked());

        // The buttons stand at the right, 検索 on top; the options one above
        // the other, the first on top.
        const auto at = [&session](QWidget* control) { return control->mapTo(session.window, QPoint(0, 0)); };
        QVERIFY(at(session.Command(0)).y() < at(session.Command(1)).y());
        QVERIFY(at(session.Command(0)).x() > at(session.Text()).x() + session.Text()->width() / 2);
        QVERIFY(at(session.Option(0)).y() < at(session.Option(2)).y());
    }

    void Search_data()
    {
        QTest::addColumn<QByteArray>("diary");
        QTest::addColumn<int>("shownBefore");
        QTest::addColumn<bool>("fromCurrent");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("page");
        // Where the selection starts in the box; -1 when nothing is found.
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("selected");

        QTest::newRow("page 7 of 10") << WordOn({7}) << 10 << false << Word << 7 << 7 << Word;
        QTest::newRow("page 7 of 10, shown from page 3") << WordOn({7}) << 3 << false << Word << 7 << 7 << Word;
        QTest::newRow("from the first page finds the first") << WordOn({7, 9}) << 9 << false << Word << 7 << 7 << Word;
        QTest::newRow("from page 7 finds the next page") << WordOn({7, 9}) << 7 << true << Word << 9 << 7 << Word;
        QTest::newRow("from page 7 with no page after") << WordOn({7}) << 7 << true << Word << 10 << -1 << QString();
        QTest::newRow("from page 6 finds page 7") << WordOn({7}) << 6 << true << Word << 7 << 7 << Word;
        QTest::newRow("nothing found ends on the last page")
            << WordOn({7}) << 4 << false << QStringLiteral("雪景色") << 10 << -1 << QString();
        QTest::newRow("only in the signature")
            << WordOn({7}) << 5 << false << QStringLiteral("空野太郎") << 10 << -1 << QString();
        QTest::newRow("only in the weather")
            << WordOn({7}) << 5 << false << QStringLiteral("晴れ") << 10 << -1 << QString();
        QTest::newRow("only in the date")
            << WordOn({7}) << 5 << false << QStringLiteral("11月7日") << 10 << -1 << QString();

        const QByteArray lines = TenPages(
            {QStringLiteral("朝"), QStringLiteral("あ\r\nい\r\nう紅葉狩り"), QStringLiteral("紅葉狩り、また紅葉狩り")});
        QTest::newRow("on the third line of a CR LF body") << lines << 10 << false << Word << 2 << 5 << Word;
        QTest::newRow("the first of two on a page") << lines << 2 << true << Word << 3 << 0 << Word;

        const QByteArray cases =
            TenPages({QStringLiteral("abc"), QStringLiteral("Ａ"), QStringLiteral("表示"), QStringLiteral("ｃ\\"),
                      QStringLiteral("表\\"), QStringLiteral("3〜5時"), QStringLiteral("ソフト")});
        QTest::newRow("Abc does not find abc")
            << cases << 10 << false << QStringLiteral("Abc") << 10 << -1 << QString();
        QTest::newRow("abc finds abc") << cases << 10 << false << QStringLiteral("abc") << 1 << 0
                                       << QStringLiteral("abc");
        QTest::newRow("A does not find Ａ") << cases << 10 << false << QStringLiteral("A") << 10 << -1 << QString();
        QTest::newRow("a backslash, not the byte inside 表")
            << cases << 10 << false << QStringLiteral("\\") << 4 << 1 << QStringLiteral("\\");
        QTest::newRow("a backslash after 表")
            << cases << 4 << true << QStringLiteral("\\") << 5 << 1 << QStringLiteral("\\");
        QTest::newRow("ソ, not the bytes of ｃ and a backslash")
            << cases << 10 << false << QStringLiteral("ソ") << 7 << 0 << QStringLiteral("ソ");
        QTest::newRow("typed wave dash") << cases << 10 << false << QStringLiteral("〜") << 6 << 1
                                         << QStringLiteral("～");

        const QByteArray blanks =
            TenPages({QString(), QStringLiteral("   "), QStringLiteral("三日目"), QStringLiteral("四日目")});
        QTest::newRow("empty text, first body not blank") << blanks << 10 << false << QString() << 3 << 0 << QString();
        QTest::newRow("empty text from the current page") << blanks << 3 << true << QString() << 4 << 0 << QString();
    }
    void Search()
    {
        QFETCH(QByteArray, diary);
        QFETCH(int, shownBefore);
        QFETCH(bool, fromCurrent);
        QFETCH(QString, text);
        QFETCH(int, page);
        QFETCH(int, start);
        QFETCH(QString, selected);
        Session session(diary);
        QVERIFY(session.Started());
        session.Show(shownBefore);
        QCOMPARE(session.CurrentPage(), shownBefore);
        // The user comes to the search window and presses 検索.
        QVERIFY(Activate(*session.window));

        session.Search(text, fromCurrent);

        QCOMPARE(session.CurrentPage(), page);
        QCOMPARE(session.StatusLine(), StatusLine(10, page));
        QCOMPARE(session.SliderPosition(), page);
        QCOMPARE(session.CalendarDate(), QDate(2026, 11, page));
        QCOMPARE(session.form->FieldText(EntryField::Date), QStringLiteral("2026年11月%1日").arg(page));
        QVERIFY(session.test.prompter.shown.empty());
        const QTextCursor cursor = session.Body()->textCursor();
        if (start < 0) {
            QCOMPARE(session.test.prompter.beeps, 0);
            QVERIFY(!cursor.hasSelection());
            // Nothing moved: the search window keeps the keys.
            QCoreApplication::processEvents();
            QCOMPARE(QApplication::activeWindow(), session.window.data());
        } else {
            QCOMPARE(session.test.prompter.beeps, 1);
            QCOMPARE(cursor.selectionStart(), start);
            QCOMPARE(cursor.selectedText(), selected);
            // What the user types next goes into the body.
            QTRY_COMPARE(QApplication::activeWindow(), session.form.get());
            QVERIFY(session.Body()->hasFocus());
            QCOMPARE(QApplication::focusWidget(), session.Body());
        }
        // Viewing pages writes nothing.
        QCOMPARE(session.test.DiaryBytes(), session.Diary());
    }

    // Searching on from the last page has nowhere to go.
    void NothingChangesFromTheLastPage()
    {
        Session session(WordOn({7, 10}));
        QVERIFY(session.Started());
        session.Body()->selectAll();
        QTest::keyClicks(session.Body(), QStringLiteral("memo"));
        QVERIFY(Activate(*session.window));

        session.Search(Word, true);

        QCOMPARE(session.CurrentPage(), 10);
        QCOMPARE(session.StatusLine(), StatusLine(10, 10));
        QCOMPARE(session.form->FieldText(EntryField::Body), QStringLiteral("memo"));
        QCOMPARE(session.test.prompter.beeps, 0);
        QVERIFY(session.test.prompter.shown.empty());
        QCOMPARE(QApplication::activeWindow(), session.window.data());
        QCOMPARE(session.History(), QStringList{Word});
        QCOMPARE(session.test.DiaryBytes(), session.Diary());
    }

    // The page shown when the search starts is stored first, as stepping
    // stores it: what was typed there is in the file and comes back.
    void EditsOnTheShownPageAreStoredFirst_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("page");
        QTest::newRow("found on page 7") << Word << 7;
        QTest::newRow("nothing found") << QStringLiteral("雪景色") << 10;
    }
    void EditsOnTheShownPageAreStoredFirst()
    {
        QFETCH(QString, text);
        QFETCH(int, page);
        Session session(WordOn({7}));
        QVERIFY(session.Started());
        session.Body()->selectAll();
        QTest::keyClicks(session.Body(), QStringLiteral("memo"));

        session.Search(text);
        QCOMPARE(session.CurrentPage(), page);
        session.Show(10);

        QCOMPARE(session.form->FieldText(EntryField::Body), QStringLiteral("memo"));
        const QByteArray file = session.test.DiaryBytes();
        QCOMPARE(file.left(9 * DiaryPage::RecordLength), session.Diary().left(9 * DiaryPage::RecordLength));
        QVERIFY(DiaryBuilder::RecordOf(file, 10).mid(90).startsWith("memo "));
    }

    void EveryPressIsKeptInTheList()
    {
        Session session(WordOn({7}));
        QVERIFY(session.Started());
        session.Search(Word);
        session.Search(Word, true);
        session.Search(QString());
        session.Search(Word);
        // From the current position on the last page: nothing is searched,
        // but the text is kept all the same.
        session.Search(QStringLiteral("abc"), true);
        // Enter in the text box presses 検索.
        session.Option(0)->click();
        session.Text()->setEditText(QStringLiteral("夜"));
        QTest::keyClick(session.Text()->lineEdit(), Qt::Key_Return);

        QCOMPARE(session.History(),
                 (QStringList{Word, Word, QString(), Word, QStringLiteral("abc"), QStringLiteral("夜")}));
        QCOMPARE(session.Text()->currentText(), QStringLiteral("夜"));
        QCOMPARE(session.CurrentPage(), 7);
        QCOMPARE(session.test.prompter.beeps, 4);
    }

    // A shorter text typed after a longer one is searched as typed.
    void TypedTextIsSearchedAsTyped()
    {
        Session session(TenPages({QStringLiteral("abc"), QStringLiteral("abcdef")}));
        QVERIFY(session.Started());
        session.Search(QStringLiteral("abcdef"));
        QCOMPARE(session.CurrentPage(), 2);

        QVERIFY(Activate(*session.window));
        session.Text()->lineEdit()->clear();
        session.Text()->lineEdit()->setFocus();
        QTest::keyClicks(session.Text()->lineEdit(), QStringLiteral("abc"));
        QCOMPARE(session.Text()->currentText(), QStringLiteral("abc"));
        QTest::mouseClick(session.Command(0), Qt::LeftButton);

        QCOMPARE(session.CurrentPage(), 1);
        QCOMPARE(session.Body()->textCursor().selectedText(), QStringLiteral("abc"));
        QCOMPARE(session.History(), (QStringList{QStringLiteral("abcdef"), QStringLiteral("abc")}));
    }

    void OpensOnce_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("menu entry") << QStringLiteral("menu");
        QTest::newRow("Ctrl+F") << QStringLiteral("key");
    }
    void OpensOnce()
    {
        QFETCH(QString, way);
        Session session(WordOn({7}), false);
        QVERIFY(session.form);
        QVERIFY(!session.form->Commands().OpenSearchWindow());
        auto* entry = session.form->findChild<QAction*>(QStringLiteral("menuSeratch_FileSeratch"));
        QVERIFY(entry);
        QCOMPARE(entry->text(), QStringLiteral("この日記帳の全てを検索"));
        const auto open = [&] {
            if (way == QStringLiteral("menu")) {
                entry->trigger();
                return true;
            }
            if (!Activate(*session.form))
                return false;
            QTest::keyClick(session.form.get(), Qt::Key_F, Qt::ControlModifier);
            return true;
        };

        QVERIFY(open());
        session.window = session.form->Commands().OpenSearchWindow();
        QVERIFY(session.Started());
        session.Search(Word);
        QCOMPARE(session.CurrentPage(), 7);
        session.Option(2)->click();

        // A second time shows the same window, as it was left.
        const QPointer<SearchWindow> first = session.window;
        QVERIFY(open());
        QCOMPARE(session.form->Commands().OpenSearchWindow(), first.data());
        QVERIFY(first->isVisible());
        QCOMPARE(session.form->findChildren<SearchWindow*>().size(), 1);
        QCOMPARE(session.History(), QStringList{Word});
        QVERIFY(session.Option(2)->isChecked());
    }

    // Closing forgets the texts searched and the way chosen.
    void ClosingForgetsTheWindow()
    {
        Session session(WordOn({7}));
        QVERIFY(session.Started());
        session.Search(Word);
        session.Option(2)->click();
        QTest::mouseClick(session.Command(1), Qt::LeftButton);
        QVERIFY(!session.window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!session.window);
        QVERIFY(!session.form->Commands().OpenSearchWindow());
        // The page found stays shown.
        QCOMPARE(session.CurrentPage(), 7);
        QCOMPARE(session.StatusLine(), StatusLine(10, 7));

        session.form->Commands().ShowSearchWindow();
        session.window = session.form->Commands().OpenSearchWindow();
        QVERIFY(session.Started());
        QCOMPARE(session.Text()->count(), 0);
        QCOMPARE(session.Text()->currentText(), QString());
        QVERIFY(session.Option(0)->isChecked());
    }

    // The hit is selected in the body: the window opens where it leaves the
    // body free, and stays on the screen.
    void OpensClearOfTheBody_data()
    {
        QTest::addColumn<QRect>("mainWindow");
        QTest::newRow("room on the right") << QRect(10, 10, 520, 420);
        QTest::newRow("room on the left only") << QRect(270, 10, 520, 420);
        QTest::newRow("no room beside") << QRect(0, 0, 800, 560);
    }
    void OpensClearOfTheBody()
    {
        QFETCH(QRect, mainWindow);
        Session session(WordOn({7}), false);
        QVERIFY(session.form);
        session.form->setGeometry(mainWindow);
        session.form->Commands().ShowSearchWindow();
        session.window = session.form->Commands().OpenSearchWindow();
        QVERIFY(session.Started());
        session.Search(Word);
        QCOMPARE(session.Body()->textCursor().selectedText(), Word);
        const QRect body(session.Body()->mapToGlobal(QPoint(0, 0)), session.Body()->size());
        QVERIFY(!session.window->frameGeometry().intersects(body));
        QVERIFY(session.form->screen()->availableGeometry().contains(session.window->frameGeometry()));
    }

    // あいまい検索: the tester's pages, each word in another form.
    void FuzzySearch_data()
    {
        QTest::addColumn<bool>("fuzzy");
        QTest::addColumn<int>("shownBefore");
        QTest::addColumn<bool>("fromCurrent");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("selected");
        QTest::newRow("かめら finds カメラ")
            << true << 10 << false << QStringLiteral("かめら") << 1 << QStringLiteral("カメラ");
        QTest::newRow("かめら again finds ｶﾒﾗ")
            << true << 1 << true << QStringLiteral("かめら") << 2 << QStringLiteral("ｶﾒﾗ");
        QTest::newRow("usb finds ＵＳＢ")
            << true << 10 << false << QStringLiteral("usb") << 3 << QStringLiteral("ＵＳＢ");
        QTest::newRow("ｶﾞｽ finds ガス") << true << 10 << false << QStringLiteral("ｶﾞｽ") << 4 << QStringLiteral("ガス");
        QTest::newRow("がす finds ｶﾞｽ whole")
            << true << 4 << true << QStringLiteral("がす") << 5 << QStringLiteral("ｶﾞｽ");
        QTest::newRow("off, かめら finds nothing")
            << false << 4 << false << QStringLiteral("かめら") << 10 << QString();
    }
    void FuzzySearch()
    {
        QFETCH(bool, fuzzy);
        QFETCH(int, shownBefore);
        QFETCH(bool, fromCurrent);
        QFETCH(QString, text);
        QFETCH(int, page);
        QFETCH(QString, selected);
        Session session(
            TenPages({QStringLiteral("新しいカメラ"), QStringLiteral("古いｶﾒﾗ"), QStringLiteral("新しいＵＳＢ"),
                      QStringLiteral("今月のガス代"), QStringLiteral("先月のｶﾞｽ代")}));
        QVERIFY(session.Started());
        QVERIFY(!session.Fuzzy()->isChecked());
        session.Fuzzy()->setChecked(fuzzy);
        session.Show(shownBefore);

        session.Search(text, fromCurrent);

        QCOMPARE(session.CurrentPage(), page);
        QCOMPARE(session.StatusLine(), StatusLine(10, page));
        QCOMPARE(session.test.prompter.beeps, selected.isEmpty() ? 0 : 1);
        const QTextCursor cursor = session.Body()->textCursor();
        QCOMPARE(cursor.selectedText(), selected);
        // Each word comes after a word of two or three characters.
        if (!selected.isEmpty())
            QCOMPARE(cursor.selectionStart(), page == 2 ? 2 : 3);
        QVERIFY(session.test.prompter.shown.empty());
    }

    // Off at first; once ticked it stays ticked in the next windows and runs.
    void FuzzyBoxIsKept()
    {
        Session session(WordOn({7}));
        QVERIFY(session.Started());
        QCOMPARE(session.Fuzzy()->text(),
                 QStringLiteral("あいまい検索（全角/半角・かな/カナ・大文字/小文字を区別しない）"));
        QVERIFY(session.Fuzzy()->mapTo(session.window, QPoint()).y() >
                session.Option(2)->mapTo(session.window, QPoint()).y());
        QVERIFY(!session.test.Stored(QStringLiteral("Tools"), QStringLiteral("FuzzySearch")));
        session.Fuzzy()->click();
        QCOMPARE(session.test.Read(QStringLiteral("Tools"), QStringLiteral("FuzzySearch")), QStringLiteral("1"));

        QTest::mouseClick(session.Command(1), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        session.form->Commands().ShowSearchWindow();
        session.window = session.form->Commands().OpenSearchWindow();
        QVERIFY(session.Fuzzy()->isChecked());
        session.Fuzzy()->click();
        QCOMPARE(session.test.Read(QStringLiteral("Tools"), QStringLiteral("FuzzySearch")), QStringLiteral("0"));
        QVERIFY(session.test.prompter.shown.empty());
    }

    // The user is told the choice will not outlast the run; it holds until then.
    void FuzzyBoxOnAnUnwritableStore()
    {
        Session session(TenPages({QStringLiteral("カメラ")}));
        QVERIFY(session.Started());
        const WriteProtection protection(QFileInfo(session.test.profile.SettingsFile()).absolutePath());
        if (!protection.IsOn())
            QSKIP(qPrintable(WriteProtection::WhyNot()));
        session.test.prompter.AnswerMessage(Prompter::Answer::Ok);

        session.Fuzzy()->click();

        QCOMPARE(session.test.prompter.shown.size(), size_t(1));
        QCOMPARE(session.test.prompter.LastMessage().title, QStringLiteral("設定の保存"));
        QVERIFY(session.Fuzzy()->isChecked());
        session.Search(QStringLiteral("かめら"));
        QCOMPARE(session.CurrentPage(), 1);
    }

    // 一覧表示: every page holding the text, newest first, with its date and
    // the line of the hit; the page shown stays as it was.
    void ListsEveryHitNewestFirst_data()
    {
        QTest::addColumn<bool>("fuzzy");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        const QString line = QStringLiteral("夜は%1の話をした。").arg(Word);
        QTest::newRow("exact") << false << Word
                               << QStringList{QStringLiteral("2026年11月9日|") + line,
                                              QStringLiteral("2026年11月7日|") + line,
                                              QStringLiteral("2026年11月2日|") + line};
        QTest::newRow("nothing found") << true << QStringLiteral("雪景色") << QStringList{};
        QTest::newRow("folded kana") << true << QStringLiteral("ノ話ヲ")
                                     << QStringList{QStringLiteral("2026年11月9日|") + line,
                                                    QStringLiteral("2026年11月7日|") + line,
                                                    QStringLiteral("2026年11月2日|") + line};
        QTest::newRow("folded width") << true << QStringLiteral("ＯＫ")
                                      << QStringList{QStringLiteral("2026年11月10日|10日目。ok")};
    }
    void ListsEveryHitNewestFirst()
    {
        QFETCH(bool, fuzzy);
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        QStringList bodies;
        for (int page = 1; page <= 10; ++page)
            bodies << (page == 2 || page == 7 || page == 9
                           ? QStringLiteral("%1日目。\r\n夜は%2の話をした。").arg(page).arg(Word)
                           : QStringLiteral("%1日目。").arg(page));
        bodies[9] += QStringLiteral("ok");
        Session session(TenPages(bodies));
        QVERIFY(session.Started());
        QVERIFY(!session.ListAll()->isChecked());
        QVERIFY(!session.Hits()->isVisible());
        session.Fuzzy()->setChecked(fuzzy);
        session.ListAll()->click();
        QVERIFY(session.Hits()->isVisible());
        QVERIFY(session.window->width() >= 680);

        session.Search(text);

        QTRY_VERIFY(!session.window->findChild<QPushButton*>(QStringLiteral("cmdStop"))->isEnabled());
        QCOMPARE(session.Rows(), rows);
        QCOMPARE(session.HitCount(), rows.isEmpty() ? QStringLiteral("見つかりませんでした。")
                                                    : QStringLiteral("%1 ページ").arg(rows.size()));
        QCOMPARE(session.CurrentPage(), 10);
        QCOMPARE(session.test.prompter.beeps, 0);
        QCOMPARE(session.test.DiaryBytes(), session.Diary());
    }

    // 中止 between two reads: the rows found so far stay, no more come.
    void StopEndsTheListing()
    {
        DiaryBuilder diary;
        for (int page = 1; page <= 300; ++page)
            diary.Add({QStringLiteral("2026年1月1日"), QString(), QString(), QString(), QString(), QString(),
                       page == 5 || page == 300 ? Word : QStringLiteral("朝")});
        Session session(diary.Bytes());
        QVERIFY(session.Started());
        session.ListAll()->click();
        session.Search(Word);
        auto* stop = session.window->findChild<QPushButton*>(QStringLiteral("cmdStop"));
        // The first row shows before the window waits for the next read.
        QCOMPARE(session.Hits()->topLevelItemCount(), 1);
        QVERIFY(stop->isEnabled());

        QTest::mouseClick(stop, Qt::LeftButton);
        QTest::qWait(50);

        QCOMPARE(session.Hits()->topLevelItemCount(), 1);
        QVERIFY(!stop->isEnabled());
        QCOMPARE(session.HitCount(), QStringLiteral("中止しました。1 ページ"));
    }

    // Enter on a row stores what was typed on the shown page, then shows the
    // row's page with the hit selected.
    void EnterOnARowShowsItsPage()
    {
        Session session(WordOn({2, 7, 9}));
        QVERIFY(session.Started());
        session.ListAll()->click();
        session.Search(Word);
        QTRY_COMPARE(session.Hits()->topLevelItemCount(), 3);
        // Typed while the list stands, after the search stored the page.
        session.Body()->selectAll();
        QTest::keyClicks(session.Body(), QStringLiteral("memo"));
        QVERIFY(Activate(*session.window));
        session.Hits()->setFocus();
        session.Hits()->setCurrentItem(session.Hits()->topLevelItem(1));

        QTest::keyClick(session.Hits(), Qt::Key_Return);

        QTRY_COMPARE(session.CurrentPage(), 7);
        QCOMPARE(session.Body()->textCursor().selectedText(), Word);
        QCOMPARE(session.Body()->textCursor().selectionStart(), 7);
        QVERIFY(DiaryBuilder::RecordOf(session.test.DiaryBytes(), 10).mid(90).startsWith("memo "));
        // Enter showed the page only: no search ran again.
        QCOMPARE(session.History(), QStringList{Word});
        QCOMPARE(session.Hits()->topLevelItemCount(), 3);
    }

    void EscCloses()
    {
        Session session(WordOn({7}));
        QVERIFY(session.Started());
        session.Search(Word);
        QVERIFY(Activate(*session.window));
        QTest::mouseClick(session.Text()->lineEdit(), Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), session.Text());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!session.window);
    }
};

SORAFUMI_TEST(SearchWindowTest)
#include "SearchWindowTest.moc"
