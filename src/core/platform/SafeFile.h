#pragma once

#include "core/platform/FileDescriptor.h"
#include "core/platform/FileError.h"

#include <QByteArray>
#include <QString>
#include <cerrno>
#include <sys/types.h>

// Every file and folder the program makes beside the diary or in a folder the
// user chose, which other users of the machine may write too. Such a folder
// can hold a symbolic link to the user's own files, or a file another user
// made and can read, under the very name the program is about to use. So
// each file is made new by this opening alone, never through a link, and
// nothing there is read, applied or removed unless it is a real file or
// folder of the user's own.
//
// A SafeFile owns its descriptor: it is closed when the SafeFile goes, and a
// file made new is removed with it unless it was renamed into place or kept.
//
// Every file the program writes whole goes through here: made new by
// Create, written by Write, and either kept (WriteNew) or put in the place of
// the file it replaces (CreateToReplace, then RenameOver).
class SafeFile
{
public:
    // What to do when a fixed name is taken by something not the user's own.
    enum class IfTaken {
        Fail,       // fail with EEXIST: the caller has another place
        UniqueName, // make the file under a unique name beside it
    };
    // Whether a file written whole must be on the disk before it counts.
    enum class Durability {
        Flushed,   // flushed before it is closed
        FlushLater // the caller flushes many at once (FlushFileSystemOf)
    };

    SafeFile() = default;
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // A new empty file, open for reading and writing, at `path`. A leftover
    // of the user's own under that name is removed first.
    FileError Create(const QString& path, IfTaken ifTaken, mode_t mode = 0600);
    // A new empty file called `name` in the folder of `target`, under a
    // unique name when that is taken, to take target's place: it gets the
    // group and the mode of target where there is one, never more; where the
    // group cannot be kept, the group has no access.
    FileError CreateToReplace(const QString& target, const QString& name, mode_t mode = 0600);
    // An existing file, open for reading: `onlyOwn` takes only a real file of
    // the user's own (the others fail with NotOwn), never through a link.
    FileError OpenToRead(const QString& path, bool onlyOwn);

    FileError Write(const QByteArray& bytes);
    // Starts the disk on bytes just written while the next are made ready,
    // so that the flush at the end has little left to wait for. Only a hint:
    // the flush reports any failure.
    void StartFlush(qint64 offset, qint64 length);
    FileError Flush();
    // Flushes the new file, renames it over `target` and flushes the folder,
    // so that the replacement survives a power cut. When only the folder's
    // flush fails, the file has taken target's place all the same: Path() is
    // then target.
    FileError RenameOver(const QString& target);
    // Closes it, and keeps the file where it is.
    FileError Close();

    int Descriptor() const { return fd_.Get(); }
    // The file's name: the fixed one asked for, or the unique one given.
    const QString& Path() const { return path_; }
    // The descriptor, now the caller's; the file stays.
    int Release();

    // A new file at `path` holding `bytes`, or no file at all: what failed
    // half way is removed.
    static FileError WriteNew(const QString& path, const QByteArray& bytes, Durability durability);
    // Replaces `target` whole with `bytes` through a file called `name`
    // beside it: until the rename the target is untouched. A new target gets
    // `mode`.
    static FileError Replace(const QString& target, const QString& name, const QByteArray& bytes, mode_t mode);

    // A folder of the user's own alone, new at `path`, or under a unique name
    // beside it when that is taken by anything else. `made` names it.
    static FileError MakeFolder(const QString& path, QString& made);
    // Removes a leftover file or folder (with all it holds) only when it is a
    // real one of the user's own; a link is never followed. False when
    // something stays.
    static bool RemoveOwn(const QString& path);
    // Whether something is at `path` (not followed) and not the user's own
    // real file.
    static bool IsForeign(const QString& path);
    // Makes a file's creation, rename or removal in the folder survive a
    // power cut.
    static FileError FlushFolder(const QString& folder);
    // Makes every file in the folder survive a power cut at once: one flush
    // of the file system costs far less than one for each of thousands.
    static FileError FlushFileSystemOf(const QString& folder);
    // The folder takes no new file, though a file in it may be written.
    static bool FolderRefused(const FileError& error);

    // The reason given for what is not the user's own.
    static constexpr int NotOwn = EPERM;

private:
    FileError CreateUnique(const QString& path);
    FileError TakeGroupAndModeOf(const QString& replaced);
    // Closes and removes the file made new; fails when it stays.
    FileError Discard();

    FileDescriptor fd_;
    QString path_;
    bool made_ = false;
};
