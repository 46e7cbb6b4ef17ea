#include "core/stats/YearFigures.h"

#include "core/stats/DiaryTotals.h"

YearFigures YearFigures::Of(int year, const ExpenseTotals& expenses, const WritingTotals& writing)
{
    YearFigures figures;
    figures.year = year;
    const std::array<qint64, 12> spent = expenses.months.value(year);
    const std::array<MonthWriting, 12> written = writing.months.value(year);
    for (size_t month = 0; month < 12; ++month) {
        // Both readings count the pages of a month by the same date field.
        figures.months[month] = {spent[month], written[month].pages, written[month].characters};
        figures.total.pages += written[month].pages;
        figures.total.characters += written[month].characters;
    }
    figures.total.spent = expenses.YearTotal(year);
    figures.monthlyAverage = expenses.MonthlyAverage(year);
    return figures;
}
