#include "core/platform/FileDescriptor.h"

#include <cerrno>
#include <unistd.h>

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other)
        Reset(other.Release());
    return *this;
}

int FileDescriptor::Release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void FileDescriptor::Reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

FileError FileDescriptor::Close()
{
    const int fd = Release();
    if (fd >= 0 && ::close(fd) != 0)
        return FileError::FromErrno(errno);
    return {};
}
