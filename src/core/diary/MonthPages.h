#pragma once

#include "core/platform/FileError.h"

#include <QList>

class RecordFile;

// Which days of one month have a page, read in one pass over the date fields
// alone: what the calendar marks when it shows the month.
class MonthPages
{
public:
    // The days (1 to 31) of the month that at least one page's date names,
    // in order. An error when a page could not be read; `days` is then empty.
    static FileError DaysOf(const RecordFile& file, qint32 pageCount, int year, int month, QList<int>& days);
};
