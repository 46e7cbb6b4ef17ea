#pragma once

#include "core/platform/FileError.h"

#include <QtGlobal>

// Reads all of length bytes at `position`, continuing after short reads and
// interrupted calls. A file that ends before them is input past its end.
FileError ReadFully(int fd, char* into, qint64 length, qint64 position);

// Claims the room for `length` bytes of a new file before any is written,
// so that a disk without it refuses at once. A file system that does not
// understand the claim is no failure: the writes report what they meet.
FileError ReserveRoom(int fd, qint64 length);

// Writes all of length bytes, continuing after short writes and interrupted
// calls: at the file's own position, or at `position` when it is given. A
// write that makes no progress is a full disk.
FileError WriteFully(int fd, const char* bytes, qint64 length, qint64 position = -1);
