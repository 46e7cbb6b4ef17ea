#include "core/platform/SafeFile.h"

#include "core/platform/FullTransfer.h"
#include "core/platform/RecordFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
            const int inner = ::openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            emptied = inner >= 0 && EmptyFolder(inner) && emptied;
            if (inner >= 0)
                ::close(inner);
            emptied = ::unlinkat(folder, name.constData(), AT_REMOVEDIR) == 0 && emptied;
        } else {
            emptied = ::unlinkat(folder, name.constData(), 0) == 0 && emptied;
        }
    }
    return emptied;
}

bool RemoveOwnFolder(const QString& path)
{
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info
    {
    };
    // Looked at again through the descriptor: the name may have been swapped.
    const bool own = ::fstat(fd, &info) == 0 && IsOwn(info) && EmptyFolder(fd);
    ::close(fd);
    return own && ::rmdir(Native(path).constData()) == 0;
}

} // namespace

SafeFile::~SafeFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (made_)
        ::unlink(Native(path_).constData());
}

FileError SafeFile::Create(const QString& path, IfTaken ifTaken, mode_t mode)
{
    const auto open = [&] {
        return ::open(Native(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    };
    fd_ = open();
    int error = fd_ < 0 ? errno : 0;
    // A leftover of an earlier run of the user's own makes way.
    if (error == EEXIST && !IsForeign(path) && RemoveOwn(path)) {
        fd_ = open();
        error = fd_ < 0 ? errno : 0;
    }
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
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0)
        return FileError::FromErrno(errno);
    path_ = QFile::decodeName(name);
    made_ = true;
    return {};
}

FileError SafeFile::OpenToRead(const QString& path, bool onlyOwn)
{
    // Not blocking: a named pipe put there must not hold the program.
    const int flags = O_RDONLY | O_CLOEXEC | (onlyOwn ? O_NOFOLLOW | O_NONBLOCK : 0);
    fd_ = ::open(Native(path).constData(), flags);
    if (fd_ < 0) {
        const int error = errno;
        return FileError::FromErrno(onlyOwn && error != ENOENT && IsForeign(path) ? NotOwn : error);
    }
    path_ = path;
    struct stat info
    {
    };
    if (onlyOwn && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) || !IsOwn(info)))
        return FileError::FromErrno(NotOwn);
    return {};
}

FileError SafeFile::TakeGroupAndModeOf(const QString& replaced)
{
    struct stat old
    {
    };
    struct stat mine
    {
    };
    if (::stat(Native(replaced).constData(), &old) != 0 || ::fstat(fd_, &mine) != 0)
        return {};
    mode_t mode = old.st_mode & 0777;
    // A group the user is no member of cannot be given: then it gets nothing.
    if (mine.st_gid != old.st_gid && ::fchown(fd_, uid_t(-1), old.st_gid) != 0)
        mode &= ~mode_t(070);
    if (::fchmod(fd_, mode) != 0)
        return FileError::FromErrno(errno);
    return {};
}

FileError SafeFile::Write(const QByteArray& bytes)
{
    return WriteFully(fd_, bytes.constData(), bytes.size());
}

FileError SafeFile::Flush()
{
    if (::fsync(fd_) != 0)
        return FileError::FromErrno(errno);
    return {};
}

FileError SafeFile::RenameOver(const QString& target)
{
    if (::rename(Native(path_).constData(), Native(target).constData()) != 0)
        return FileError::FromErrno(errno);
    made_ = false;
    path_ = target;
    RecordFile::FlushFolder(QFileInfo(target).absolutePath());
    return {};
}

FileError SafeFile::Close()
{
    made_ = false;
    const int fd = Release();
    if (fd >= 0 && ::close(fd) != 0)
        return FileError::FromErrno(errno);
    return {};
}

int SafeFile::Release()
{
    made_ = false;
    const int fd = fd_;
    fd_ = -1;
    return fd;
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
