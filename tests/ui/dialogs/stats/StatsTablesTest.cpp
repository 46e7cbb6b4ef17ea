#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/platform/JapaneseLocale.h"
#include "ui/dialogs/stats/StatsWindow.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

// Run at every scale of the screen by the scaled runs of the suite.
class StatsTablesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Each month table shows its twelve months and their total without a
    // scroll bar, at the window's first size.
    void TotalRowShows_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("table");
        QTest::newRow("expense") << 0 << QStringLiteral("grdMonthExpense");
        QTest::newRow("writing") << 1 << QStringLiteral("grdMonthWriting");
    }
    void TotalRowShows()
    {
        QFETCH(int, tab);
        QFETCH(QString, table);
        DiaryBuilder diary;
        diary.Add({JapaneseLocale::FormatDate(QDate(2026, 3, 1)), JapaneseLocale::FormatWeekday(QDate(2026, 3, 1)),
                   QStringLiteral("1200"), QStringLiteral("空野太郎"), QStringLiteral("午後 9:00:00"),
                   QStringLiteral("晴れ"), QStringLiteral("散歩")});
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        form->findChild<QAction*>(QStringLiteral("menuTool_Stats"))->trigger();
        auto* window = qobject_cast<StatsWindow*>(form->Commands().OpenStatsWindow());
        window->findChild<QTabWidget*>()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        const auto* months = window->findChild<QTableWidget*>(table);
        QCOMPARE(months->rowCount(), 13);
        QCOMPARE(months->verticalScrollBar()->maximum(), 0);
        QVERIFY(months->visualItemRect(months->item(12, 0)).bottom() < months->viewport()->height());
    }
};

SORAFUMI_TEST(StatsTablesTest)
#include "StatsTablesTest.moc"
