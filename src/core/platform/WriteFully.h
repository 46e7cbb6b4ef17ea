#pragma once

#include "core/platform/FileError.h"

#include <QtGlobal>

// Writes all of length bytes, continuing after short writes and interrupted
// calls: at the file's own position, or at `position` when it is given. A
// write that makes no progress is a full disk.
FileError WriteFully(int fd, const char* bytes, qint64 length, qint64 position = -1);
