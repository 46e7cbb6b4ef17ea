#include "core/platform/SafeFile.h"

#include "core/platform/FullTransfer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

bool IsOwn(const struct stat& info)
{
    return info.st_uid == ::geteuid();
}

// What lies at the name itself; false when nothing does.
bool LinkStatus(const QString& path, struct stat& info)
{
    return ::lstat(Native(path).constData(), &info) == 0;
}

// Removes everything in a folder of the user's own, by descriptor and name
// within it, so that a link inside is removed and never followed.
bool EmptyFolder(int folder)
{
    const int listed = ::dup(folder);
    DIR* dir = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!dir) {
        if (listed >= 0)
            ::close(listed);
        return false;
    }
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(dir))
        if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
            names << QByteArray(entry->d_name);
    ::closedir(dir);
    bool emptied = true;
    for (const QByteArray& name : names) {
        struct stat info
        {
        };
        if (::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            const FileDescriptor inner(
                ::openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            emptied = inner.IsOpen() && EmptyFolder(inner.Get()) && emptied;
            emptied = ::unlinkat(folder, name.constData(), AT_REMOVEDIR) == 0 && emptied;
        } else {
            emptied = ::unlinkat(folder, name.constData(), 0) == 0 && emptied;
        }
    }
    return emptied;
}

