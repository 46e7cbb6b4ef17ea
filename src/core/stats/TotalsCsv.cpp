#include "core/stats/TotalsCsv.h"

#include "core/platform/Cp932.h"
#include "core/platform/Money.h"
#include "core/platform/SafeFile.h"
#include "core/stats/DiaryTotals.h"
#include "core/stats/YearFigures.h"

#include <QFileInfo>
#include <QSet>

namespace {

// A field is quoted only where a comma, a quote or a line break in it would
// otherwise split it; a quote inside is doubled.
QString Field(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString Row(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted << Field(field);
    return quoted.join(u',') + QStringLiteral("\r\n");
}

// Whole yen without the yen sign or group commas, so a spreadsheet reads a number.
QString Yen(Money::Sum amount)
{
    return Money::FormatEditing(amount);
}

QString MonthRow(const QString& year, const QString& month, const MonthFigures& figures)
{
    return Row({year, month, Yen(figures.spent), QString::number(figures.pages), QString::number(figures.characters)});
}

QList<int> AllYears(const ExpenseTotals& expenses, const WritingTotals& writing)
{
    QSet<int> years(expenses.months.keyBegin(), expenses.months.keyEnd());
    years.unite(QSet<int>(writing.months.keyBegin(), writing.months.keyEnd()));
    QList<int> sorted = years.values();
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

QByteArray Encoded(const QString& text, TotalsCsv::Encoding encoding)
{
    if (encoding == TotalsCsv::Encoding::Cp932)
        return Cp932::Encode(text);
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace

QString TotalsCsv::Text(int year, const ExpenseTotals& expenses, const WritingTotals& writing)
{
    const YearFigures figures = YearFigures::Of(year, expenses, writing);
    const QString shownYear = QString::number(year);
    QString text = Row({QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("出費"), QStringLiteral("ページ"),
                        QStringLiteral("文字数")});
    for (size_t month = 0; month < 12; ++month)
        text += MonthRow(shownYear, QString::number(month + 1), figures.months[month]);
    text += MonthRow(shownYear, QStringLiteral("合計"), figures.total);
    text += Row({shownYear, QStringLiteral("月平均"), Yen(figures.monthlyAverage), {}, {}});
    text += QStringLiteral("\r\n") + Row({QStringLiteral("年"), QStringLiteral("出費")});
    for (const int each : AllYears(expenses, writing))
        text += Row({QString::number(each), Yen(expenses.YearTotal(each))});
    return text;
}

FileError TotalsCsv::Write(const QString& path, int year, const ExpenseTotals& expenses, const WritingTotals& writing,
                           Encoding encoding)
{
    // A spreadsheet file like any other the user saves: a new one gets the
    // mode the umask gives, one that replaces a file keeps that file's group
    // and mode.
    return SafeFile::Replace(QFileInfo(path).absoluteFilePath(), TempFileName(),
                             Encoded(Text(year, expenses, writing), encoding), 0666);
}
