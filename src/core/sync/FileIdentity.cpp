#include "core/sync/FileIdentity.h"

#include "core/platform/RecordFile.h"

#include <QFile>
#include <sys/stat.h>

namespace {

FileIdentity FromStat(const struct stat& status)
{
    return {status.st_dev, status.st_ino, status.st_size,
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

} // namespace

std::optional<FileIdentity> FileIdentity::OfOpen(const RecordFile& file)
{
    struct stat status {};
    if (!file.IsOpen() || ::fstat(file.Descriptor(), &status) != 0)
        return std::nullopt;
    return FromStat(status);
}

std::optional<FileIdentity> FileIdentity::OfPath(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FromStat(status);
}
