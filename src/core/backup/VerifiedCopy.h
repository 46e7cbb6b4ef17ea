#pragma once

#include "core/platform/FileError.h"

#include <QString>

class RecordFile;

// A copy of a diary that counts only once it is whole, flushed to disk and
// holds the original's bytes, checked byte for byte; a copy that is not is
// removed and the place it was to take is left as it was.
class VerifiedCopy
{
public:
    // What a copy is called until it is whole.
    static QString PartSuffix() { return QStringLiteral(".part"); }

    // Copies the file at `source` to the new file `target`.
    static FileError ToNewFile(const QString& source, const QString& target);
    // Puts a copy of the user's own in the diary's place whole, through a
    // temporary file in the diary's folder; until the rename the diary is
    // untouched. On success the diary is open on the copy's bytes.
    static FileError OverDiary(RecordFile& diary, const QString& copyPath);
};
