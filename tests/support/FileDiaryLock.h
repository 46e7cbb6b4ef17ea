#pragma once

#include "core/crypt/DiaryLock.h"
#include "core/crypt/EncryptedRecordFile.h"

// The lock over a diary file and a backups folder alone, straight through
// the encrypted format: the lock windows are tried on real files with it,
// without a store behind them.
class FileDiaryLock : public DiaryLock
{
public:
    FileDiaryLock(QString plainPath, QString backupFolder = {});

    QString EncryptedPath() const;
    // The diary Unlock opened.
    const EncryptedRecordFile& Opened() const { return opened_; }

    bool IsEncrypted() const override;
    CryptResult Lock(const QString& password, QString& recoveryCode) override;
    CryptResult Unlock(const QString& password) override;
    CryptResult UnlockWithRecoveryCode(const QString& recoveryCode, const QString& newPassword) override;
    CryptResult ChangePassword(const QString& oldPassword, const QString& newPassword) override;
    CryptResult RemoveLock(const QString& password) override;
    QStringList PlainBackups() const override;
    CryptResult EncryptPlainBackups(const QString& password) override;

private:
    static CryptResult EncryptFile(const QString& plainPath, const QString& password, QString& recoveryCode);

    QString plainPath_;
    QString backupFolder_;
    EncryptedRecordFile opened_;
};
