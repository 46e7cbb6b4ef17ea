#pragma once

#include "core/diary/DiaryPage.h"
#include "core/platform/FileError.h"

class RecordFile;

// Pages of a diary file by number, from 1.
class PageRecords
{
public:
    static FileError ReadRecord(const RecordFile& file, qint32 page, DiaryPage& record);
    // The page counts as written only once it is flushed to disk.
    static FileError WriteRecord(RecordFile& file, qint32 page, const DiaryPage& record);
};
