#include "core/diary/MonthPages.h"

#include "core/diary/DateScan.h"

#include <bitset>

FileError MonthPages::DaysOf(const RecordFile& file, qint32 pageCount, int year, int month, QList<int>& days)
{
    days.clear();
    // A page of no date reads as year 0, which no month asked for holds.
    std::bitset<32> found;
    const FileError error = DateScan::Each(file, pageCount, [&found, year, month](qint32, QDate date) {
        if (date.year() == year && date.month() == month)
            found.set(size_t(date.day()));
        return true;
    });
    if (error)
        return error;
    for (int day = 1; day <= 31; ++day) {
        if (found.test(size_t(day)))
            days.append(day);
    }
    return {};
}
