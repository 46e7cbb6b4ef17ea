#include "core/crypt/EncryptedRecordFile.h"

#include "core/crypt/KeySlot.h"
#include "core/crypt/PageCipher.h"
#include "core/crypt/RecoveryCode.h"
#include "core/platform/FullTransfer.h"
#include "core/platform/RecordFileRewriter.h"
#include "core/platform/SafeFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sodium.h>
#include <sys/prctl.h>
#include <sys/stat.h>

namespace {

// Sealed records are copied in runs of about a megabyte.
constexpr qint64 ChunkBytes = 1 << 20;

bool Exists(const QString& path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

QByteArray NewFileId()
{
    QByteArray id(CryptHeader::FileIdLength, '\0');
    randombytes_buf(id.data(), size_t(id.size()));
    return id;
}

CryptResult FromReading(CryptHeader::Reading reading)
{
    switch (reading) {
    case CryptHeader::Reading::Read:
        return {};
    case CryptHeader::Reading::NotEncrypted:
        return {CryptResult::NotEncrypted, {}};
    case CryptHeader::Reading::NewerVersion:
        return {CryptResult::NewerVersion, {}};
    case CryptHeader::Reading::Damaged:
        break;
    }
    return {CryptResult::DamagedHeader, {}};
}

// The header of the file at `path`; a file shorter than one is damaged.
CryptResult ReadHeaderAt(const QString& path, CryptHeader& header)
{
    FileDescriptor opened(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!opened.IsOpen())
        return CryptResult::From(FileError::FromErrno(errno));
    struct stat info
    {
    };
    if (::fstat(opened.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return CryptResult::From(FileError::FromErrno(S_ISDIR(info.st_mode) ? EISDIR : EINVAL));
    QByteArray bytes(qMin<qint64>(info.st_size, CryptHeader::HeaderLength), '\0');
    if (const FileError error = ReadFully(opened.Get(), bytes.data(), bytes.size(), 0))
        return CryptResult::From(error);
    return FromReading(CryptHeader::Parse(bytes, header));
}

std::shared_ptr<const PageSeal> MakeSeal(const CryptHeader& header, SecureBytes key)
{
    return std::make_shared<const PageSeal>(header.fileId, header.plainRecordLength, std::move(key));
}

} // namespace

qint64 EncryptedRecordFile::Offset(qint32 number, int recordLength)
{
    return CryptHeader::HeaderLength + qint64(number - 1) * SealedLength(recordLength);
}

int EncryptedRecordFile::SealedLength(int recordLength)
{
    return PageCipher::SealedLength(recordLength);
}

void EncryptedRecordFile::KeepOutOfCoreDumps()
{
    // Pages and keys are in this process's memory from now on; a core dump
    // would put them on the disk. It stays so after the close: freed memory
    // may still hold a page.
    ::prctl(PR_SET_DUMPABLE, 0);
}

bool EncryptedRecordFile::IsEncrypted(const QString& path)
{
    bool encrypted = false;
    return !IsEncrypted(path, encrypted) && encrypted;
}

FileError EncryptedRecordFile::IsEncrypted(const QString& path, bool& encrypted)
{
    CryptHeader header;
    const CryptResult read = ReadHeaderAt(path, header);
    encrypted = read.kind != CryptResult::NotEncrypted && read.kind != CryptResult::FileFailed;
    // Too short for a header is a plain file, not a failed read.
    return read.file.code == FileError::InputPastEnd ? FileError{} : read.file;
}

QByteArray EncryptedRecordFile::FileId() const
{
    const auto* seal = dynamic_cast<const PageSeal*>(Seal().get());
    return seal ? seal->FileId() : QByteArray();
}

CryptResult EncryptedRecordFile::UnlockKey(const QString& path, CryptHeader::SlotKind kind, const QString& secret,
                                           std::shared_ptr<const PageSeal>& seal)
{
    if (path.isEmpty())
        return CryptResult::From({FileError::BadFileName, 0});
    CryptHeader header;
    if (const CryptResult read = ReadHeaderAt(path, header))
        return read;
    SecureBytes key;
    if (const CryptResult::Kind opened = KeySlot::Open(header, kind, secret, key); opened != CryptResult::Done)
        return {opened, {}};
    KeepOutOfCoreDumps();
    seal = MakeSeal(header, std::move(key));
    return {};
}

CryptResult EncryptedRecordFile::OpenSealed(RecordFile& file, const QString& path, std::shared_ptr<const PageSeal> seal)
{
    const int recordLength = seal->RecordLength();
    file.SetSeal(std::move(seal));
    return CryptResult::From(file.Open(path, recordLength, RecordFile::IfMissing::Fail));
}

CryptResult EncryptedRecordFile::Create(const QString& path, const QString& password, QString& recoveryCode,
                                        int recordLength)
{
    Close();
    if (Exists(path))
        return CryptResult::From({FileError::PathFileAccess, EEXIST});
    SecureBytes key = KeySlot::NewDataKey();
    const QString code = RecoveryCode::New();
    CryptHeader header;
    header.fileId = NewFileId();
    header.plainRecordLength = recordLength;
    if (key.IsEmpty() || code.isEmpty() || !KeySlot::Seal(header, CryptHeader::SlotKind::Password, password, key) ||
        !KeySlot::Seal(header, CryptHeader::SlotKind::RecoveryCode, code, key))
        return {CryptResult::NoSecureMemory, {}};
    if (const FileError error = SafeFile::WriteNew(path, header.ToBytes(), SafeFile::Durability::Flushed))
        return CryptResult::From(error);
    KeepOutOfCoreDumps();
    if (const CryptResult opened = OpenSealed(*this, path, MakeSeal(header, std::move(key))))
        return opened;
    recoveryCode = code;
    return {};
}

CryptResult EncryptedRecordFile::Open(const QString& path, const QString& password)
{
    Close();
    std::shared_ptr<const PageSeal> seal;
    if (const CryptResult unlocked = UnlockKey(path, CryptHeader::SlotKind::Password, password, seal))
        return unlocked;
    return OpenSealed(*this, path, std::move(seal));
}

CryptResult EncryptedRecordFile::OpenWithRecoveryCode(const QString& path, const QString& code,
                                                      const QString& newPassword)
{
    Close();
    std::shared_ptr<const PageSeal> seal;
    if (const CryptResult unlocked =
            UnlockKey(path, CryptHeader::SlotKind::RecoveryCode, RecoveryCode::Normalized(code), seal))
        return unlocked;
    if (const CryptResult opened = OpenSealed(*this, path, std::move(seal)))
        return opened;
    // Opened only with the new password in place: the code alone must not
    // leave a diary whose password nobody knows.
    const CryptResult changed = ChangePassword(newPassword);
    if (changed)
        Close();
    return changed;
}

CryptResult EncryptedRecordFile::Rewrap(RecordFile& file, const QString& newPassword)
{
    const auto* seal = dynamic_cast<const PageSeal*>(file.Seal().get());
    if (!file.IsOpen() || !seal)
        return CryptResult::From({FileError::BadFileNameOrNumber, EBADF});
    QByteArray bytes;
    if (const FileError error = file.ReadHeader(bytes))
        return CryptResult::From(error);
    CryptHeader header;
    if (const CryptResult read = FromReading(CryptHeader::Parse(bytes, header)))
        return read;
    if (!KeySlot::Seal(header, CryptHeader::SlotKind::Password, newPassword, seal->Key()))
        return {CryptResult::NoSecureMemory, {}};
    const QString path = file.Path();
    SafeFile temp;
    if (const FileError error = temp.CreateToReplace(path, RecordFileRewriter::TempFileName()))
        return CryptResult::From(error);
    if (file.IsLocked())
        if (const FileError error = RecordFile::LockDescriptor(temp.Descriptor()))
            return CryptResult::From(error);
    const qint64 end = file.LengthOf(file.RecordCount());
    if (const FileError error = ReserveRoom(temp.Descriptor(), end))
        return CryptResult::From(error);
    if (const FileError error = temp.Write(header.ToBytes()))
        return CryptResult::From(error);
    // The sealed records go over as they are.
    QByteArray chunk;
    for (qint64 at = CryptHeader::HeaderLength; at < end; at += chunk.size()) {
        chunk.resize(qMin(ChunkBytes, end - at));
        if (const FileError error = ReadFully(file.Descriptor(), chunk.data(), chunk.size(), at))
            return CryptResult::From(error);
        if (const FileError error = temp.Write(chunk))
            return CryptResult::From(error);
    }
    const FileError renamed = temp.RenameOver(path);
    if (temp.Path() != path)
        return CryptResult::From(renamed);
    const bool locked = file.IsLocked();
    file.CloseInBackground();
    file.Adopt(temp.Release(), locked);
    return CryptResult::From(renamed);
}
