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

class TempFile
{
public:
    explicit TempFile(QString path) : path_(std::move(path)) {}

    // Made new beside the file, with the group and mode of the file it is to
    // replace. Opened for reading too: once renamed it is the file.
    FileError Create(const QString& original)
    {
        if (const FileError error = file_.Create(path_, SafeFile::IfTaken::UniqueName))
            return error;
        return file_.TakeGroupAndModeOf(original);
    }

    // Claims the room for the whole copy first: a disk without it refuses
    // here, before a megabyte has been copied.
    FileError Reserve(qint64 bytes) { return ReserveRoom(file_.Descriptor(), bytes); }

    FileError Append(const char* bytes, qint64 length)
    {
        if (const FileError error = WriteFully(file_.Descriptor(), bytes, length))
            return error;
        // The disk starts on each run while the next one is copied, so the
        // closing flush has little left to wait for. Only a hint: the flush
        // reports any failure.
        ::sync_file_range(file_.Descriptor(), off_t(written_), off_t(length), SYNC_FILE_RANGE_WRITE);
        written_ += length;
        return {};
    }

    // Claimed before it takes the original's place, so that no other copy of
    // the program can claim the new file between the rename and its use.
    FileError Lock() { return RecordFile::LockDescriptor(file_.Descriptor()); }
    FileError Flush() { return file_.Flush(); }
    // The descriptor, now the file's own.
    int Release() { return file_.Release(); }
    FileError RenameOver(const QString& target) { return file_.RenameOver(target); }

private:
    QString path_;
    SafeFile file_;
    qint64 written_ = 0;
};

FileError CopyRecords(const RecordFile& file, qint32 first, qint32 last, TempFile& temp)
{
    const int length = file.RecordLength();
    const qint32 perChunk = qint32(qMax<qint64>(1, ChunkBytes / length));
    QByteArray chunk;
    for (qint32 start = first; start <= last; start += perChunk) {
        const qint32 count = qMin(perChunk, last - start + 1);
        if (const FileError error = file.ReadRecords(start, count, chunk))
            return error;
        if (const FileError error = temp.Append(chunk.constData(), chunk.size()))
            return error;
    }
    return {};
}

} // namespace

FileError RecordFileRewriter::Rewrite(RecordFile& file, qint32 keep, qint32 drop, const QByteArray& appended)
{
    const QString path = file.Path();
    const QString folder = QFileInfo(path).absolutePath();

    // A journal names its record by number; once records have moved it would
    // put an old page over another one. The page it guards goes back first.
    if (const FileError error = PageJournal::Recover(file))
        return error;

    const bool dropping = drop >= 1 && drop <= keep;
    TempFile temp(folder + u'/' + TempFileName());
    if (const FileError error = temp.Create(path)) {
        // A folder that takes no new file: the records before a cut stay where
        // they are, so cutting the file's end is safe in place. Anything else
        // would move records in the diary itself.
        if (FolderRefused(error) && appended.isEmpty() && (!dropping || drop == keep))
            return CutInPlace(file, dropping ? keep - 1 : keep);
        return error;
    }
    if (file.IsLocked())
        if (const FileError error = temp.Lock())
            return error;
    if (const FileError error =
            temp.Reserve(qint64(dropping ? keep - 1 : keep) * file.RecordLength() + appended.size()))
        return error;
    if (const FileError error = CopyRecords(file, 1, dropping ? drop - 1 : keep, temp))
        return error;
    if (dropping)
        if (const FileError error = CopyRecords(file, drop + 1, keep, temp))
            return error;
    if (!appended.isEmpty())
        if (const FileError error = temp.Append(appended.constData(), appended.size()))
            return error;
    if (const FileError error = temp.Flush())
        return error;
    if (const FileError error = temp.RenameOver(path))
        return error;
    const bool locked = file.IsLocked();
    file.CloseInBackground();
    file.Adopt(temp.Release(), locked);
    return {};
}

bool RecordFileRewriter::FolderRefused(const FileError& error)
{
    return error.systemError == EACCES || error.systemError == EPERM || error.systemError == EROFS;
}

FileError RecordFileRewriter::CutInPlace(RecordFile& file, qint32 records)
{
    if (const FileError error = file.Truncate(records))
        return error;
    return file.Flush();
}
