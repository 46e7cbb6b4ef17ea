#include "core/crypt/EncryptedRecordFile.h"

#include "core/crypt/KeySlot.h"
#include "core/crypt/PageCipher.h"
#include "core/crypt/RecoveryCode.h"
#include "core/platform/FullTransfer.h"
#include "core/platform/RecordFile.h"
#include "core/platform/RecordFileRewriter.h"
#include "core/platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sodium.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

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

} // namespace

EncryptedRecordFile::~EncryptedRecordFile()
{
    Close();
}

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
    if (const CryptResult opened = OpenFile(path))
        return opened;
    key_ = std::move(key);
    KeepOutOfCoreDumps();
    recoveryCode = code;
    return {};
}

CryptResult EncryptedRecordFile::Open(const QString& path, const QString& password)
{
    if (const CryptResult opened = OpenFile(path))
        return opened;
    return Unlock(CryptHeader::SlotKind::Password, password);
}

CryptResult EncryptedRecordFile::OpenWithRecoveryCode(const QString& path, const QString& code,
                                                      const QString& newPassword)
{
    if (const CryptResult opened = OpenFile(path))
        return opened;
    if (const CryptResult unlocked = Unlock(CryptHeader::SlotKind::RecoveryCode, RecoveryCode::Normalized(code)))
        return unlocked;
    // Opened only with the new password in place: the code alone must not
    // leave a diary whose password nobody knows.
    const CryptResult changed = ChangePassword(newPassword);
    if (changed)
        Close();
    return changed;
}

CryptResult EncryptedRecordFile::OpenFile(const QString& path)
{
    Close();
    if (path.isEmpty())
        return CryptResult::From({FileError::BadFileName, 0});
    FileDescriptor opened(::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC));
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
    switch (CryptHeader::Parse(bytes, header_)) {
    case CryptHeader::Reading::Read:
        break;
    case CryptHeader::Reading::NotEncrypted:
        return {CryptResult::NotEncrypted, {}};
    case CryptHeader::Reading::NewerVersion:
        return {CryptResult::NewerVersion, {}};
    case CryptHeader::Reading::Damaged:
        return {CryptResult::DamagedHeader, {}};
    }
    fd_ = std::move(opened);
    // Kept where a link points, as RecordFile does, so a rewrite replaces that
    // file and leaves the link alone.
    const QFileInfo name(path);
    path_ = name.canonicalFilePath().isEmpty() ? name.absoluteFilePath() : name.canonicalFilePath();
    return {};
}

CryptResult EncryptedRecordFile::Unlock(CryptHeader::SlotKind kind, const QString& secret)
{
    if (!KeySlot::Open(header_, kind, secret, key_)) {
        Close();
        return {CryptResult::WrongSecret, {}};
    }
    KeepOutOfCoreDumps();
    return {};
}

CryptResult EncryptedRecordFile::ChangePassword(const QString& newPassword)
{
    if (!IsOpen())
        return CryptResult::From({FileError::BadFileNameOrNumber, EBADF});
    CryptHeader header = header_;
    if (!KeySlot::Seal(header, CryptHeader::SlotKind::Password, newPassword, key_))
        return {CryptResult::NoSecureMemory, {}};
    SafeFile temp;
    if (const FileError error = temp.CreateToReplace(path_, RecordFileRewriter::TempFileName()))
        return CryptResult::From(error);
    if (locked_)
        if (const FileError error = RecordFile::LockDescriptor(temp.Descriptor()))
            return CryptResult::From(error);
    const qint64 end = Offset(RecordCount() + 1, RecordLength());
    if (const FileError error = ReserveRoom(temp.Descriptor(), end))
        return CryptResult::From(error);
    if (const FileError error = temp.Write(header.ToBytes()))
        return CryptResult::From(error);
    // The sealed records go over as they are.
    QByteArray chunk;
    for (qint64 at = CryptHeader::HeaderLength; at < end; at += chunk.size()) {
        chunk.resize(qMin(ChunkBytes, end - at));
        if (const FileError error = ReadFully(fd_.Get(), chunk.data(), chunk.size(), at))
            return CryptResult::From(error);
        if (const FileError error = temp.Write(chunk))
            return CryptResult::From(error);
    }
    const FileError renamed = temp.RenameOver(path_);
    if (temp.Path() != path_)
        return CryptResult::From(renamed);
    fd_.Reset(temp.Release());
    header_ = header;
    return CryptResult::From(renamed);
}

