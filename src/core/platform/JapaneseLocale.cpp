#include "core/platform/JapaneseLocale.h"

#include <QRegularExpression>
#include <array>

const QLocale& JapaneseLocale::Locale()
{
    static const QLocale locale(QLocale::Japanese, QLocale::Japan);
    return locale;
}

QString JapaneseLocale::FormatDate(QDate date)
{
    return QStringLiteral("%1年%2月%3日").arg(date.year(), 4, 10, QLatin1Char('0')).arg(date.month()).arg(date.day());
}

QString JapaneseLocale::FormatWeekday(QDate date)
{
    static const std::array<QString, 7> names = {
        QStringLiteral("月曜日"), QStringLiteral("火曜日"), QStringLiteral("水曜日"), QStringLiteral("木曜日"),
        QStringLiteral("金曜日"), QStringLiteral("土曜日"), QStringLiteral("日曜日"),
    };
    return date.isValid() ? names[size_t(date.dayOfWeek() - 1)] : QString();
}

QString JapaneseLocale::FormatTime(QTime time)
{
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QString designator = time.hour() < 12 ? QStringLiteral("午前") : QStringLiteral("午後");
    return QStringLiteral("%1 %2:%3:%4")
        .arg(designator)
        .arg(hour12)
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QString JapaneseLocale::FormatShortDate(QDate date)
{
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

QDate JapaneseLocale::ParseDate(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*([0-9]{1,4})\s*(?:年\s*([0-9]{1,2})\s*月\s*([0-9]{1,2})\s*日|[/\-.]([0-9]{1,2})[/\-.]([0-9]{1,2}))\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    const bool kanji = match.capturedLength(2) > 0;
    const int year = match.captured(1).toInt();
    const int month = match.captured(kanji ? 2 : 4).toInt();
    const int day = match.captured(kanji ? 3 : 5).toInt();
    return QDate(year, month, day);
}
