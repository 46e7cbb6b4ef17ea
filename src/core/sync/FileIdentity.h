#pragma once

#include <QString>
#include <optional>
#include <sys/types.h>

class RecordFile;

// Which file a path names and how this program last left it: a sync tool
// that puts a new version in place renames another file over the path (a new
// inode) or writes into it (a new size or modification time).
struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modifiedNs = 0;

    bool SameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
    bool operator==(const FileIdentity& other) const = default;

    // The open file itself, wherever it is now.
    static std::optional<FileIdentity> OfOpen(const RecordFile& file);
    // Whatever the path names now; nothing when it names nothing.
    static std::optional<FileIdentity> OfPath(const QString& path);
};
