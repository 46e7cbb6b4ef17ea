#pragma once

#include "core/platform/FileError.h"

#include <QDate>
#include <functional>

class RecordFile;

// Reads the date field of every page in record order, and nothing else of
// them: the store's index of dates is built in one such pass.
class DateScan
{
public:
    // Gives each page's number (from 1) and date, invalid where the field
    // reads as no date, until `visit` answers false. An error when a page
    // could not be read; the pages before it were given.
    static FileError Each(const RecordFile& file, qint32 pageCount,
                          const std::function<bool(qint32 page, QDate date)>& visit);
};
