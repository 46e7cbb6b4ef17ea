#pragma once

#include "core/crypt/CryptHeader.h"
#include "core/crypt/CryptResult.h"
#include "core/crypt/PageSeal.h"
#include "core/platform/RecordFile.h"

#include <QByteArray>
#include <QString>
#include <memory>

// An encrypted diary read and written as plain fixed-length records, like
// any RecordFile: a CryptHeader, then one record sealed by PageSeal for each
// page, each stored in place. Nothing decrypted is written anywhere, nothing
// is cached.
//
// The statics do the same for a RecordFile held elsewhere (the store's
// diary), so the key is opened once and the file stays a RecordFile.
class EncryptedRecordFile : public RecordFile
{
public:
    // A new encrypted diary without pages at `path`, where nothing is yet,
    // opened by `password` and by the recovery code it gives back. It stays
    // open.
    CryptResult Create(const QString& path, const QString& password, QString& recoveryCode, int recordLength);
    CryptResult Open(const QString& path, const QString& password);
    // For a lost password: opens with the recovery code and puts
    // `newPassword` in the old one's place (see Rewrap).
    CryptResult OpenWithRecoveryCode(const QString& path, const QString& code, const QString& newPassword);
    CryptResult ChangePassword(const QString& newPassword) { return Rewrap(*this, newPassword); }

    QByteArray FileId() const;
    // Bytes after the last whole record: a file cut short.
    bool HasPartialRecord() const { return Length() > LengthOf(RecordCount()); }

    // Where record `number` starts, and how long a sealed record is.
    static qint64 Offset(qint32 number, int recordLength);
    static int SealedLength(int recordLength);

    // Whether the file at `path` starts as an encrypted diary does.
    static bool IsEncrypted(const QString& path);
    // The same, with the failure to read it told apart.
    static FileError IsEncrypted(const QString& path, bool& encrypted);
    // The seal of the diary at `path`, once `secret` opens its slot of that
    // kind. Reads the header alone.
    static CryptResult UnlockKey(const QString& path, CryptHeader::SlotKind kind, const QString& secret,
                                 std::shared_ptr<const PageSeal>& seal);
    // Opens `file` at `path` with a seal from UnlockKey.
    static CryptResult OpenSealed(RecordFile& file, const QString& path, std::shared_ptr<const PageSeal> seal);
    // Rewraps the data key of an open encrypted `file` for `newPassword`; no
    // page is encrypted again. The file is rewritten whole beside itself and
    // renamed into place, so a failure or a crash leaves the old password's
    // file, never a header neither password opens.
    static CryptResult Rewrap(RecordFile& file, const QString& newPassword);

private:
    static void KeepOutOfCoreDumps();
};
