#include "core/platform/WriteFully.h"

#include <cerrno>
#include <unistd.h>

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
