#include "core/platform/FullTransfer.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

FileError ReserveRoom(int fd, qint64 length)
{
    if (length > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(length)) != 0 &&
        (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
        return FileError::FromErrno(errno);
    return {};
}

FileError ReadFully(int fd, char* into, qint64 length, qint64 position)
{
    qint64 done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, into + done, size_t(length - done), off_t(position + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return FileError::FromErrno(errno);
        if (got == 0)
            return {FileError::InputPastEnd, 0};
        done += got;
    }
    return {};
}

FileError WriteFully(int fd, const char* bytes, qint64 length, qint64 position)
{
    qint64 done = 0;
    while (done < length) {
        const auto rest = size_t(length - done);
        const ssize_t put =
            position < 0 ? ::write(fd, bytes + done, rest) : ::pwrite(fd, bytes + done, rest, off_t(position + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return FileError::FromErrno(put < 0 ? errno : ENOSPC);
        done += put;
    }
    return {};
}
