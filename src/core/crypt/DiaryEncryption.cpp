#include "core/crypt/DiaryEncryption.h"

#include "core/crypt/EncryptedRecordFile.h"
#include "core/platform/FullTransfer.h"
#include "core/platform/RecordFile.h"
#include "core/platform/RecordFileRewriter.h"
#include "core/platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sodium.h>
#include <stdio.h>
#include <sys/stat.h>

namespace {

// Pages go over in runs of about a megabyte.
constexpr qint64 ChunkBytes = 1 << 20;

bool Exists(const QString& path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

QString WithEnding(const QString& path, const QString& ending)
{
    const QFileInfo name(path);
    const QString folder = path.left(path.size() - name.fileName().size());
    return folder + name.completeBaseName() + ending;
}

// Reads back what was written to `temp` from `at` and compares it with
// `expected`: a disk that kept something else is found before the rename.
FileError CompareWritten(const SafeFile& temp, qint64 at, const QByteArray& expected)
{
    QByteArray written(expected.size(), Qt::Uninitialized);
    if (const FileError error = ReadFully(temp.Descriptor(), written.data(), written.size(), at))
        return error;
    return written == expected ? FileError{} : FileError{FileError::DeviceIO, EIO};
}

// Writes the plain pages of `plain` into the new encrypted file at `into`,
// whose header is already written.
CryptResult CopyInto(const RecordFile& plain, RecordFile& into)
{
    const int length = plain.RecordLength();
    const qint32 perChunk = qint32(qMax<qint64>(1, ChunkBytes / length));
    QByteArray chunk;
    QByteArray check;
    for (qint32 start = 1; start <= plain.RecordCount(); start += perChunk) {
        const qint32 count = qMin(perChunk, plain.RecordCount() - start + 1);
        if (const FileError error = plain.ReadRecords(start, count, chunk))
            return CryptResult::From(error);
        for (qint32 i = 0; i < count; ++i)
            if (const FileError error = into.WriteRecord(start + i, chunk.mid(qint64(i) * length, length)))
                return CryptResult::From(error);
        if (const FileError error = into.ReadRecords(start, count, check))
            return CryptResult::From(error);
        if (check != chunk)
            return CryptResult::From({FileError::DeviceIO, EIO});
    }
    return CryptResult::From(into.Flush());
}

} // namespace

QString DiaryEncryption::EncryptedName(const QString& plainPath)
{
    return WithEnding(plainPath, CryptHeader::FileEnding());
}

QString DiaryEncryption::PlainName(const QString& encryptedPath)
{
    return WithEnding(encryptedPath, QStringLiteral(".DAT"));
}

bool DiaryEncryption::IsEncryptedName(const QString& path)
{
    return path.endsWith(CryptHeader::FileEnding(), Qt::CaseInsensitive);
}

QString DiaryEncryption::WhereItIs(const QString& name)
{
    if (name.isEmpty() || Exists(name))
        return name;
    const QString other = IsEncryptedName(name) ? PlainName(name) : EncryptedName(name);
    return Exists(other) ? other : name;
}

CryptResult DiaryEncryption::Encrypt(const RecordFile& plain, const QString& encryptedPath, const QString& password,
                                     QString& recoveryCode, std::shared_ptr<const PageSeal>* seal)
{
    if (const CryptResult refused = CheckTarget(plain, encryptedPath))
        return refused;
    EncryptedRecordFile encrypted;
    QString code;
    if (const CryptResult made = encrypted.Create(TempBeside(encryptedPath), password, code, plain.RecordLength()))
        return made;
    if (const CryptResult finished = Finish(plain, encrypted, encryptedPath))
        return finished;
    recoveryCode = code;
    if (seal)
        *seal = std::dynamic_pointer_cast<const PageSeal>(encrypted.Seal());
    return {};
}

CryptResult DiaryEncryption::EncryptLike(const RecordFile& plain, const QString& encryptedPath, const RecordFile& diary)
{
    if (const CryptResult refused = CheckTarget(plain, encryptedPath))
        return refused;
    QByteArray header;
    if (const FileError error = diary.ReadHeader(header))
        return CryptResult::From(error);
    const QString temp = TempBeside(encryptedPath);
    if (const FileError error = SafeFile::WriteNew(temp, header, SafeFile::Durability::Flushed))
        return CryptResult::From(error);
    RecordFile encrypted;
    encrypted.SetSeal(diary.Seal());
    if (const FileError error = encrypted.Open(temp, plain.RecordLength(), RecordFile::IfMissing::Fail)) {
        SafeFile::RemoveOwn(temp);
        return CryptResult::From(error);
    }
    return Finish(plain, encrypted, encryptedPath);
}

CryptResult DiaryEncryption::CheckTarget(const RecordFile& plain, const QString& encryptedPath)
{
    if (!plain.IsOpen())
        return CryptResult::From({FileError::BadFileNameOrNumber, EBADF});
    if (Exists(encryptedPath))
        return CryptResult::From({FileError::PathFileAccess, EEXIST});
    return {};
}

QString DiaryEncryption::TempBeside(const QString& encryptedPath)
{
    // Made under a name of its own beside the target, and only renamed to
    // the target once every page has been read back.
    return QFileInfo(encryptedPath).absolutePath() + u'/' + RecordFileRewriter::TempFileName();
}

CryptResult DiaryEncryption::Finish(const RecordFile& plain, RecordFile& encrypted, const QString& encryptedPath)
{
    const QString temp = encrypted.Path();
    CryptResult copied = CopyInto(plain, encrypted);
    // Never over a diary that appeared there meanwhile.
    if (!copied && ::renameat2(AT_FDCWD, QFile::encodeName(temp).constData(), AT_FDCWD,
                               QFile::encodeName(encryptedPath).constData(), RENAME_NOREPLACE) != 0)
        copied = CryptResult::From(FileError::FromErrno(errno));
    // Renamed, but its folder may not have kept the name: it goes again, so
    // the caller keeps the old file and no leftover stops the next try.
    if (!copied)
        if ((copied = CryptResult::From(SafeFile::FlushFolder(QFileInfo(encryptedPath).absolutePath()))))
            SafeFile::RemoveOwn(encryptedPath);
    encrypted.Close();
    if (copied)
        SafeFile::RemoveOwn(temp);
    return copied;
}

CryptResult DiaryEncryption::Decrypt(const RecordFile& encrypted, const QString& plainPath)
{
    if (!encrypted.IsOpen())
        return CryptResult::From({FileError::BadFileNameOrNumber, EBADF});
    if (Exists(plainPath))
        return CryptResult::From({FileError::PathFileAccess, EEXIST});
    SafeFile temp;
    if (const FileError error = temp.CreateToReplace(plainPath, RecordFileRewriter::TempFileName()))
        return CryptResult::From(error);
    const int length = encrypted.RecordLength();
    const qint32 perChunk = qint32(qMax<qint64>(1, ChunkBytes / length));
    QByteArray chunk;
    for (qint32 start = 1; start <= encrypted.RecordCount(); start += perChunk) {
        const qint32 count = qMin(perChunk, encrypted.RecordCount() - start + 1);
        if (const FileError error = encrypted.ReadRecords(start, count, chunk))
            return CryptResult::From(error);
        if (!encrypted.DamagedRecords().isEmpty())
            return CryptResult::From({FileError::DamagedPage, EBADMSG});
        if (const FileError error = temp.Write(chunk))
            return CryptResult::From(error);
        if (const FileError error = CompareWritten(temp, qint64(start - 1) * length, chunk))
            return CryptResult::From(error);
        sodium_memzero(chunk.data(), size_t(chunk.size()));
    }
    // Renamed, but not kept by its folder: the plain copy goes again rather
    // than stand beside the diary that stays encrypted.
    const FileError renamed = temp.RenameOver(plainPath);
    if (renamed && temp.Path() == plainPath)
        SafeFile::RemoveOwn(plainPath);
    return CryptResult::From(renamed);
}
