#pragma once

#include "core/platform/Money.h"

#include <array>

struct ExpenseTotals;
struct WritingTotals;

// One month's row of the figures of a year.
struct MonthFigures
{
    Money::Sum spent = 0;
    qint64 pages = 0; // the pages dated in the month
    qint64 characters = 0;
};

// The figures of one year as the statistics window and its CSV file show
// them: the twelve months, the year's total and its monthly average.
struct YearFigures
{
    int year = 0;
    std::array<MonthFigures, 12> months{}; // January to December
    // The year's amount is summed once, not from months rounded for showing.
    MonthFigures total;
    Money::Sum monthlyAverage = 0;

    static YearFigures Of(int year, const ExpenseTotals& expenses, const WritingTotals& writing);
};
