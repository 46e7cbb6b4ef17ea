#pragma once

#include <QDate>
#include <QObject>
#include <QSet>

class DiaryStore;
class QCalendarWidget;

// Shows in bold the days of the calendar's month that have a page. The days
// are read once more, in one pass over the date fields, after pages were
// written or taken out and after the calendar turned to another month; a page
// step within the month reads nothing. The reading waits for the event loop,
// so that opening, stepping and saving take no longer than they did, and a
// burst of changes is read once.
class CalendarMarks : public QObject
{
    Q_OBJECT
public:
    CalendarMarks(QCalendarWidget& calendar, DiaryStore& store);

    // The day is marked as having a page; only days of the shown month are.
    bool HasPage(QDate day) const { return markedDays_.contains(day); }

private:
    QDate ShownMonth() const;
    void Schedule();
    void Refresh();

    QCalendarWidget& calendar_;
    DiaryStore& store_;
    QDate markedMonth_; // the first day of the month the marks were read for
    QSet<QDate> markedDays_;
    bool scheduled_ = false;
};
