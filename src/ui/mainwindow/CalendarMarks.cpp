#include "ui/mainwindow/CalendarMarks.h"

#include "core/diary/DiaryStore.h"

#include <QCalendarWidget>
#include <QTextCharFormat>

CalendarMarks::CalendarMarks(QCalendarWidget& calendar, DiaryStore& store)
    : QObject(&calendar), calendar_(calendar), store_(store)
{
    connect(&calendar_, &QCalendarWidget::currentPageChanged, this, &CalendarMarks::Schedule);
    connect(&store_, &DiaryStore::pagesChanged, this, [this] {
        markedMonth_ = {};
        Schedule();
    });
    // The first page shown of a diary, whatever its month, brings the first
    // marks; every later step only compares two dates.
    connect(&store_, &DiaryStore::pageShown, this, [this] {
        if (markedMonth_ != ShownMonth())
            Schedule();
    });
}

QDate CalendarMarks::ShownMonth() const
{
    return QDate(calendar_.yearShown(), calendar_.monthShown(), 1);
}

void CalendarMarks::Schedule()
{
    if (scheduled_)
        return;
    scheduled_ = true;
    QMetaObject::invokeMethod(this, &CalendarMarks::Refresh, Qt::QueuedConnection);
}

void CalendarMarks::Refresh()
{
    scheduled_ = false;
    const QDate month = ShownMonth();
    // A failed read has been reported; the month is not read again until it
    // changes or pages are written, so a broken file is not reported on
    // every step.
    const std::optional<QList<int>> days = store_.PageDaysOf(month.year(), month.month());
    if (store_.IsOpen())
        markedMonth_ = month;
    calendar_.setDateTextFormat(QDate(), QTextCharFormat());
    markedDays_.clear();
    if (!days)
        return;
    // Bold and underlined in the theme's own colours: the mark reads on a
    // light and a dark desktop alike, and on the red of the weekend, where
    // bold alone at the calendar's small type is too faint on dark.
    QTextCharFormat mark;
    mark.setFontWeight(QFont::Bold);
    mark.setFontUnderline(true);
    for (const int day : *days) {
        calendar_.setDateTextFormat(month.addDays(day - 1), mark);
        markedDays_.insert(month.addDays(day - 1));
    }
}
