#pragma once

#include "core/crypt/CryptHeader.h"
#include "core/crypt/CryptResult.h"
#include "core/crypt/SecureBytes.h"
#include "core/platform/FileDescriptor.h"
#include "core/platform/FileError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <set>

// An encrypted diary read and written as plain fixed-length records,
// numbered from 1, like RecordFile: a CryptHeader, then one sealed record
// (PageCipher) for each page, each stored in place. Nothing decrypted is
// written anywhere, nothing is cached.
//
// A record whose tag fails reads as zeros and fails with DamagedPage; its
// number joins DamagedRecords(), and the other records stay readable.
class EncryptedRecordFile
{
public:
    EncryptedRecordFile() = default;
    ~EncryptedRecordFile();
    EncryptedRecordFile(const EncryptedRecordFile&) = delete;
    EncryptedRecordFile& operator=(const EncryptedRecordFile&) = delete;

    // A new encrypted diary without pages at `path`, where nothing is yet,
    // opened by `password` and by the recovery code it gives back. It stays
    // open.
    CryptResult Create(const QString& path, const QString& password, QString& recoveryCode, int recordLength);
    CryptResult Open(const QString& path, const QString& password);
    // For a lost password: opens with the recovery code and puts
    // `newPassword` in the old one's place (see ChangePassword).
    CryptResult OpenWithRecoveryCode(const QString& path, const QString& code, const QString& newPassword);
    // Rewraps the data key for `newPassword`; no page is encrypted again. The
    // file is rewritten whole beside itself and renamed into place, so a
    // failure or a crash leaves the old password's file, never a header
    // neither password opens.
    CryptResult ChangePassword(const QString& newPassword);

    // Wipes the key and closes the file.
    void Close();
    FileError Lock();
    bool IsLocked() const { return locked_; }
    int Descriptor() const { return fd_.Get(); }
    bool IsOpen() const { return fd_.IsOpen() && !key_.IsEmpty(); }
    const QString& Path() const { return path_; }
    int RecordLength() const { return header_.plainRecordLength; }
    const QByteArray& FileId() const { return header_.fileId; }

    // The plain length of the whole records.
    qint64 Length() const { return qint64(RecordCount()) * RecordLength(); }
    qint32 RecordCount() const;
    // Bytes after the last whole record: a file cut short.
    bool HasPartialRecord() const;

    FileError ReadRecord(qint32 number, QByteArray& record) const;
    // count records from number on, read at once and decrypted in one go.
    FileError ReadRecords(qint32 number, qint32 count, QByteArray& records) const;
    FileError ReadPart(qint32 number, int offset, int length, QByteArray& part) const;
    // A record in place, or one more at the end: no gap is left.
    FileError WriteRecord(qint32 number, const QByteArray& record);
    FileError Flush();
    FileError Truncate(qint32 records);

    // The records found damaged since the file was opened, in order.
    QList<qint32> DamagedRecords() const { return {damaged_.begin(), damaged_.end()}; }

    // Where record `number` starts, and how long a sealed record is.
    static qint64 Offset(qint32 number, int recordLength);
    static int SealedLength(int recordLength);

private:
    CryptResult OpenFile(const QString& path);
    CryptResult Unlock(CryptHeader::SlotKind kind, const QString& secret);
    static void KeepOutOfCoreDumps();

    FileDescriptor fd_;
    bool locked_ = false;
    QString path_;
    CryptHeader header_;
    SecureBytes key_;
    mutable std::set<qint32> damaged_;
};
