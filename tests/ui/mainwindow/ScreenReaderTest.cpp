#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/diary/DiaryStore.h"
#include "ui/dialogs/SearchWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/platform/Twips.h"

#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

// Pages of December 2026 (its 1st a Tuesday) on the 1st to the 5th.
DiaryBuilder FiveDays()
{
    DiaryBuilder diary;
    for (int day = 1; day <= 5; ++day)
        diary.Add({QStringLiteral("2026年12月%1日").arg(day), QStringLiteral("火曜日"), QStringLiteral("1500"),
                   QStringLiteral("空野太郎"), QStringLiteral("午後 8:00:00"), QStringLiteral("晴れ"),
                   QStringLiteral("本文%1").arg(day)});
    return diary;
}

std::unique_ptr<MainWindow> Started(TestApp& test)
{
    std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
    if (!form)
        return nullptr;
    form->show();
    QApplication::setActiveWindow(form.get());
    return QTest::qWaitForWindowActive(form.get()) ? std::move(form) : nullptr;
}

QAccessibleInterface* Accessible(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QTableView* Days(const MainWindow& form)
{
    return form.findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
}

// What the window last said through its notification line.
QString LastNotice(const QWidget& window)
{
    for (QLabel* line : window.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (Accessible(line)->role() == QAccessible::Notification)
            return Accessible(line)->text(QAccessible::Name);
    return {};
}

QString StatusBarName(const MainWindow& form)
{
    QAccessibleInterface* status = Accessible(form.findChild<QLabel*>(QStringLiteral("PageLabel")));
    return status->role() == QAccessible::StatusBar ? status->text(QAccessible::Name) : QString();
}

} // namespace

// A blind user picks a day, hears which page is shown and reads amounts.
class ScreenReaderTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    // Row -1 is the header above the columns.
    void CalendarCellsSayTheirDates_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("name");
        QTest::newRow("a day with a page") << 1 << 6 << QStringLiteral("2026年12月5日 土曜日 日記あり");
        QTest::newRow("a day without") << 2 << 2 << QStringLiteral("2026年12月8日 火曜日");
        QTest::newRow("grey, the month before") << 1 << 0 << QStringLiteral("2026年11月29日 日曜日");
        QTest::newRow("grey, the month after") << 6 << 6 << QStringLiteral("2027年1月9日 土曜日");
        QTest::newRow("header") << -1 << 1 << QStringLiteral("月");
    }
    void CalendarCellsSayTheirDates()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, name);
        TestApp test;
        const std::unique_ptr<MainWindow> form = Started(test);
        QVERIFY(form);
        QAccessibleInterface* grid = Accessible(Days(*form));
        QAccessibleInterface* cell = row < 0 ? grid->child(column + 1) : grid->tableInterface()->cellAt(row, column);
        QVERIFY(cell);
        QTRY_COMPARE(cell->text(QAccessible::Name), name);
        QCOMPARE(grid->text(QAccessible::Name), QStringLiteral("カレンダー"));
    }

    // Tab to the calendar, arrows, Enter: the day's page shows and the focus
    // stays for the next pick.
    void PickADayWithTheKeyboard()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = Started(test);
        QVERIFY(form);
        for (int step = 0; step < 40 && QApplication::focusWidget() != Days(*form); ++step)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Days(*form));
        QTest::keyClick(Days(*form), Qt::Key_Left);
        QTest::keyClick(Days(*form), Qt::Key_Left);
        QTest::keyClick(Days(*form), Qt::Key_Return);
        QCOMPARE(form->FieldText(EntryField::Date), QStringLiteral("2026年12月3日"));
        QCOMPARE(form->Store().CurrentPage(), 3);
        QCOMPARE(QApplication::focusWidget(), Days(*form));
        QCOMPARE(LastNotice(*form), QStringLiteral("2026年12月3日 木曜日 3ページ目"));
    }

    // A day without a page, given one: it is told by that day, not by the
    // day the page was made on (the 7th).
    void ANewPageIsToldByItsDay()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = Started(test);
        QVERIFY(form);
        test.prompter.AnswerMessage(Prompter::Answer::Yes);
        Q_EMIT form->findChild<QCalendarWidget*>(QStringLiteral("Calendar"))->activated(QDate(2026, 12, 8));
        QCOMPARE(LastNotice(*form), QStringLiteral("2026年12月8日 火曜日 6ページ目"));
    }

    // F2 and F3 step back and on; the status bar holds the page's date.
    void SteppingSaysTheNewPage()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = Started(test);
        QVERIFY(form);
        for (const auto& [key, date] : {std::pair(Qt::Key_F2, QStringLiteral("2026年12月4日 金曜日")),
                                        std::pair(Qt::Key_F3, QStringLiteral("2026年12月5日 土曜日"))}) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(StatusBarName(*form), date + u' ' + PageStatus(*form));
            QCOMPARE(LastNotice(*form),
                     date + u' ' + QString::number(form->Store().CurrentPage()) + QStringLiteral("ページ目"));
        }
    }

    // The buttons without a caption and the bulb say what they do.
    void UncaptionedPartsByWhatTheyDo()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = Started(test);
        QVERIFY(form);
        const auto arrow = [&form](const char* spinner, Qt::ArrowType type) -> QWidget* {
            for (QToolButton* button : form->findChild<QWidget*>(QLatin1String(spinner))->findChildren<QToolButton*>())
                if (button->arrowType() == type)
                    return button;
            return nullptr;
        };
        const std::pair<QWidget*, QString> parts[] = {
            {form->findChild<QWidget*>(QStringLiteral("qt_calendar_prevmonth")), QStringLiteral("前の月")},
            {form->findChild<QWidget*>(QStringLiteral("qt_calendar_nextmonth")), QStringLiteral("次の月")},
            {form->findChild<QWidget*>(QStringLiteral("Image2")), QStringLiteral("グレードアップ")},
            {arrow("UpDown1", Qt::UpArrow), QStringLiteral("次の天候")},
            {arrow("UpDown1", Qt::DownArrow), QStringLiteral("前の天候")},
            {arrow("UpDown2", Qt::UpArrow), QStringLiteral("フォントサイズを大きく")},
            {arrow("UpDown2", Qt::DownArrow), QStringLiteral("フォントサイズを小さく")},
        };
        for (const auto& [part, name] : parts)
            QCOMPARE(Accessible(part)->text(QAccessible::Name), name);
    }

    void SearchMissIsSaid()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = Started(test);
        QVERIFY(form);
        SearchWindow search(form->Store(), test.settings, test.prompter);
        search.findChild<QComboBox*>(QStringLiteral("cmb"))->setEditText(QStringLiteral("どこにもない"));
        search.findChildren<QPushButton*>(QStringLiteral("cmd")).front()->click();
        QCOMPARE(LastNotice(search), QStringLiteral("見つかりませんでした。"));
    }

    // The box keeps the program's "\1,500"; a screen reader says yen, and
    // hears of the focus before the box turns to its editing form.
    void ExpenseReadInYen()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = Started(test);
        QVERIFY(form);
        auto* expense = qobject_cast<QLineEdit*>(EntryBox(*form, 4));
        QCOMPARE(expense->text(), QStringLiteral("\\1,500"));
        // Qt tells a screen reader of the focus as setFocus returns.
        expense->setFocus(Qt::TabFocusReason);
        QCOMPARE(expense->text(), QStringLiteral("\\1,500"));
        QTRY_COMPARE(expense->text(), QStringLiteral("1500"));
        QCOMPARE(Accessible(expense)->text(QAccessible::Description), QStringLiteral("1,500円"));
        expense->clear();
        QCOMPARE(Accessible(expense)->text(QAccessible::Description), expense->toolTip());
    }
};

SORAFUMI_TEST(ScreenReaderTest)
#include "ScreenReaderTest.moc"
