#include "core/platform/RegularFileRead.h"

#include "core/platform/FileDescriptor.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

RegularFileRead Refused(RegularFileRead::Outcome outcome, qint64 size = 0)
{
    RegularFileRead result;
    result.outcome = outcome;
    result.size = size;
    return result;
}

RegularFileRead Failed(int error)
{
    RegularFileRead result;
    result.error = FileError::FromErrno(error);
    return result;
}

// Reads to the end, or to one byte past the limit: that byte tells a file
// that grew after it was measured. The buffer starts at the measured size.
RegularFileRead ReadAll(int fd, qint64 measured, qint64 limit)
{
    QByteArray bytes(measured + 1, Qt::Uninitialized);
    qint64 got = 0;
    while (got <= limit) {
        if (got == bytes.size())
            bytes.resize(std::min(2 * got, limit + 1));
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failed(errno);
        if (n == 0)
            break;
        got += n;
    }
    if (got > limit)
        return Refused(RegularFileRead::Outcome::TooLarge, got);
    RegularFileRead result = Refused(RegularFileRead::Outcome::Read, got);
    bytes.truncate(got);
    result.bytes = bytes;
    return result;
}

RegularFileRead ReadOpened(int fd, qint64 limit)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        return Failed(errno);
    if (!S_ISREG(info.st_mode))
        return Refused(RegularFileRead::Outcome::NotRegular);
    if (info.st_size > limit)
        return Refused(RegularFileRead::Outcome::TooLarge, info.st_size);
    return ReadAll(fd, info.st_size, limit);
}

} // namespace

RegularFileRead ReadRegularFile(const QString& path, qint64 limit)
{
    // O_NONBLOCK makes the open of a pipe return at once, so that it is refused, not waited on.
    const FileDescriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.IsOpen())
        return errno == ELOOP ? Refused(RegularFileRead::Outcome::Link) : Failed(errno);
    return ReadOpened(file.Get(), limit);
}