bool RemoveOwnFolder(const QString& path)
{
    const FileDescriptor folder(::open(Native(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.IsOpen())
        return false;
    struct stat info
    {
    };
    // Looked at again through the descriptor: the name may have been swapped.
    const bool own = ::fstat(folder.Get(), &info) == 0 && IsOwn(info) && EmptyFolder(folder.Get());
    return own && ::rmdir(Native(path).constData()) == 0;
}

FileDescriptor OpenFolder(const QString& folder)
{
    return FileDescriptor(::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

} // namespace

SafeFile::~SafeFile()
{
    Discard();
}

FileError SafeFile::Create(const QString& path, IfTaken ifTaken, mode_t mode)
{
    const auto open = [&] {
        fd_.Reset(::open(Native(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        return fd_.IsOpen() ? 0 : errno;
    };
    int error = open();
    // A leftover of an earlier run of the user's own makes way.
    if (error == EEXIST && !IsForeign(path) && RemoveOwn(path))
        error = open();
    if (error == EEXIST && ifTaken == IfTaken::UniqueName)
        return CreateUnique(path);
    if (error)
        return FileError::FromErrno(error);
    path_ = path;
    made_ = true;
    return {};
}

FileError SafeFile::CreateUnique(const QString& path)
{
    QByteArray name = Native(path + QStringLiteral(".XXXXXX"));
    fd_.Reset(::mkostemp(name.data(), O_CLOEXEC));
    if (!fd_.IsOpen())
        return FileError::FromErrno(errno);
    path_ = QFile::decodeName(name);
    made_ = true;
    return {};
}

FileError SafeFile::OpenToRead(const QString& path, bool onlyOwn)
{
    // Not blocking: a named pipe put there must not hold the program.
    const int flags = O_RDONLY | O_CLOEXEC | (onlyOwn ? O_NOFOLLOW | O_NONBLOCK : 0);
    fd_.Reset(::open(Native(path).constData(), flags));
    if (!fd_.IsOpen()) {
        const int error = errno;
        return FileError::FromErrno(onlyOwn && error != ENOENT && IsForeign(path) ? NotOwn : error);
    }
    path_ = path;
    struct stat info
    {
    };
    if (onlyOwn && (::fstat(fd_.Get(), &info) != 0 || !S_ISREG(info.st_mode) || !IsOwn(info)))
        return FileError::FromErrno(NotOwn);
    return {};
}

FileError SafeFile::CreateToReplace(const QString& target, const QString& name, mode_t mode)
{
    if (const FileError error = Create(QFileInfo(target).absolutePath() + u'/' + name, IfTaken::UniqueName, mode))
        return error;
    return TakeGroupAndModeOf(target);
}

FileError SafeFile::TakeGroupAndModeOf(const QString& replaced)
{
    struct stat old
    {
    };
    struct stat mine
    {
    };
    // A new file, replacing none, keeps the mode it was made with.
    if (::stat(Native(replaced).constData(), &old) != 0 || ::fstat(fd_.Get(), &mine) != 0)
        return {};
    mode_t mode = old.st_mode & 0777;
    // A group the user is no member of cannot be given: then it gets nothing.
    if (mine.st_gid != old.st_gid && ::fchown(fd_.Get(), uid_t(-1), old.st_gid) != 0)
        mode &= ~mode_t(070);
    if (::fchmod(fd_.Get(), mode) != 0)
        return FileError::FromErrno(errno);
    return {};
}

FileError SafeFile::Write(const QByteArray& bytes)
{
    return WriteFully(fd_.Get(), bytes.constData(), bytes.size());
}

void SafeFile::StartFlush(qint64 offset, qint64 length)
{
    ::sync_file_range(fd_.Get(), off_t(offset), off_t(length), SYNC_FILE_RANGE_WRITE);
}

FileError SafeFile::Flush()
{
    if (::fsync(fd_.Get()) != 0)
        return FileError::FromErrno(errno);
    return {};
}

FileError SafeFile::RenameOver(const QString& target)
{
    if (const FileError error = Flush())
        return error;
    if (::rename(Native(path_).constData(), Native(target).constData()) != 0)
        return FileError::FromErrno(errno);
    made_ = false;
    path_ = target;
    return FlushFolder(QFileInfo(target).absolutePath());
}

FileError SafeFile::Close()
{
    if (const FileError error = fd_.Close())
        return error;
    made_ = false;
    return {};
}

int SafeFile::Release()
{
    made_ = false;
    return fd_.Release();
}

FileError SafeFile::Discard()
{
    fd_.Reset();
    const bool made = std::exchange(made_, false);
    if (made && ::unlink(Native(path_).constData()) != 0 && errno != ENOENT)
        return FileError::FromErrno(errno);
    return {};
}

FileError SafeFile::WriteNew(const QString& path, const QByteArray& bytes, Durability durability)
{
    SafeFile file;
    FileError error = file.Create(path, IfTaken::Fail);
    if (error)
        return error;
    error = file.Write(bytes);
    if (!error && durability == Durability::Flushed)
        error = file.Flush();
    if (!error)
        error = file.Close();
    // A file left half written under the name would pass for a whole one.
    if (error)
        if (const FileError removed = file.Discard())
            return removed;
    return error;
}

FileError SafeFile::Replace(const QString& target, const QString& name, const QByteArray& bytes, mode_t mode)
{
    SafeFile temp;
    if (const FileError error = temp.CreateToReplace(target, name, mode))
        return error;
    if (const FileError error = temp.Write(bytes))
        return error;
    return temp.RenameOver(target);
}

FileError SafeFile::FlushFolder(const QString& folder)
{
    // A folder the user may write but not list, and a file system that keeps
    // no folder on a disk of its own, give nothing to flush: that is no
    // failure, or no file could ever be saved there.
    const FileDescriptor opened = OpenFolder(folder);
    if (!opened.IsOpen())
        return errno == EACCES ? FileError{} : FileError::FromErrno(errno);
    if (::fsync(opened.Get()) != 0 && errno != EINVAL && errno != EOPNOTSUPP)
        return FileError::FromErrno(errno);
    return {};
}

FileError SafeFile::FlushFileSystemOf(const QString& folder)
{
    const FileDescriptor opened = OpenFolder(folder);
    if (!opened.IsOpen() || ::syncfs(opened.Get()) != 0)
        return FileError::FromErrno(errno);
    return {};
}

bool SafeFile::FolderRefused(const FileError& error)
{
    return error.systemError == EACCES || error.systemError == EPERM || error.systemError == EROFS;
}

FileError SafeFile::MakeFolder(const QString& path, QString& made)
{
    made = path;
    const auto make = [&] { return ::mkdir(Native(path).constData(), 0700) == 0 ? 0 : errno; };
    int error = make();
    if (error == EEXIST && RemoveOwn(path))
        error = make();
    if (error != EEXIST)
        return FileError::FromErrno(error);
    QByteArray name = Native(path + QStringLiteral(".XXXXXX"));
    if (!::mkdtemp(name.data()))
        return FileError::FromErrno(errno);
    made = QFile::decodeName(name);
    return {};
}

bool SafeFile::RemoveOwn(const QString& path)
{
    struct stat info
    {
    };
    if (!LinkStatus(path, info))
        return errno == ENOENT;
    if (S_ISDIR(info.st_mode) && IsOwn(info))
        return RemoveOwnFolder(path);
    if (S_ISREG(info.st_mode) && IsOwn(info))
        return ::unlink(Native(path).constData()) == 0 || errno == ENOENT;
    errno = EEXIST;
    return false;
}

bool SafeFile::IsForeign(const QString& path)
{
    struct stat info
    {
    };
    return LinkStatus(path, info) && !(S_ISREG(info.st_mode) && IsOwn(info));
}
