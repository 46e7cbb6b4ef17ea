#pragma once

#include "core/platform/FileError.h"
#include "core/sync/MergeResult.h"
#include "core/sync/PageDigests.h"

#include <QByteArray>
#include <QString>
#include <optional>

class MergeChooser;
class RecordFile;

// Merges the version of the diary this program has with another one (the
// synced file, or a sync tool's conflict copy) into the records of the merged
// diary, asking the user through the chooser where both changed a page.
// Nothing is written here: the store writes the records through its rewrite.
class VersionMerge
{
public:
    // Our version: a file, with the shown page's edits not yet stored laid
    // over one of its pages (editedPage 0: none).
    struct Ours
    {
        const RecordFile& file;
        qint32 editedPage = 0;
        QByteArray editedRecord;
    };
    struct Theirs
    {
        const RecordFile& file;
        QString name;
        // A sync tool's conflict copy: an older version of the diary.
        bool olderCopy = false;
    };
    enum class Outcome {
        Merged,     // records hold the merged diary
        TheirsAsIs, // as Merged, and the records are their file's, page for page
        PutOff,     // the user put it off, or nobody can be asked: nothing changes
        Changed,    // a version changed again while it was read: merge again later
        Failed      // error says why
    };
    struct Merged
    {
        QByteArray records;
        // Where our page `followed` stands in the merged diary, from 1; 0
        // when it is not there.
        qint32 followedAt = 0;
    };

    static Outcome Run(const Ours& ours, const Theirs& theirs, const std::optional<PageDigests>& base,
                       MergeChooser* chooser, qint32 followed, Merged& merged, FileError& error);
};
