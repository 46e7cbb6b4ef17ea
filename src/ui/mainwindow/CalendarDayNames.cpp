#include "ui/mainwindow/CalendarDayNames.h"

#include "ui/mainwindow/CalendarMarks.h"
#include "ui/platform/SpokenText.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QTableView>

CalendarDayNames::CalendarDayNames(const QCalendarWidget& calendar) : calendar_(calendar) {}

QString CalendarDayNames::CellName(int row, int column) const
{
    const QDate date = DateOfCell(row, column);
    if (!date.isValid())
        return {};
    const auto* marks = calendar_.findChild<const CalendarMarks*>(QString(), Qt::FindDirectChildrenOnly);
    const bool hasPage = marks && marks->HasPage(date);
    return SpokenText::Date(date) + (hasPage ? QStringLiteral(" 日記あり") : QString());
}

QString CalendarDayNames::ColumnName(int column) const
{
    static const QString letters = QStringLiteral("月火水木金土日");
    const int weekday = (int(calendar_.firstDayOfWeek()) - 1 + column) % 7;
    return column >= 0 && column < 7 ? QString(letters[weekday]) : QString();
}

// The table shows six weeks, the shown month starting in the first or second
// of them: a day number is of the month before in the first two weeks when it
// is large, and of the month after in the last two when it is small.
QDate CalendarDayNames::DateOfCell(int row, int column) const
{
    const auto* table = calendar_.findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    if (!table || !table->model())
        return {};
    const int firstWeekRow = calendar_.horizontalHeaderFormat() == QCalendarWidget::NoHorizontalHeader ? 0 : 1;
    const int week = row - firstWeekRow;
    bool isDay = false;
    const int day = table->model()->index(row, column).data(Qt::DisplayRole).toInt(&isDay);
    if (week < 0 || !isDay || day < 1)
        return {};
    QDate month(calendar_.yearShown(), calendar_.monthShown(), 1);
    if (week <= 1 && day > 15)
        month = month.addMonths(-1);
    else if (week >= 4 && day < 15)
        month = month.addMonths(1);
    return QDate(month.year(), month.month(), day);
}
