#include "core/sync/MergeBase.h"

#include "core/platform/RecordSeal.h"
#include "core/platform/RegularFileRead.h"
#include "core/platform/SafeFile.h"
#include "core/platform/StateFolder.h"
#include "core/sync/PageHash.h"

#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <cstring>

namespace {

const QByteArray Magic = QByteArrayLiteral("SFBASE02");
constexpr qsizetype CountLength = 4;
constexpr qsizetype HashLength = 8;
constexpr qsizetype PageLength = PageDigest::DateLength + HashLength;
constexpr qsizetype IdentityLength = 4 * 8;
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
    return StateFolder::FileFor(QStringLiteral("merge-base-"), diaryPath);
}

QByteArray MergeBase::Encode(const PageDigests& digests, const FileIdentity& of)
{
    QByteArray bytes = Magic;
    bytes.reserve(Magic.size() + CountLength + qsizetype(digests.size()) * PageLength + IdentityLength + HashLength);
    Append(bytes, quint32(digests.size()));
    for (const PageDigest& digest : digests) {
        bytes.append(digest.date.data(), PageDigest::DateLength);
        Append(bytes, digest.hash);
    }
    Append(bytes, quint64(of.device));
    Append(bytes, quint64(of.inode));
    Append(bytes, qint64(of.size));
    Append(bytes, qint64(of.modifiedNs));
    Append(bytes, PageHash::Of(bytes.constData(), bytes.size()));
    return bytes;
}

std::optional<PageDigests> MergeBase::Decode(const QByteArray& bytes, FileIdentity* of)
{
    const qsizetype header = Magic.size() + CountLength;
    if (bytes.size() < header + IdentityLength + HashLength || !bytes.startsWith(Magic))
        return std::nullopt;
    const auto count = qsizetype(NumberAt<quint32>(bytes, Magic.size()));
    const qsizetype body = bytes.size() - header - IdentityLength - HashLength;
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
    if (of) {
        const qsizetype at = header + body;
        *of = {dev_t(NumberAt<quint64>(bytes, at)), ino_t(NumberAt<quint64>(bytes, at + 8)),
               off_t(NumberAt<qint64>(bytes, at + 16)), NumberAt<qint64>(bytes, at + 24)};
    }
    return digests;
}

FileError MergeBase::Save(const QString& diaryPath, const PageDigests& digests, const FileIdentity& of,
                          const RecordSeal* seal)
{
    errno = 0;
    if (!StateFolder::Make())
        return FileError::FromErrno(errno ? errno : EACCES);
    const QString path = PathFor(diaryPath);
    const QByteArray bytes = Encode(digests, of);
    return SafeFile::Replace(path, QFileInfo(path).fileName() + QStringLiteral(".new"),
                             seal ? seal->Seal(SealedNumber, bytes) : bytes, 0600);
}

std::optional<PageDigests> MergeBase::Load(const QString& diaryPath, const RecordSeal* seal)
{
    return Read(diaryPath, nullptr, seal);
}

bool MergeBase::IsOf(const QString& diaryPath, const FileIdentity& file, const RecordSeal* seal)
{
    FileIdentity of;
    return Read(diaryPath, &of, seal) && of == file;
}

std::optional<PageDigests> MergeBase::Read(const QString& diaryPath, FileIdentity* of, const RecordSeal* seal)
{
    const QString path = PathFor(diaryPath);
    if (SafeFile::IsForeign(path))
        return std::nullopt;
    const RegularFileRead read = ReadRegularFile(path, LargestBase);
    if (read.outcome != RegularFileRead::Outcome::Read)
        return std::nullopt;
    if (!seal)
        return Decode(read.bytes, of);
    // Another key's, or a plain base, opens to nothing: the merge goes on
    // without a base.
    const qint64 length = read.bytes.size() - seal->StoredLength(0);
    if (length <= 0)
        return std::nullopt;
    QByteArray bytes(length, Qt::Uninitialized);
    if (!seal->Open(SealedNumber, read.bytes.constData(), int(length), bytes.data()))
        return std::nullopt;
    return Decode(bytes, of);
}
