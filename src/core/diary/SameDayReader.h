#pragma once

#include "core/platform/FileError.h"

#include <QDate>
#include <QString>
#include <vector>

class RecordFile;

// A page of the same month and day in another year, with what the list of
// such pages shows of it.
struct SameDayPage
{
    qint32 page = 0; // from 1
    QDate date;
    QString weekday;
    QString weather;
    QString expense; // as the expense box shows it: empty for nothing spent
    QString firstLine;
};

// Reads what the list of the same day in other years shows of the pages
// found for it (the store's date index finds them): only those fields.
class SameDayReader
{
public:
    // A page of `date` belongs beside the page of `shown` when the month and
    // the day are the same and the year is not: 29 February only meets the
    // 29 Februaries of other leap years.
    static bool IsSameDay(QDate date, QDate shown);

    // Fills in the shown fields of the pages (their numbers and dates given)
    // and puts them newest first; pages of one date stay in file order. An
    // error when a page could not be read, and no pages.
    static FileError Read(const RecordFile& file, std::vector<SameDayPage>& pages);
};
