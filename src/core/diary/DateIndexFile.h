#pragma once

#include "core/platform/FileError.h"
#include "core/sync/FileIdentity.h"

#include <QString>

class DateIndex;
class RecordSeal;

// The date index of an encrypted diary kept between runs: a start on a diary
// as the program left it reads four bytes a page instead of decrypting every
// page for its date. It is kept in the user's state folder beside the merge
// base, one file per diary named by a hash of the diary's path, and sealed
// under the diary's own key, so the dates of the pages never reach the disk
// in the clear.
//
// The file: "SFDIDX01", then the diary's seal of record 0 (never a page's
// number, so the index can never pass for a page) over the diary's device,
// inode, size and modification time in nanoseconds (64-bit little-endian
// each), the page count (32-bit) and each page's date as DateIndex::Days
// gives it. Which file it describes is inside the seal: a copy of the index
// cannot be made to pass for another version of the diary.
class DateIndexFile
{
public:
    static QString PathFor(const QString& diaryPath);

    // Keeps a built index of the diary file `of`, written whole or not at all.
    static FileError Save(const QString& diaryPath, const DateIndex& index, const FileIdentity& of,
                          const RecordSeal& seal);
    // The index kept for the diary file `of` into `index`. False when there
    // is none, when it describes another file or another version of it, or
    // is damaged or sealed under another key: the index is then built from
    // the pages, as without it.
    static bool Load(const QString& diaryPath, const FileIdentity& of, const RecordSeal& seal, DateIndex& index);
    // The diary no longer keeps one (its key was removed).
    static void Remove(const QString& diaryPath);
};
