#include "FileDiaryLock.h"

#include "core/crypt/DiaryEncryption.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

FileDiaryLock::FileDiaryLock(QString plainPath, QString backupFolder)
    : plainPath_(std::move(plainPath)), backupFolder_(std::move(backupFolder))
{
}

QString FileDiaryLock::EncryptedPath() const
{
    return DiaryEncryption::EncryptedName(plainPath_);
}

bool FileDiaryLock::IsEncrypted() const
{
    return QFileInfo::exists(EncryptedPath());
}

CryptResult FileDiaryLock::EncryptFile(const QString& plainPath, const QString& password, QString& recoveryCode)
{
    RecordFile plain;
    if (const FileError opened = plain.Open(plainPath, DiaryPage::RecordLength, RecordFile::IfMissing::Fail))
        return CryptResult::From(opened);
    const CryptResult encrypted =
        DiaryEncryption::Encrypt(plain, DiaryEncryption::EncryptedName(plainPath), password, recoveryCode);
    plain.Close();
    if (!encrypted)
        QFile::remove(plainPath);
    return encrypted;
}

CryptResult FileDiaryLock::Lock(const QString& password, QString& recoveryCode)
{
    return EncryptFile(plainPath_, password, recoveryCode);
}

CryptResult FileDiaryLock::Unlock(const QString& password)
{
    return opened_.Open(EncryptedPath(), password);
}

CryptResult FileDiaryLock::UnlockWithRecoveryCode(const QString& recoveryCode, const QString& newPassword)
{
    return opened_.OpenWithRecoveryCode(EncryptedPath(), recoveryCode, newPassword);
}

CryptResult FileDiaryLock::ChangePassword(const QString& oldPassword, const QString& newPassword)
{
    EncryptedRecordFile file;
    if (const CryptResult opened = file.Open(EncryptedPath(), oldPassword))
        return opened;
    return file.ChangePassword(newPassword);
}

CryptResult FileDiaryLock::RemoveLock(const QString& password)
{
    EncryptedRecordFile file;
    if (const CryptResult opened = file.Open(EncryptedPath(), password))
        return opened;
    const CryptResult decrypted = DiaryEncryption::Decrypt(file, plainPath_);
    file.Close();
    if (!decrypted)
        QFile::remove(EncryptedPath());
    return decrypted;
}

QStringList FileDiaryLock::PlainBackups() const
{
    QStringList paths;
    if (backupFolder_.isEmpty())
        return paths;
    const QDir folder(backupFolder_);
    for (const QString& name : folder.entryList({QStringLiteral("*.DAT")}, QDir::Files, QDir::Name))
        paths << folder.filePath(name);
    return paths;
}

CryptResult FileDiaryLock::EncryptPlainBackups(const QString& password)
{
    for (const QString& path : PlainBackups()) {
        QString unused;
        if (const CryptResult encrypted = EncryptFile(path, password, unused))
            return encrypted;
    }
    return {};
}
