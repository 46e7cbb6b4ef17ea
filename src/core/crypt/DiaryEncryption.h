#pragma once

#include "core/crypt/CryptResult.h"

#include <QString>
#include <memory>

class PageSeal;
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
    static bool IsEncryptedName(const QString& path);
    // The diary a start opens for the configured name: the name itself, or,
    // when it names nothing, the same diary under the other ending (a lock
    // or unlock here that did not get to keep the new name, or one done on
    // another computer that shares the folder).
    static QString WhereItIs(const QString& name);

    // The pages of `plain` into a new encrypted diary at `encryptedPath`,
    // opened by `password` and by the recovery code given back. Fails,
    // touching nothing, where something is at `encryptedPath` already.
    // `seal`, when given, is the one that opens the new diary.
    static CryptResult Encrypt(const RecordFile& plain, const QString& encryptedPath, const QString& password,
                               QString& recoveryCode, std::shared_ptr<const PageSeal>* seal = nullptr);
    // The pages of `plain` into a new copy of the open encrypted `diary`:
    // its header and key, so whatever opens the diary opens the copy.
    static CryptResult EncryptLike(const RecordFile& plain, const QString& encryptedPath, const RecordFile& diary);
    // The pages of an open encrypted diary into a new plain one. A damaged
    // page stops it (DamagedPage), so no page is lost unseen.
    static CryptResult Decrypt(const RecordFile& encrypted, const QString& plainPath);

private:
    static CryptResult CheckTarget(const RecordFile& plain, const QString& encryptedPath);
    static QString TempBeside(const QString& encryptedPath);
    // Copies the pages into `encrypted`, opened on its temporary name, and
    // renames it to `encryptedPath`; removes it on any failure.
    static CryptResult Finish(const RecordFile& plain, RecordFile& encrypted, const QString& encryptedPath);
};
