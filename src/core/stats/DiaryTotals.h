#pragma once

#include "core/platform/FileError.h"
#include "core/platform/Money.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <array>

class RecordFile;

// A page whose expense field does not read as an amount: it counts as nothing
// spent, and is listed rather than hidden.
struct UnreadableExpense
{
    qint32 page = 0; // from 1
    QDate date;      // invalid where the date field reads as no date
    QString text;    // the field as stored, without its padding
};

// What the diary spent in each month of each year that has a page, summed in
// the money type (ten-thousandths of a yen) and rounded only when shown.
struct ExpenseTotals
{
    QMap<int, std::array<qint64, 12>> months; // year -> January to December
    QMap<int, std::array<qint32, 12>> pages;  // year -> pages in each month: a month of pages spends 0 too
    QList<UnreadableExpense> unreadable;
    qint32 undatedPages = 0; // pages whose date field reads as no date: in no month

    QList<int> Years() const;
    // Twelve months' sums, each of which fits an amount, may not fit one
    // together: the year is summed wider.
    Money::Sum YearTotal(int year) const;
    // The year's total over the months of that year that have a page, so a
    // diary begun in June is not averaged over twelve months.
    Money::Sum MonthlyAverage(int year) const;
};

struct MonthWriting
{
    qint32 pages = 0;
    qint64 characters = 0;
};

// How much was written: pages and characters per month, and which days have
// a page at all.
struct WritingTotals
{
    QMap<int, std::array<MonthWriting, 12>> months; // year -> January to December
    QList<QDate> days;                              // the days with a page, in order, each once
    qint32 undatedPages = 0;

    // The most consecutive days with a page within the year.
    int LongestStreak(int year) const;
    // The most consecutive days with a page anywhere in the diary.
    int LongestStreak() const;
    // Days of the year without a page; in the year of `today`, only the days
    // up to and including it count.
    int DaysWithoutPage(int year, QDate today) const;
};

// Reads the figures of the statistics window straight from the diary file in
// one pass, never showing a page and never writing to the file.
class DiaryTotals
{
public:
    // Reads only the date and expense fields of each page.
    static FileError ReadExpenses(const RecordFile& file, qint32 pageCount, ExpenseTotals& totals);
    // Reads only the date field and the body of each page.
    static FileError ReadWriting(const RecordFile& file, qint32 pageCount, WritingTotals& totals);
};
