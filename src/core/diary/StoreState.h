#pragma once

#include "core/diary/DiaryPage.h"
#include "core/platform/RecordFile.h"

#include <QString>

// The state every page operation shares, for the whole run.
struct StoreState
{
    DiaryPage CurrentRecord; // the page the entry fields show
    DiaryPage SavedRecord;   // CurrentRecord as it was right after loading
    qint32 CurrentPage = 0;  // 1-based
    qint32 PageCount = 0;
    QString DiaryFileName;      // as the user gave it; may be relative
    qint16 DiaryFileNumber = 0; // 0: no diary open, and page operations do nothing
    bool PageChanged = false;
    RecordFile DiaryFile;
};
