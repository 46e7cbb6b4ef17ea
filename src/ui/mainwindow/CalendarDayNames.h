#pragma once

#include <QDate>
#include <QString>

class QCalendarWidget;

// What a screen reader says for the cells of the calendar's day table: each
// day its full date and weekday, and 日記あり where it has a page; the grey
// days of the months beside as their own dates; the columns by weekday.
class CalendarDayNames
{
public:
    explicit CalendarDayNames(const QCalendarWidget& calendar);

    // A cell of the table's model; empty for the row of weekday letters,
    // which reads well as it is.
    QString CellName(int row, int column) const;
    // 日 月 火 水 木 金 土, from the calendar's first day of the week.
    QString ColumnName(int column) const;

private:
    QDate DateOfCell(int row, int column) const;

    const QCalendarWidget& calendar_;
};
