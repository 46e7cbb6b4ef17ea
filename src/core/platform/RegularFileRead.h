#pragma once

#include "core/platform/FileError.h"

#include <QByteArray>
#include <QString>

// The whole of a small regular file, or why it was left unread. A file named
// by someone else's folder may be a link to anywhere, a pipe that never ends,
// a device, or far larger than memory: none of those is read.
struct RegularFileRead
{
    enum class Outcome { Read, Link, NotRegular, TooLarge, Failed };
    Outcome outcome = Outcome::Failed;
    qint64 size = 0;  // the file's size as it was found, also when too large
    FileError error;  // why it failed
    QByteArray bytes; // what was read: only when Read
};

// Reads `path` when it is a regular file of at most `limit` bytes, never
// through a symbolic link and never waiting on a pipe or a device.
RegularFileRead ReadRegularFile(const QString& path, qint64 limit);
