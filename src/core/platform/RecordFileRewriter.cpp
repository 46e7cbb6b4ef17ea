#include "core/platform/RecordFileRewriter.h"

#include "core/platform/FullTransfer.h"
#include "core/platform/PageJournal.h"
#include "core/platform/RecordFile.h"

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
    ~TempFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!kept_)
            ::unlink(QFile::encodeName(path_).constData());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // Created empty, whatever a leftover of an earlier run held. Opened for
    // reading too: once renamed it is the file.
    FileError Create(mode_t mode)
    {
        fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
        if (fd_ < 0)
            return FileError::FromErrno(errno);
        // The umask may have narrowed it; it must not be wider than the original.
        if (::fchmod(fd_, mode) != 0)
            return FileError::FromErrno(errno);
        return {};
    }

    // Claims the room for the whole copy first: a disk without it refuses
    // here, before a megabyte has been copied.
    FileError Reserve(qint64 bytes) { return ReserveRoom(fd_, bytes); }

    FileError Append(const char* bytes, qint64 length)
    {
        if (const FileError error = WriteFully(fd_, bytes, length))
            return error;
        // The disk starts on each run while the next one is copied, so the
        // closing flush has little left to wait for. Only a hint: the flush
        // reports any failure.
        ::sync_file_range(fd_, off_t(written_), off_t(length), SYNC_FILE_RANGE_WRITE);
        written_ += length;
        return {};
    }

    // Claimed before it takes the original's place, so that no other copy of
    // the program can claim the new file between the rename and its use.
    FileError Lock() { return RecordFile::LockDescriptor(fd_); }

    FileError Flush()
    {
        if (::fsync(fd_) != 0)
            return FileError::FromErrno(errno);
        return {};
    }

    // The descriptor, now the file's own.
    int Release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

    FileError RenameOver(const QString& target)
    {
        if (::rename(QFile::encodeName(path_).constData(), QFile::encodeName(target).constData()) != 0)
            return FileError::FromErrno(errno);
        kept_ = true;
        return {};
    }

private:
    QString path_;
    int fd_ = -1;
    qint64 written_ = 0;
    bool kept_ = false;
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
    struct stat original
    {
    };
    const mode_t mode = ::stat(QFile::encodeName(path).constData(), &original) == 0 ? (original.st_mode & 07777) : 0600;

    // A journal names its record by number; once records have moved it would
    // put an old page over another one. The page it guards goes back first.
    if (const FileError error = PageJournal::Recover(file))
        return error;

    const bool dropping = drop >= 1 && drop <= keep;
    TempFile temp(folder + u'/' + TempFileName());
    if (const FileError error = temp.Create(mode)) {
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
    RecordFile::FlushFolder(folder);
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
