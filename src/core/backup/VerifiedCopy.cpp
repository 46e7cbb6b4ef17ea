#include "core/backup/VerifiedCopy.h"

#include "core/platform/FullTransfer.h"
#include "core/platform/RecordFile.h"
#include "core/platform/RecordFileRewriter.h"
#include "core/platform/SafeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The copy and its check go in runs of this many bytes: small enough that a
// run is still in the processor's cache when it is compared.
constexpr qint64 ChunkBytes = 1 << 20;

// Whether the run at `offset` holds the same bytes in both files.
FileError CompareRun(int from, int to, qint64 offset, qint64 length, std::vector<char>& expected,
                     std::vector<char>& actual)
{
    if (const FileError error = ReadFully(from, expected.data(), length, offset))
        return error;
    if (const FileError error = ReadFully(to, actual.data(), length, offset))
        return error;
    if (std::memcmp(expected.data(), actual.data(), size_t(length)) != 0)
        return {FileError::DeviceIO, EIO};
    return {};
}

// Copies `length` bytes at `offset`. The kernel copies, as a reflink where the
// file system has one; where it cannot copy between these two files, the
// bytes pass through `buffer` instead.
FileError CopyBytes(int from, int to, qint64 offset, qint64 length, std::vector<char>& buffer)
{
    loff_t in = offset;
    loff_t out = offset;
    const qint64 end = offset + length;
    while (in < end) {
        const ssize_t copied = ::copy_file_range(from, &in, to, &out, size_t(end - in), 0);
        if (copied > 0)
            continue;
        if (copied == 0)
            return {FileError::InputPastEnd, 0};
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL)
            return FileError::FromErrno(errno);
        break;
    }
    while (in < end) {
        const qint64 run = qMin(qint64(end - in), qint64(buffer.size()));
        if (const FileError error = ReadFully(from, buffer.data(), run, in))
            return error;
        if (const FileError error = WriteFully(to, buffer.data(), run, in))
            return error;
        in += run;
    }
    return {};
}

// Copies the file open as `from` into the empty file `copy` and checks that
// it holds the file's bytes; the rename into place flushes it. The copy goes a run at a time, and
// each run is compared on both sides while its bytes are still in the
// processor's cache: a byte-for-byte check that costs less than summing both
// files afterwards.
FileError CopyChecked(int from, SafeFile& copy)
{
    const int to = copy.Descriptor();
    struct stat original
    {
    };
    if (::fstat(from, &original) != 0)
        return FileError::FromErrno(errno);
    const qint64 length = original.st_size;
    // A disk without room for the whole copy refuses here, before any of it
    // is copied.
    if (const FileError error = ReserveRoom(to, length))
        return error;
    std::vector<char> expected(size_t(qMin(length, ChunkBytes)));
    std::vector<char> actual(expected.size());
    for (qint64 at = 0; at < length; at += ChunkBytes) {
        const qint64 run = qMin(ChunkBytes, length - at);
        if (const FileError error = CopyBytes(from, to, at, run, expected))
            return error;
        if (const FileError error = CompareRun(from, to, at, run, expected, actual))
            return error;
        copy.StartFlush(at, run);
    }
    struct stat copied
    {
    };
    if (::fstat(to, &copied) != 0)
        return FileError::FromErrno(errno);
    if (copied.st_size != length)
        return {FileError::DeviceIO, EIO};
    return {};
}

} // namespace

FileError VerifiedCopy::ToNewFile(const QString& source, const QString& target)
{
    SafeFile from;
    if (const FileError error = from.OpenToRead(source, false))
        return error;
    // Under a name no copy has, until it is whole and flushed.
    SafeFile to;
    if (const FileError error = to.Create(target + PartSuffix(), SafeFile::IfTaken::UniqueName))
        return error;
    if (const FileError error = CopyChecked(from.Descriptor(), to))
        return error;
    return to.RenameOver(target);
}

FileError VerifiedCopy::OverDiary(RecordFile& diary, const QString& copyPath)
{
    // Only a copy of the user's own takes the diary's place.
    SafeFile from;
    if (const FileError error = from.OpenToRead(copyPath, true))
        return error;
    SafeFile to;
    if (const FileError error = to.CreateToReplace(diary.Path(), RecordFileRewriter::TempFileName()))
        return error;
    if (const FileError error = CopyChecked(from.Descriptor(), to))
        return error;
    const bool locked = diary.IsLocked();
    if (locked)
        if (const FileError error = RecordFile::LockDescriptor(to.Descriptor()))
            return error;
    const FileError renamed = to.RenameOver(diary.Path());
    if (to.Path() != diary.Path())
        return renamed;
    // In place, though its folder may not have reached the disk: the diary
    // is the copy from here on, and a failed flush is still told.
    diary.CloseInBackground();
    diary.Adopt(to.Release(), locked);
    return renamed;
}
