#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/Cp932.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QTextCharFormat>

namespace {

constexpr int RecordLength = DiaryPage::RecordLength;

// Five pages of November 2026; pages 2 and 3 carry the same day.
DiaryBuilder NovemberDiary()
{
    DiaryBuilder diary;
    const QString owner = QStringLiteral("空野太郎");
    const QString evening = QStringLiteral("午後 9:15:00");
    diary.Add({QStringLiteral("2026年11月2日"), QStringLiteral("月曜日"), QStringLiteral("0"), owner, evening,
               QStringLiteral("晴れ"), QStringLiteral("一ページ目")});
    diary.Add({QStringLiteral("2026年11月16日"), QStringLiteral("月曜日"), QStringLiteral("1500"), owner, evening,
               QStringLiteral("雨"), QStringLiteral("二ページ目")});
    diary.Add({QStringLiteral("2026年11月16日"), QStringLiteral("月曜日"), QStringLiteral("0"), owner, evening,
               QStringLiteral("雨"), QStringLiteral("三ページ目")});
    diary.Add({QStringLiteral("2026年11月20日"), QStringLiteral("金曜日"), QStringLiteral("0"), owner, evening,
               QStringLiteral("くもり"), QStringLiteral("四ページ目")});
    diary.Add({QStringLiteral("2026年11月30日"), QStringLiteral("月曜日"), QStringLiteral("0"), owner, evening,
               QStringLiteral("雪"), QStringLiteral("五ページ目")});
    return diary;
}

QSlider* Slider(const MainWindow& form)
{
    return form.findChild<QSlider*>(QStringLiteral("Slider1"));
}

QCalendarWidget* Calendar(const MainWindow& form)
{
    return form.findChild<QCalendarWidget*>(QStringLiteral("Calendar"));
}

// Clicks a day of the month the calendar shows, with the mouse, as the user
// would. The day must appear only once on the sheet (15 to 22 always do).
bool ClickDay(QCalendarWidget* calendar, int day)
{
    auto* view = calendar->findChild<QTableView*>();
    if (!view)
        return false;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex cell = model->index(row, column);
            if (model->data(cell, Qt::DisplayRole).toString() != QString::number(day))
                continue;
            const QPoint centre = view->visualRect(cell).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
            return true;
        }
    }
    return false;
}

// What happens to the diary before the marks are looked at.
enum class Change { StepBack, DeleteDay, DeleteOneOfTwo, RedateAndStore, RedateOnly, Add, OtherMonth };

// The days of the shown month the calendar marks, once the marks
// waiting for the event loop were read.
QList<int> MarkedDays(QCalendarWidget* calendar)
{
    QCoreApplication::sendPostedEvents();
    const QDate first(calendar->yearShown(), calendar->monthShown(), 1);
    QList<int> days;
    for (QDate day = first; day.month() == first.month(); day = day.addDays(1)) {
        const QTextCharFormat format = calendar->dateTextFormat(day);
        if (format.fontWeight() == QFont::Bold && format.fontUnderline())
            days.append(day.day());
    }
    return days;
}

} // namespace

class CalendarTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void NoDiaryOpenSaysSoAndShowsNothing()
    {
        TestApp test;
        test.RegisterOwner();
        // A window whose load never ran has no diary open.
        MainWindow form(test.context);
        const QString statusBefore = PageStatus(form);
        test.prompter.AnswerMessage(Prompter::Answer::Ok);

        form.Store().ShowDay(QDate(2026, 11, 16));

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(1));
        const Prompter::Box& box = test.prompter.LastMessage();
        QCOMPARE(box.text, QStringLiteral("１件も日記がありません。"));
        QCOMPARE(box.title, QStringLiteral("日記帳Sorafumi"));
        QCOMPARE(box.buttons, Prompter::Buttons::Ok);
        QCOMPARE(box.icon, Prompter::Icon::Critical);
        QCOMPARE(PageStatus(form), statusBefore);
        QCOMPARE(form.FieldText(EntryField::Date), QString());
        QCOMPARE(form.FieldText(EntryField::Body), QString());
        QCOMPARE(form.Store().CurrentPage(), 0);
        QCOMPARE(test.DiaryBytes(), QByteArray());
    }

    void ShowsTheFirstPageOfTheDay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("expense");
        QTest::newRow("first page") << QDate(2026, 11, 2) << 1 << QStringLiteral("一ページ目") << QString();
        QTest::newRow("two pages of one day: the lower")
            << QDate(2026, 11, 16) << 2 << QStringLiteral("二ページ目") << QStringLiteral("\\1,500");
        QTest::newRow("a page in between") << QDate(2026, 11, 20) << 4 << QStringLiteral("四ページ目") << QString();
        QTest::newRow("the page already shown")
            << QDate(2026, 11, 30) << 5 << QStringLiteral("五ページ目") << QString();
    }
    void ShowsTheFirstPageOfTheDay()
    {
        QFETCH(QDate, date);
        QFETCH(int, page);
        QFETCH(QString, body);
        QFETCH(QString, expense);
        TestApp test;
        const DiaryBuilder diary = NovemberDiary();
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);

        form->Store().ShowDay(date);

        QCOMPARE(test.prompter.shown.size(), size_t(0));
        QCOMPARE(form->Store().CurrentPage(), page);
        QCOMPARE(form->FieldText(EntryField::Date),
                 QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day()));
        QCOMPARE(form->FieldText(EntryField::Body), body);
        QCOMPARE(form->FieldText(EntryField::Expense), expense);
        QCOMPARE(PageStatus(*form), StatusLine(5, page));
        QCOMPARE(Slider(*form)->maximum(), 5);
        QCOMPARE(Slider(*form)->value(), page);
        QCOMPARE(Calendar(*form)->selectedDate(), date);
        // Looking writes nothing.
        QVERIFY(form->Store().StorePage());
        QCOMPARE(test.DiaryBytes(), diary.Bytes());
    }

    // The way the user does it: the mouse on a day of the calendar.
    void ClickOnTheCalendarItself_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("asked");
        QTest::newRow("a day with two pages") << 16 << 2 << false;
        QTest::newRow("a day without a page") << 18 << 5 << true;
    }
    void ClickOnTheCalendarItself()
    {
        QFETCH(int, day);
        QFETCH(int, page);
        QFETCH(bool, asked);
        TestApp test;
        const DiaryBuilder diary = NovemberDiary();
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);
        QCalendarWidget* calendar = Calendar(*form);
        calendar->setCurrentPage(2026, 11);
        if (asked)
            test.prompter.AnswerMessage(Prompter::Answer::No);

        QVERIFY(ClickDay(calendar, day));

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(asked ? 1 : 0));
        if (asked)
            QCOMPARE(test.prompter.LastMessage().text,
                     QStringLiteral("2026/11/%1 の日記はありませんでした。この日の日記をつけますか？").arg(day));
        QCOMPARE(form->Store().CurrentPage(), page);
        QCOMPARE(PageStatus(*form), StatusLine(5, page));
        QCOMPARE(test.DiaryBytes(), diary.Bytes());
    }

    void NoPageForTheDayAnsweredNo()
    {
        TestApp test;
        const DiaryBuilder diary = NovemberDiary();
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);
        form->Store().ShowDay(QDate(2026, 11, 2));
        QCOMPARE(PageStatus(*form), StatusLine(5, 1));
        test.prompter.AnswerMessage(Prompter::Answer::No);

        form->Store().ShowDay(QDate(2001, 5, 14));

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(1));
        const Prompter::Box& box = test.prompter.LastMessage();
        QCOMPARE(box.text, QStringLiteral("2001/05/14 の日記はありませんでした。この日の日記をつけますか？"));
        QCOMPARE(box.title, QStringLiteral("日記帳Sorafumi"));
        QCOMPARE(box.buttons, Prompter::Buttons::YesNo);
        QCOMPARE(box.icon, Prompter::Icon::Question);
        // The last page the scan went through stays.
        QCOMPARE(form->Store().CurrentPage(), 5);
        QCOMPARE(form->FieldText(EntryField::Body), QStringLiteral("五ページ目"));
        QCOMPARE(PageStatus(*form), StatusLine(5, 5));
        QCOMPARE(Slider(*form)->value(), 5);
        QCOMPARE(Calendar(*form)->selectedDate(), QDate(2026, 11, 30));
        QVERIFY(form->Store().StorePage());
        QCOMPARE(test.DiaryBytes(), diary.Bytes());
    }

    void NoPageForTheDayAnsweredYes_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("shortDate");
        QTest::addColumn<QString>("dateText");
        QTest::addColumn<QString>("weekday");
        QTest::newRow("2001/05/14") << QDate(2001, 5, 14) << QStringLiteral("2001/05/14")
                                    << QStringLiteral("2001年5月14日") << QStringLiteral("月曜日");
        QTest::newRow("leap day") << QDate(2024, 2, 29) << QStringLiteral("2024/02/29")
                                  << QStringLiteral("2024年2月29日") << QStringLiteral("木曜日");
        QTest::newRow("last day of a year") << QDate(1999, 12, 31) << QStringLiteral("1999/12/31")
                                            << QStringLiteral("1999年12月31日") << QStringLiteral("金曜日");
        QTest::newRow("a Sunday after today") << QDate(2026, 12, 13) << QStringLiteral("2026/12/13")
                                              << QStringLiteral("2026年12月13日") << QStringLiteral("日曜日");
    }
    void NoPageForTheDayAnsweredYes()
    {
        QFETCH(QDate, date);
        QFETCH(QString, shortDate);
        QFETCH(QString, dateText);
        QFETCH(QString, weekday);
        TestApp test;
        const DiaryBuilder diary = NovemberDiary();
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);
        test.prompter.AnswerMessage(Prompter::Answer::Yes);

        form->Store().ShowDay(date);

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(1));
        const Prompter::Box& box = test.prompter.LastMessage();
        QCOMPARE(box.text, shortDate + QStringLiteral(" の日記はありませんでした。この日の日記をつけますか？"));
        QCOMPARE(box.title, QStringLiteral("日記帳Sorafumi"));
        QCOMPARE(box.buttons, Prompter::Buttons::YesNo);
        QCOMPARE(box.icon, Prompter::Icon::Question);

        // The new page was written for today; the clicked day is only shown.
        const QString owner = QStringLiteral("空野太郎");
        QByteArray file = test.DiaryBytes();
        QCOMPARE(file.size(), 6 * RecordLength);
        QCOMPARE(file.left(5 * RecordLength), diary.Bytes());
        QCOMPARE(DiaryBuilder::RecordOf(file, 6), DiaryBuilder::Page({QStringLiteral("2026年12月7日"),
                                                                      QStringLiteral("月曜日"),
                                                                      QStringLiteral("0"),
                                                                      owner,
                                                                      QStringLiteral("午前 9:30:00"),
                                                                      {},
                                                                      {}})
                                                      .ToBytes());
        QCOMPARE(form->FieldText(EntryField::Date), dateText);
        QCOMPARE(form->FieldText(EntryField::Time), QStringLiteral("午前 12:00:00"));
        QCOMPARE(form->FieldText(EntryField::Weekday), weekday);
        QCOMPARE(form->FieldText(EntryField::Weather), QString());
        QCOMPARE(form->FieldText(EntryField::Expense), QString());
        QCOMPARE(form->FieldText(EntryField::Signature), owner);
        QCOMPARE(form->FieldText(EntryField::Body), QString());
        QCOMPARE(form->Store().CurrentPage(), 6);
        QCOMPARE(PageStatus(*form), StatusLine(6, 6));
        QCOMPARE(Slider(*form)->maximum(), 6);
        QCOMPARE(Slider(*form)->value(), 6);
        // The calendar follows the page as it was loaded.
        QCOMPARE(Calendar(*form)->selectedDate(), QDate(2026, 12, 7));
        QVERIFY(form->Store().PageChanged());

        QVERIFY(form->Store().StorePage());
        file = test.DiaryBytes();
        QCOMPARE(file.size(), 6 * RecordLength);
        QCOMPARE(file.left(5 * RecordLength), diary.Bytes());
        QCOMPARE(
            DiaryBuilder::RecordOf(file, 6),
            DiaryBuilder::Page({dateText, weekday, QStringLiteral("0"), owner, QStringLiteral("午前 12:00:00"), {}, {}})
                .ToBytes());

        // The stored page is now found by its own day.
        form->Store().ShowDay(QDate(2026, 11, 30));
        form->Store().ShowDay(date);
        QCOMPARE(test.prompter.shown.size(), size_t(1));
        QCOMPARE(form->Store().CurrentPage(), 6);
        QCOMPARE(Calendar(*form)->selectedDate(), date);
    }

    // A date box the user rewrote as free text, once stored, no longer names a
    // day: stored with a save, or by the click itself, as stepping stores.
    void DateBoxRewrittenAsFreeText_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::newRow("saved first") << true;
        QTest::newRow("stored by the click") << false;
    }
    void DateBoxRewrittenAsFreeText()
    {
        QFETCH(bool, saved);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(NovemberDiary().Bytes());
        QVERIFY(form);
        form->Store().ShowDay(QDate(2026, 11, 20));
        QCOMPARE(form->Store().CurrentPage(), 4);
        form->SetFieldText(EntryField::Date, QStringLiteral("遠足の日"));
        if (saved)
            QVERIFY(form->Store().StorePage());
        test.prompter.AnswerMessage(Prompter::Answer::No);

        form->Store().ShowDay(QDate(2026, 11, 20));

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(1));
        QCOMPARE(form->Store().CurrentPage(), 5);
        QCOMPARE(PageStatus(*form), StatusLine(5, 5));
        QCOMPARE(DiaryBuilder::RecordOf(test.DiaryBytes(), 4).left(15),
                 Cp932::EncodeField(QStringLiteral("遠足の日"), 15));
        form->Store().ShowDay(QDate(2026, 11, 16));
        QCOMPARE(form->Store().CurrentPage(), 2);
    }

    // A click stores the edits of the page shown before, as stepping does,
    // then shows the day's page as it is on disk.
    void UnstoredEditsAreStoredFirst_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("answer"); // -1: no question expected
        QTest::addColumn<int>("page");
        QTest::newRow("the day of the page shown") << QDate(2026, 11, 30) << -1 << 5;
        QTest::newRow("another page") << QDate(2026, 11, 2) << -1 << 1;
        QTest::newRow("a day without a page, No") << QDate(2026, 11, 18) << int(Prompter::Answer::No) << 5;
        QTest::newRow("a day without a page, Yes") << QDate(2026, 11, 18) << int(Prompter::Answer::Yes) << 6;
    }
    void UnstoredEditsAreStoredFirst()
    {
        QFETCH(QDate, date);
        QFETCH(int, answer);
        QFETCH(int, page);
        TestApp test;
        const DiaryBuilder diary = NovemberDiary();
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);
        static_cast<QPlainTextEdit*>(EntryBox(*form, 6))->setPlainText(QStringLiteral("書きかけの文"));
        static_cast<QLineEdit*>(EntryBox(*form, 3))->setText(QStringLiteral("台風"));
        if (answer >= 0)
            test.prompter.AnswerMessage(Prompter::Answer(answer));

        form->Store().ShowDay(date);

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(form->Store().CurrentPage(), page);
        const QByteArray file = test.DiaryBytes();
        QCOMPARE(file.left(4 * RecordLength), diary.Bytes().left(4 * RecordLength));
        const DiaryPage fifth = DiaryPage::FromBytes(DiaryBuilder::RecordOf(file, 5));
        QCOMPARE(fifth.Text(DiaryPage::PageBody).trimmed(), QStringLiteral("書きかけの文"));
        QCOMPARE(fifth.Text(DiaryPage::PageWeather).trimmed(), QStringLiteral("台風"));
    }

    // The marks follow what is on disk, the moment it changes.
    void MarksFollowTheDiary_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("month");
        QTest::addColumn<QList<int>>("days");
        QTest::newRow("a step back to November") << int(Change::StepBack) << 11 << QList<int>{2, 16, 20, 30};
        QTest::newRow("a day's only page deleted") << int(Change::DeleteDay) << 11 << QList<int>{2, 16, 30};
        QTest::newRow("one of a day's two pages deleted")
            << int(Change::DeleteOneOfTwo) << 11 << QList<int>{2, 16, 20, 30};
        QTest::newRow("a date rewritten and stored") << int(Change::RedateAndStore) << 11 << QList<int>{3, 16, 20, 30};
        QTest::newRow("a date rewritten, not stored") << int(Change::RedateOnly) << 11 << QList<int>{2, 16, 20, 30};
        QTest::newRow("a page added today") << int(Change::Add) << 12 << QList<int>{1, 7};
        QTest::newRow("the calendar turned to November") << int(Change::OtherMonth) << 11 << QList<int>{2, 16, 20, 30};
    }
    void MarksFollowTheDiary()
    {
        QFETCH(int, change);
        QFETCH(int, month);
        QFETCH(QList<int>, days);
        TestApp test;
        DiaryBuilder diary = NovemberDiary();
        diary.Add({QStringLiteral("2026年12月1日"),
                   QStringLiteral("火曜日"),
                   QStringLiteral("0"),
                   QStringLiteral("空野太郎"),
                   QStringLiteral("午後 9:15:00"),
                   {},
                   {}});
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);
        QCalendarWidget* calendar = Calendar(*form);
        QCOMPARE(MarkedDays(calendar), QList<int>{1});
        DiaryStore& store = form->Store();

        switch (Change(change)) {
        case Change::StepBack:
            store.PreviousPage();
            break;
        case Change::DeleteDay:
        case Change::DeleteOneOfTwo:
            store.ShowPage(Change(change) == Change::DeleteDay ? 4 : 2);
            QCOMPARE(MarkedDays(calendar), (QList<int>{2, 16, 20, 30}));
            test.prompter.AnswerMessage(Prompter::Answer::Yes);
            store.DeletePage();
            break;
        case Change::RedateAndStore:
        case Change::RedateOnly:
            store.ShowPage(1);
            QCOMPARE(MarkedDays(calendar), (QList<int>{2, 16, 20, 30}));
            form->SetFieldText(EntryField::Date, QStringLiteral("2026年11月3日"));
            store.MarkChanged();
            if (Change(change) == Change::RedateAndStore)
                QVERIFY(store.StorePage());
            break;
        case Change::Add:
            store.AddPage();
            break;
        case Change::OtherMonth:
            calendar->setCurrentPage(2026, 11);
            break;
        }

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(calendar->monthShown(), month);
        QCOMPARE(MarkedDays(calendar), days);
    }
};

SORAFUMI_TEST(CalendarTest)
#include "CalendarTest.moc"
