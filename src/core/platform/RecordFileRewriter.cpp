#include "core/platform/RecordFileRewriter.h"

#include "core/platform/FullTransfer.h"
#include "core/platform/PageJournal.h"
#include "core/platform/RecordFile.h"
#include "core/platform/SafeFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Records are copied in runs of about a megabyte.
constexpr qint64 ChunkBytes = 1 << 20;

// Appends the records first to last to the new file, where they stand from
// `to` on. The disk starts on each run while the next one is copied.
FileError CopyRecords(const RecordFile& file, qint32 first, qint32 last, qint32 to, SafeFile& temp, qint64& written)
{
    const int length = file.RecordLength();
    const qint32 perChunk = qint32(qMax<qint64>(1, ChunkBytes / length));
    QByteArray chunk;
    for (qint32 start = first; start <= last; start += perChunk) {
        const qint32 count = qMin(perChunk, last - start + 1);
        // Sealed records that keep their numbers go over as they are stored,
        // a damaged one still damaged; those that move are sealed again for
        // their new places.
        QByteArray stored;
        if (file.IsSealed() && to == first) {
            stored.resize(file.LengthOf(start - 1 + count) - file.LengthOf(start - 1));
            if (const FileError error =
                    ReadFully(file.Descriptor(), stored.data(), stored.size(), file.LengthOf(start - 1)))
                return error;
        } else {
            if (const FileError error = file.ReadRecords(start, count, chunk))
                return error;
            stored = file.Stored(to + (start - first), chunk);
        }
        if (const FileError error = temp.Write(stored))
            return error;
        temp.StartFlush(written, stored.size());
        written += stored.size();
    }
    return {};
}

} // namespace

FileError RecordFileRewriter::Rewrite(RecordFile& file, qint32 keep, qint32 drop, const QByteArray& appended)
{
    const QString path = file.Path();

    // A journal names its record by number; once records have moved it would
    // put an old page over another one. The page it guards goes back first.
    if (const FileError error = PageJournal::Recover(file))
        return error;

    const bool dropping = drop >= 1 && drop <= keep;
    // Opened for reading too: once renamed it is the file.
    SafeFile temp;
    if (const FileError error = temp.CreateToReplace(path, TempFileName())) {
        // A folder that takes no new file: the records before a cut stay where
        // they are, so cutting the file's end is safe in place. Anything else
        // would move records in the diary itself.
        if (SafeFile::FolderRefused(error) && appended.isEmpty() && (!dropping || drop == keep))
            return CutInPlace(file, dropping ? keep - 1 : keep);
        return error;
    }
    // Claimed before it takes the original's place, so that no other copy of
    // the program can claim the new file between the rename and its use.
    if (file.IsLocked())
        if (const FileError error = RecordFile::LockDescriptor(temp.Descriptor()))
            return error;
    // A disk without room for the whole copy refuses here, before a megabyte
    // of it has been copied.
    const qint32 kept = dropping ? keep - 1 : keep;
    const QByteArray added = file.Stored(kept + 1, appended);
    if (const FileError error = ReserveRoom(temp.Descriptor(), file.LengthOf(kept) + added.size()))
        return error;
    // A sealed file's header goes over first, as it is: the same key opens
    // the new file.
    QByteArray header;
    if (const FileError error = file.ReadHeader(header))
        return error;
    if (const FileError error = temp.Write(header))
        return error;
    qint64 written = header.size();
    if (const FileError error = CopyRecords(file, 1, dropping ? drop - 1 : keep, 1, temp, written))
        return error;
    if (dropping)
        if (const FileError error = CopyRecords(file, drop + 1, keep, drop, temp, written))
            return error;
    if (!added.isEmpty())
        if (const FileError error = temp.Write(added))
            return error;
    const FileError renamed = temp.RenameOver(path);
    if (temp.Path() != path)
        return renamed;
    // In place, though its folder may not have reached the disk: the file is
    // the new one from here on, and a failed flush is still told.
    const bool locked = file.IsLocked();
    file.CloseInBackground();
    file.Adopt(temp.Release(), locked);
    return renamed;
}

FileError RecordFileRewriter::CutInPlace(RecordFile& file, qint32 records)
{
    if (const FileError error = file.Truncate(records))
        return error;
    return file.Flush();
}
