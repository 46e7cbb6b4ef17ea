#pragma once

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
class SafeFile
{
public:
    // What to do when a fixed name is taken by something not the user's own.
    enum class IfTaken {
        Fail,       // fail with EEXIST: the caller has another place
        UniqueName, // make the file under a unique name beside it
    };

    SafeFile() = default;
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // A new empty file, open for reading and writing, at `path`. A leftover
    // of the user's own under that name is removed first.
    FileError Create(const QString& path, IfTaken ifTaken, mode_t mode = 0600);
    // An existing file, open for reading: `onlyOwn` takes only a real file of
    // the user's own (the others fail with NotOwn), never through a link.
    FileError OpenToRead(const QString& path, bool onlyOwn);

    // Gives the new file the group and the mode of the file it is to replace,
    // never more: where the group cannot be kept, the group has no access.
    FileError TakeGroupAndModeOf(const QString& replaced);
    FileError Write(const QByteArray& bytes);
    FileError Flush();
    // Renames the new file over `target` and makes that survive a power cut.
    FileError RenameOver(const QString& target);
    // Closes it, and keeps the file where it is.
    FileError Close();

    int Descriptor() const { return fd_; }
    // The file's name: the fixed one asked for, or the unique one given.
    const QString& Path() const { return path_; }
    // The descriptor, now the caller's; the file stays.
    int Release();

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

    // The reason given for what is not the user's own.
    static constexpr int NotOwn = EPERM;

private:
    FileError CreateUnique(const QString& path);

    int fd_ = -1;
    QString path_;
    bool made_ = false;
};
