#include "DesktopPalettes.h"
#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/platform/Contrast.h"
#include "ui/platform/Twips.h"

#include <QCalendarWidget>
#include <QTableView>
#include <QToolButton>

namespace {

// Every cell of the month as the calendar draws it: the weekday headings,
// the days of the month and of the months beside it, the weekend and the
// days with a page.
void CheckCells(const QCalendarWidget& calendar)
{
    const QAbstractItemModel* cells = calendar.findChild<QTableView*>()->model();
    for (int row = 0; row < cells->rowCount(); ++row)
        for (int column = 0; column < cells->columnCount(); ++column) {
            const QModelIndex cell = cells->index(row, column);
            const QColor text = cells->data(cell, Qt::ForegroundRole).value<QBrush>().color();
            const QColor back = cells->data(cell, Qt::BackgroundRole).value<QBrush>().color();
            QVERIFY2(Contrast::Ratio(text, back) >= Contrast::Readable,
                     qPrintable(QStringLiteral("%1 on %2 in \"%3\": %4")
                                    .arg(text.name(), back.name(), cells->data(cell).toString(),
                                         QString::number(Contrast::Ratio(text, back), 'f', 2))));
        }
}

// Pages on Saturday 5 and Sunday 6 December 2026, the month the tests start in.
QByteArray PagesOnWeekend()
{
    DiaryBuilder diary;
    for (const auto& [date, weekday] : {std::pair{"2026年12月5日", "土曜日"}, std::pair{"2026年12月6日", "日曜日"}})
        diary.Add({QString::fromUtf8(date), QString::fromUtf8(weekday), QStringLiteral("0"), QStringLiteral("空野太郎"),
                   QStringLiteral("午後 9:15:00"), QStringLiteral("晴れ"), QStringLiteral("週末")});
    return diary.Bytes();
}

} // namespace

class CalendarColoursTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void EveryTextReads_data() { AddPaletteRows(); }
    void EveryTextReads()
    {
        QFETCH(QPalette, palette);
        const PaletteForTest colours(palette);
        TestApp test;
        // A page on a Sunday and one on a Saturday of the month shown.
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(PagesOnWeekend());
        auto* calendar = form->findChild<QCalendarWidget*>(QStringLiteral("Calendar"));
        QCoreApplication::processEvents();
        CheckCells(*calendar);
        // The month and the year above the days.
        const auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
        const QWidget* bar = calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
        const QColor text = month->palette().color(month->foregroundRole());
        const QColor back = bar->palette().color(bar->backgroundRole());
        QVERIFY2(Contrast::Ratio(text, back) >= Contrast::Readable,
                 qPrintable(text.name() + QStringLiteral(" on ") + back.name()));
    }

    // A desktop turned dark while the program runs.
    void ColoursFollowTheDesktop()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        const PaletteForTest colours(DarkPalette());
        CheckCells(*form->findChild<QCalendarWidget*>(QStringLiteral("Calendar")));
    }
};

SORAFUMI_TEST(CalendarColoursTest)
#include "CalendarColoursTest.moc"
