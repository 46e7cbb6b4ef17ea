#pragma once

#include "core/crypt/CryptResult.h"

#include <QString>

class EncryptedRecordFile;
class RecordFile;

// Turns a plain diary into an encrypted one and back, each as a new file
// written whole beside the old one: every page is written, read back,
// decrypted and compared, the file flushed, and only then renamed to its
// name. Until then nothing at the new name exists, and on any failure the
// half-written file is removed. The old file is left where it is for the
// caller to remove once it has closed it.
class DiaryEncryption
{
public:
    // An encrypted diary's name beside a plain one: "DIARY.DAT" gives
    // "DIARY.sfk".
    static QString EncryptedName(const QString& plainPath);
    // And back: "DIARY.sfk" gives "DIARY.DAT".
    static QString PlainName(const QString& encryptedPath);

    // The pages of `plain` into a new encrypted diary at `encryptedPath`,
    // opened by `password` and by the recovery code given back. Fails,
    // touching nothing, where something is at `encryptedPath` already.
    static CryptResult Encrypt(const RecordFile& plain, const QString& encryptedPath, const QString& password,
                               QString& recoveryCode);
    // The pages of an open encrypted diary into a new plain one. A damaged
    // page stops it (DamagedPage), so no page is lost unseen.
    static CryptResult Decrypt(const EncryptedRecordFile& encrypted, const QString& plainPath);
};
