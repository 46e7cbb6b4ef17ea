#pragma once

#include "core/platform/FileError.h"
#include "core/sync/MergeResult.h"
#include "core/sync/PageDigests.h"

#include <QByteArray>

class RecordFile;

// The bytes of the merged diary, each page copied whole from the version it
// comes from, ready for the diary's rewrite.
class MergedRecords
{
public:
    // One version: its file and the digests the merge was made from.
    struct Version
    {
        const RecordFile& file;
        const PageDigests& digests;
    };
    enum class Outcome { Read, Changed, Failed };

    // Neighbouring pages of one version come in one read. A page that no
    // longer matches its digest means that version changed since the merge
    // (a sync tool delivered yet another): Changed, and the caller merges
    // again rather than write a mix. `error` says why it Failed.
    static Outcome Read(const std::vector<PageSource>& pages, const Version& ours, const Version& theirs,
                        QByteArray& records, FileError& error);

private:
    static Outcome ReadRun(const Version& version, qint32 first, qint32 count, char* into, FileError& error);
};
