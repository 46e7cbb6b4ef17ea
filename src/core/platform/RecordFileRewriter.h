#pragma once

#include "core/platform/FileError.h"

#include <QByteArray>
#include <QString>

class RecordFile;

// Rewrites a record file whole, without ever leaving it half written: the
// records go to a temporary file in the same folder, which is flushed and then
// renamed over the original. Until the rename the original is untouched; on
// any failure the temporary file is removed and the original is as it was.
// In a folder that takes no new file, a rewrite that only cuts records off
// the end is done in place; any other fails with the folder's refusal.
class RecordFileRewriter
{
public:
    static QString TempFileName() { return QStringLiteral("~~Tmp~~.Tmp"); }

    // Keeps records 1 to keep, leaving out record drop (0 for none). On
    // success the file is open on the rewritten file.
    // `appended` holds whole records that follow the kept ones.
    static FileError Rewrite(RecordFile& file, qint32 keep, qint32 drop = 0, const QByteArray& appended = {});

private:
    static FileError CutInPlace(RecordFile& file, qint32 records);
};
