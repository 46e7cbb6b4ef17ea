#pragma once

#include "core/platform/FileError.h"

// The one owner of an open file's descriptor in the program: it is closed when
// its owner goes, unless it was handed on.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // The descriptor, now the caller's.
    int Release();
    // Closes the one held and takes `fd` instead.
    void Reset(int fd = -1);
    // Closes it and says whether the close failed: on some file systems the
    // close is where a failed write shows.
    FileError Close();

private:
    int fd_ = -1;
};
