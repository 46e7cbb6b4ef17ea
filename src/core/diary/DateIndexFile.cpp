#include "core/diary/DateIndexFile.h"

#include "core/diary/DateIndex.h"
#include "core/platform/RecordSeal.h"
#include "core/platform/RegularFileRead.h"
#include "core/platform/SafeFile.h"
#include "core/platform/StateFolder.h"

#include <QFileInfo>
#include <QtEndian>
#include <cerrno>

namespace {

const QByteArray Magic = QByteArrayLiteral("SFDIDX01");
// Record 0 of the diary's seal: pages are numbered from 1.
constexpr qint32 IndexNumber = 0;
constexpr qsizetype IdentityLength = 4 * 8;
constexpr qsizetype CountLength = 4;
// An index of more pages than any diary holds is damaged, not read.
constexpr qint64 LargestIndex = 64 * 1024 * 1024;

template <typename Number> void Append(QByteArray& bytes, Number number)
{
    const Number stored = qToLittleEndian(number);
    bytes.append(reinterpret_cast<const char*>(&stored), qsizetype(sizeof stored));
}

template <typename Number> Number NumberAt(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<Number>(bytes.constData() + offset);
}

QByteArray Plain(const FileIdentity& of, const QByteArray& days)
{
    QByteArray plain;
    plain.reserve(IdentityLength + CountLength + days.size());
    Append(plain, quint64(of.device));
    Append(plain, quint64(of.inode));
    Append(plain, qint64(of.size));
    Append(plain, qint64(of.modifiedNs));
    Append(plain, quint32(days.size() / 4));
    return plain + days;
}

FileIdentity IdentityIn(const QByteArray& plain)
{
    return {dev_t(NumberAt<quint64>(plain, 0)), ino_t(NumberAt<quint64>(plain, 8)), off_t(NumberAt<qint64>(plain, 16)),
            NumberAt<qint64>(plain, 24)};
}

// The sealed part opened; empty when it is not one the seal made.
QByteArray Opened(const QByteArray& file, const RecordSeal& seal)
{
    const qsizetype length = file.size() - Magic.size() - seal.StoredLength(0);
    if (!file.startsWith(Magic) || length < IdentityLength + CountLength)
        return {};
    QByteArray plain(length, Qt::Uninitialized);
    if (!seal.Open(IndexNumber, file.constData() + Magic.size(), int(length), plain.data()))
        return {};
    return plain;
}

} // namespace

QString DateIndexFile::PathFor(const QString& diaryPath)
{
    return StateFolder::FileFor(QStringLiteral("date-index-"), diaryPath);
}

FileError DateIndexFile::Save(const QString& diaryPath, const DateIndex& index, const FileIdentity& of,
                              const RecordSeal& seal)
{
    const QByteArray days = index.Days();
    if (!index.Holds(qint32(days.size() / 4)))
        return FileError{FileError::BadFileMode, EINVAL};
    errno = 0;
    if (!StateFolder::Make())
        return FileError::FromErrno(errno ? errno : EACCES);
    const QString path = PathFor(diaryPath);
    const QByteArray sealed = seal.Seal(IndexNumber, Plain(of, days));
    return SafeFile::Replace(path, QFileInfo(path).fileName() + QStringLiteral(".new"), Magic + sealed, 0600);
}

bool DateIndexFile::Load(const QString& diaryPath, const FileIdentity& of, const RecordSeal& seal, DateIndex& index)
{
    index.Forget();
    const QString path = PathFor(diaryPath);
    if (SafeFile::IsForeign(path))
        return false;
    const RegularFileRead read = ReadRegularFile(path, LargestIndex);
    if (read.outcome != RegularFileRead::Outcome::Read)
        return false;
    const QByteArray plain = Opened(read.bytes, seal);
    if (plain.isEmpty() || !(IdentityIn(plain) == of))
        return false;
    const auto count = qint32(NumberAt<quint32>(plain, IdentityLength));
    return index.TakeDays(plain.mid(IdentityLength + CountLength), count);
}

void DateIndexFile::Remove(const QString& diaryPath)
{
    SafeFile::RemoveOwn(PathFor(diaryPath));
}
