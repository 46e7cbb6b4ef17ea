#include "ui/dialogs/stats/StatsWindow.h"
#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/diary/DiaryStore.h"
#include "core/diary/EntryField.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QBarSeries>
#include <QCalendarWidget>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

DiaryBuilder::Fields Page(QDate date, const QString& expense, const QString& body = {})
{
    return {JapaneseLocale::FormatDate(date),
            JapaneseLocale::FormatWeekday(date),
            expense,
            QStringLiteral("空野太郎"),
            QStringLiteral("午後 9:00:00"),
            QStringLiteral("晴れ"),
            body};
}

// The tester's own figures, a page whose expense is no amount, and a year
// before; the page of 2026/3/1 is shown last.
QByteArray TestersDiary()
{
    DiaryBuilder diary;
    diary.Add(Page(QDate(2025, 6, 1), QStringLiteral("100")))
        .Add(Page(QDate(2026, 1, 5), QStringLiteral("1200"), QStringLiteral("今日は晴れ。\r\n散歩")))
        .Add(Page(QDate(2026, 1, 20), QStringLiteral("800")))
        .Add(Page(QDate(2026, 2, 3), QStringLiteral("500.5")))
        .Add(Page(QDate(2026, 3, 1), QStringLiteral("abc")));
    return diary.Bytes();
}

// The program on a diary, with the window opened from the ツール menu.
struct Session
{
    explicit Session(const QByteArray& diary) : form(test.StartOwnersDiary(diary))
    {
        if (form)
            Open();
    }
    void Open()
    {
        form->findChild<QAction*>(QStringLiteral("menuTool_Stats"))->trigger();
        window = qobject_cast<StatsWindow*>(form->Commands().OpenStatsWindow());
    }
    bool Started() const { return window && window->isVisible(); }
    QString Cell(const char* table, int row, int column) const
    {
        const QTableWidgetItem* item = window->findChild<QTableWidget*>(QString::fromLatin1(table))->item(row, column);
        return item ? item->text() : QString();
    }
    QString Text(const char* label) const { return window->findChild<QLabel*>(QString::fromLatin1(label))->text(); }

    TestApp test;
    std::unique_ptr<MainWindow> form;
    StatsWindow* window = nullptr;
};

} // namespace

class StatsWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Amounts are summed as stored and rounded once to be shown; a month
    // without a page shows nothing spent and no page.
    void ShowsTheFigures()
    {
        Session session(TestersDiary());
        QVERIFY(session.Started());
        QCOMPARE(session.window->ChosenYear(), 2026);
        QCOMPARE(session.Cell("grdMonthExpense", 0, 1), QStringLiteral("\\2,000"));
        QCOMPARE(session.Cell("grdMonthExpense", 1, 1), QStringLiteral("\\501"));
        QCOMPARE(session.Cell("grdMonthExpense", 12, 1), QStringLiteral("\\2,501"));
        QCOMPARE(session.Cell("grdMonthExpense", 3, 1), QStringLiteral("\\0"));
        QCOMPARE(session.Cell("grdMonthExpense", 3, 2), QStringLiteral("0"));
        QCOMPARE(session.Text("lblExpenseTotal"), QStringLiteral("2026年の合計: \\2,501"));
        QCOMPARE(session.Cell("grdYearExpense", 0, 1), QStringLiteral("\\100"));
        QCOMPARE(session.Text("lblUnreadable"), QStringLiteral("読めない金額: 1ページ"));
        QCOMPARE(session.window->findChild<QListWidget*>(QStringLiteral("lstUnreadable"))->count(), 1);
        QCOMPARE(session.Cell("grdMonthWriting", 0, 1), QStringLiteral("2"));
        QCOMPARE(session.Cell("grdMonthWriting", 0, 2), QStringLiteral("8"));
    }

    // Each opening reads the diary anew, with the page being written as it
    // stands, and a page written while the window is open shows at once.
    void FiguresAreFresh()
    {
        Session session(TestersDiary());
        QVERIFY(session.Started());
        session.window->close();
        session.Open();
        QCOMPARE(session.Cell("grdMonthExpense", 12, 1), QStringLiteral("\\2,501"));

        session.form->Store().ShowPage(4);
        qobject_cast<QLineEdit*>(EntryBox(*session.form, int(EntryField::Expense)))->setText(QStringLiteral("1500"));
        session.form->Commands().SaveDiary();
        QTRY_COMPARE(session.Cell("grdMonthExpense", 1, 1), QStringLiteral("\\1,500"));

        // An edit not saved yet is stored as the window opens.
        session.window->close();
        qobject_cast<QLineEdit*>(EntryBox(*session.form, int(EntryField::Expense)))->setText(QStringLiteral("700"));
        session.Open();
        QCOMPARE(session.Cell("grdMonthExpense", 1, 1), QStringLiteral("\\700"));

        session.window->close();
        session.form->Store().AddPage();
        session.form->Commands().SaveDiary();
        session.Open();
        QCOMPARE(session.window->ChosenYear(), 2026);
        QCOMPARE(session.Cell("grdMonthExpense", 11, 2), QStringLiteral("1"));
    }

    // A month's bar turns the calendar to that month and shows no other page.
    void ABarTurnsTheCalendar()
    {
        Session session(TestersDiary());
        QVERIFY(session.Started());
        auto* view = session.window->findChild<QChartView*>(QStringLiteral("chtMonthExpense"));
        QChart* chart = view->chart();
        const QPointF bar = chart->mapToPosition(QPointF(0, 1000), chart->series().first());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(chart->mapToScene(bar)));

        const auto* calendar = session.form->findChild<QCalendarWidget*>(QStringLiteral("Calendar"));
        QCOMPARE(calendar->monthShown(), 1);
        QCOMPARE(calendar->yearShown(), 2026);
        QCOMPARE(calendar->selectedDate(), QDate(2026, 3, 1));
        QCOMPARE(session.form->Store().CurrentPage(), 5);
    }

    // Enter or Return on a month's row does what the month's bar does; on
    // the total row it does nothing.
    void EnterOnAMonthsRowTurnsTheCalendar_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("month");
        QTest::newRow("expense, Return") << QStringLiteral("grdMonthExpense") << int(Qt::Key_Return) << 1 << 2;
        QTest::newRow("writing, Enter") << QStringLiteral("grdMonthWriting") << int(Qt::Key_Enter) << 10 << 11;
        QTest::newRow("total row") << QStringLiteral("grdMonthExpense") << int(Qt::Key_Return) << 12 << 3;
    }
    void EnterOnAMonthsRowTurnsTheCalendar()
    {
        QFETCH(QString, table);
        QFETCH(int, key);
        QFETCH(int, row);
        QFETCH(int, month);
        Session session(TestersDiary());
        QVERIFY(session.Started());
        auto* rows = session.window->findChild<QTableWidget*>(table);
        rows->setCurrentCell(row, 0);
        QTest::keyClick(rows, Qt::Key(key));

        const auto* calendar = session.form->findChild<QCalendarWidget*>(QStringLiteral("Calendar"));
        QCOMPARE(calendar->monthShown(), month);
        QCOMPARE(calendar->yearShown(), 2026);
        QCOMPARE(session.form->Store().CurrentPage(), 5);
    }

    // Enter on a year's row shows that year's months, as the year's bar does.
    void EnterOnAYearsRowShowsThatYear()
    {
        Session session(TestersDiary());
        QVERIFY(session.Started());
        auto* years = session.window->findChild<QTableWidget*>(QStringLiteral("grdYearExpense"));
        years->setCurrentCell(0, 0);
        QTest::keyClick(years, Qt::Key_Return);
        QCOMPARE(session.window->ChosenYear(), 2025);
    }

    // The chosen year goes to a file a spreadsheet opens, in the encoding
    // chosen; a file there is replaced only after a question, and one that
    // cannot be written is reported once while the window stays.
    void SavesTheYearAsCsv_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("UTF-8") << 0 << QByteArray("\xEF\xBB\xBF") + QStringLiteral("年,月").toUtf8();
        QTest::newRow("CP932") << 1 << Cp932::Encode(QStringLiteral("年,月"));
    }
    void SavesTheYearAsCsv()
    {
        QFETCH(int, encoding);
        QFETCH(QByteArray, start);
        Session session(TestersDiary());
        QVERIFY(session.Started());
        session.window->findChild<QComboBox*>(QStringLiteral("cboCsvEncoding"))->setCurrentIndex(encoding);
        auto* save = session.window->findChild<QPushButton*>(QStringLiteral("cmdSaveCsv"));
        const QString path = session.test.profile.ProgramFile(QStringLiteral("統計.csv"));
        session.test.prompter.AnswerSaveFile(path);
        save->click();
        QCOMPARE(session.test.prompter.shown.back().box.text,
                 QDir::home().filePath(QStringLiteral("日記帳統計-2026.csv")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(start));
        QVERIFY(bytes.contains("\r\n2026,1,2000,"));

        session.test.prompter.AnswerSaveFile(path);
        session.test.prompter.AnswerMessage(Prompter::Answer::No);
        session.window->findChild<QComboBox*>(QStringLiteral("cboCsvEncoding"))->setCurrentIndex(1 - encoding);
        save->click();
        QVERIFY(file.seek(0));
        QCOMPARE(file.readAll(), bytes);

        session.test.prompter.AnswerSaveFile(session.test.profile.ProgramFile(QStringLiteral("無い/統計.csv")));
        session.test.prompter.AnswerMessage(Prompter::Answer::Ok);
        save->click();
        QCOMPARE(session.test.prompter.MessageTexts().size(), 2);
        QCOMPARE(session.test.prompter.LastMessage().title, QStringLiteral("ﾌｧｲﾙ ｴﾗｰ"));
        QVERIFY(session.window->isVisible());
    }

    // A diary that cannot be read whole shows the file error and no figures,
    // rather than the figures of the pages it could read.
    void ShowsNoFiguresOfAnUnreadableDiary()
    {
        Session session(TestersDiary());
        QVERIFY(session.Started());
        session.window->close();
        QVERIFY(QFile::resize(session.test.DiaryPath(), 2 * DiaryBuilder::SampleRecord().size() + 100));
        session.test.prompter.AnswerMessage(Prompter::Answer::Ok);
        session.Open();
        QCOMPARE(session.test.prompter.LastMessage().title, QStringLiteral("ﾌｧｲﾙ ｴﾗｰ"));
        QCOMPARE(session.window->findChild<QTableWidget*>(QStringLiteral("grdMonthExpense"))->rowCount(), 0);
        QCOMPARE(session.Text("lblExpenseTotal"), QString());
        QVERIFY(!session.window->findChild<QPushButton*>(QStringLiteral("cmdSaveCsv"))->isEnabled());
    }
};

SORAFUMI_TEST(StatsWindowTest)
#include "StatsWindowTest.moc"
