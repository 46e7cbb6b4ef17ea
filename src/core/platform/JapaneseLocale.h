#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// The one locale of every date, time and weekday text the program writes,
// whatever the desktop's own locale is: pages written on any machine read the
// same.
class JapaneseLocale
{
public:
    static const QLocale& Locale();

    static QString FormatDate(QDate date);       // 2001年5月14日
    static QString FormatWeekday(QDate date);    // 月曜日
    static QString FormatTime(QTime time);       // 午後 3:05:09, midnight 午前 12:00:00
    static QString FormatShortDate(QDate date);  // 2001/05/14

    // Reads the date forms the program writes (2001年5月14日) and the common
    // numeric ones (2001/5/14, 2001-05-14); an invalid date for anything else.
    static QDate ParseDate(const QString& text);
};