void EncryptedRecordFile::Close()
{
    fd_.Reset();
    locked_ = false;
    key_.Clear();
    damaged_.clear();
}

FileError EncryptedRecordFile::Lock()
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    const FileError error = RecordFile::LockDescriptor(fd_.Get());
    locked_ = !error;
    return error;
}

qint32 EncryptedRecordFile::RecordCount() const
{
    struct stat info
    {
    };
    if (!IsOpen() || ::fstat(fd_.Get(), &info) != 0 || info.st_size < CryptHeader::HeaderLength)
        return 0;
    const qint64 count = (qint64(info.st_size) - CryptHeader::HeaderLength) / SealedLength(RecordLength());
    return count > INT32_MAX ? INT32_MAX : qint32(count);
}

bool EncryptedRecordFile::HasPartialRecord() const
{
    struct stat info
    {
    };
    return IsOpen() && ::fstat(fd_.Get(), &info) == 0 &&
           qint64(info.st_size) > Offset(RecordCount() + 1, RecordLength());
}

FileError EncryptedRecordFile::ReadRecord(qint32 number, QByteArray& record) const
{
    return ReadRecords(number, 1, record);
}

FileError EncryptedRecordFile::ReadRecords(qint32 number, qint32 count, QByteArray& records) const
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (number < 1 || count < 0)
        return {FileError::BadRecordNumber, 0};
    const int plainLength = RecordLength();
    const int sealedLength = SealedLength(plainLength);
    QByteArray sealed(qint64(count) * sealedLength, Qt::Uninitialized);
    if (const FileError error = ReadFully(fd_.Get(), sealed.data(), sealed.size(), Offset(number, plainLength)))
        return error;
    records.resize(qint64(count) * plainLength);
    bool damaged = false;
    for (qint32 i = 0; i < count; ++i) {
        char* plain = records.data() + qint64(i) * plainLength;
        if (PageCipher::Open(key_, header_.fileId, number + i, sealed.constData() + qint64(i) * sealedLength,
                             plainLength, plain))
            continue;
        std::fill(plain, plain + plainLength, '\0');
        damaged_.insert(number + i);
        damaged = true;
    }
    return damaged ? FileError{FileError::DamagedPage, EBADMSG} : FileError{};
}

FileError EncryptedRecordFile::ReadPart(qint32 number, int offset, int length, QByteArray& part) const
{
    if (offset < 0 || length < 0 || offset + length > RecordLength())
        return {FileError::BadFileMode, 0};
    const FileError error = ReadRecord(number, part);
    if (!error || error.code == FileError::DamagedPage)
        part = part.mid(offset, length);
    return error;
}

FileError EncryptedRecordFile::WriteRecord(qint32 number, const QByteArray& record)
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (number < 1 || number > RecordCount() + 1)
        return {FileError::BadRecordNumber, 0};
    if (record.size() != RecordLength())
        return {FileError::BadFileMode, 0};
    const QByteArray sealed = PageCipher::Seal(key_, header_.fileId, number, record);
    const qint64 at = Offset(number, RecordLength());
    // A full disk refuses the whole record before a byte of it is written.
    if (::fallocate(fd_.Get(), FALLOC_FL_KEEP_SIZE, off_t(at), off_t(sealed.size())) != 0 &&
        (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
        return FileError::FromErrno(errno);
    if (const FileError error = WriteFully(fd_.Get(), sealed.constData(), sealed.size(), at))
        return error;
    damaged_.erase(number);
    return {};
}

FileError EncryptedRecordFile::Flush()
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (::fdatasync(fd_.Get()) != 0)
        return FileError::FromErrno(errno);
    return {};
}

FileError EncryptedRecordFile::Truncate(qint32 records)
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (records < 0)
        return {FileError::BadRecordNumber, 0};
    if (::ftruncate(fd_.Get(), off_t(Offset(records + 1, RecordLength()))) != 0)
        return FileError::FromErrno(errno);
    damaged_.erase(damaged_.upper_bound(records), damaged_.end());
    return {};
}
