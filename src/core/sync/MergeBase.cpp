#include "core/sync/MergeBase.h"

#include "core/platform/RegularFileRead.h"
#include "core/platform/SafeFile.h"
#include "core/platform/StateFolder.h"
#include "core/sync/PageHash.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <cstring>

namespace {

const QByteArray Magic = QByteArrayLiteral("SFBASE01");
constexpr qsizetype CountLength = 4;
constexpr qsizetype HashLength = 8;
constexpr qsizetype PageLength = PageDigest::DateLength + HashLength;
// A base of more pages than any diary holds is damaged, not read.
constexpr qint64 LargestBase = 256 * 1024 * 1024;

template <typename Number> void Append(QByteArray& bytes, Number number)
{
    const Number stored = qToLittleEndian(number);
    bytes.append(reinterpret_cast<const char*>(&stored), qsizetype(sizeof stored));
}

template <typename Number> Number NumberAt(const QByteArray& bytes, qsizetype offset)
{
    Number stored;
    std::memcpy(&stored, bytes.constData() + offset, sizeof stored);
    return qFromLittleEndian(stored);
}

} // namespace

QString MergeBase::PathFor(const QString& diaryPath)
{
    const QString absolute = QFileInfo(diaryPath).absoluteFilePath();
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(absolute), QCryptographicHash::Sha1).toHex();
    return StateFolder::Path() + QStringLiteral("/merge-base-") + QString::fromLatin1(hash);
}

QByteArray MergeBase::Encode(const PageDigests& digests)
{
    QByteArray bytes = Magic;
    bytes.reserve(Magic.size() + CountLength + qsizetype(digests.size()) * PageLength + HashLength);
    Append(bytes, quint32(digests.size()));
    for (const PageDigest& digest : digests) {
        bytes.append(digest.date.data(), PageDigest::DateLength);
        Append(bytes, digest.hash);
    }
    Append(bytes, PageHash::Of(bytes.constData(), bytes.size()));
    return bytes;
}

std::optional<PageDigests> MergeBase::Decode(const QByteArray& bytes)
{
    const qsizetype header = Magic.size() + CountLength;
    if (bytes.size() < header + HashLength || !bytes.startsWith(Magic))
        return std::nullopt;
    const auto count = qsizetype(NumberAt<quint32>(bytes, Magic.size()));
    const qsizetype body = bytes.size() - header - HashLength;
    if (body % PageLength != 0 || body / PageLength != count)
        return std::nullopt;
    const qsizetype end = bytes.size() - HashLength;
    if (NumberAt<quint64>(bytes, end) != PageHash::Of(bytes.constData(), end))
        return std::nullopt;
    PageDigests digests(static_cast<size_t>(count));
    for (qsizetype page = 0; page < count; ++page) {
        const qsizetype at = header + page * PageLength;
        std::memcpy(digests[size_t(page)].date.data(), bytes.constData() + at, PageDigest::DateLength);
        digests[size_t(page)].hash = NumberAt<quint64>(bytes, at + PageDigest::DateLength);
    }
    return digests;
}

FileError MergeBase::Save(const QString& diaryPath, const PageDigests& digests)
{
    errno = 0;
    if (!StateFolder::Make())
        return FileError::FromErrno(errno ? errno : EACCES);
    const QString path = PathFor(diaryPath);
    return SafeFile::Replace(path, QFileInfo(path).fileName() + QStringLiteral(".new"), Encode(digests), 0600);
}

std::optional<PageDigests> MergeBase::Load(const QString& diaryPath)
{
    const QString path = PathFor(diaryPath);
    if (SafeFile::IsForeign(path))
        return std::nullopt;
    const RegularFileRead read = ReadRegularFile(path, LargestBase);
    if (read.outcome != RegularFileRead::Outcome::Read)
        return std::nullopt;
    return Decode(read.bytes);
}
