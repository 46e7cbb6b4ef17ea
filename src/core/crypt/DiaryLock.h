#pragma once

#include "core/crypt/CryptResult.h"

#include <QString>
#include <QStringList>

// What the lock windows ask of the open diary: turning it into an encrypted
// one and back, opening it, and changing its password. The store implements
// it; the windows only say what the user chose and report the outcome, so
// every step on the files stays in one place.
class DiaryLock
{
public:
    virtual ~DiaryLock() = default;

    // Whether the diary (the one open, or at start the one about to open) is
    // kept encrypted. The menus, the start and the export warning ask it.
    virtual bool IsEncrypted() const = 0;

    // Turns the plain diary into an encrypted one opened by `password`; on
    // success `recoveryCode` holds the code that opens it when the password
    // is lost (without group marks), shown to the user once and kept nowhere.
    virtual CryptResult Lock(const QString& password, QString& recoveryCode) = 0;
    // At start: opens the encrypted diary with its password. WrongSecret lets
    // the user try again.
    virtual CryptResult Unlock(const QString& password) = 0;
    // At start, for a lost password: opens it with the recovery code and puts
    // `newPassword` in the old one's place.
    virtual CryptResult UnlockWithRecoveryCode(const QString& recoveryCode, const QString& newPassword) = 0;
    // Rewraps the key for `newPassword` once `oldPassword` opens it.
    virtual CryptResult ChangePassword(const QString& oldPassword, const QString& newPassword) = 0;
    // Back to a plain diary once `password` opens it.
    virtual CryptResult RemoveLock(const QString& password) = 0;

    // The backups made before the lock, which still hold the pages as plain
    // text.
    virtual QStringList PlainBackups() const = 0;
    // Replaces each of them with an encrypted copy `password` opens.
    virtual CryptResult EncryptPlainBackups(const QString& password) = 0;
};
