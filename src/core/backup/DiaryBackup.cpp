#include "core/backup/DiaryBackup.h"

#include "core/backup/VerifiedCopy.h"
#include "core/crypt/EncryptedRecordFile.h"
#include "core/platform/PageJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>

QString DiaryBackup::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/日記帳Sorafumi/backups");
}

bool DiaryBackup::MakeFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    // The copies are the diary: a folder made for them is its owner's alone.
    return QDir().mkpath(folder) &&
           QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

FileError DiaryBackup::Take(const QString& diaryPath, const QString& folder, QDate today, BackupGenerations::Keep keep)
{
    if (keep.daily <= 0 && keep.weekly <= 0)
        return {};
    if (!MakeFolder(folder))
        return FileError::FromErrno(errno ? errno : EACCES);
    const QString target = QDir(folder).filePath(BackupGenerations::CopyName(diaryPath, today));
    if (QFileInfo::exists(target))
        return {};
    if (const FileError error = Copy(diaryPath, target))
        return error;
    BackupGenerations::RemoveOld(diaryPath, folder, keep);
    return {};
}

FileError DiaryBackup::KeepCurrent(const QString& diaryPath, const QString& folder, const QDateTime& now)
{
    if (!MakeFolder(folder))
        return FileError::FromErrno(errno ? errno : EACCES);
    // Two restores within a second keep both diaries: the later one takes
    // the next free second.
    QString target;
    for (QDateTime taken = now; target.isEmpty() || QFileInfo::exists(target); taken = taken.addSecs(1))
        target = QDir(folder).filePath(BackupGenerations::KeptCopyName(diaryPath, taken));
    return Copy(diaryPath, target);
}

FileError DiaryBackup::Replace(RecordFile& diary, const QString& copyPath)
{
    // A journal left for the old diary must not be played onto the new one.
    if (const FileError error = PageJournal::Recover(diary))
        return error;
    // An encrypted diary takes only a copy its key opens, a plain one only a
    // plain copy: either other kind would leave pages nobody can read.
    if (diary.IsSealed()) {
        RecordFile copy;
        copy.SetSeal(diary.Seal());
        if (const FileError error = copy.Open(copyPath, diary.RecordLength(), RecordFile::IfMissing::Fail))
            return error;
    } else {
        bool encrypted = false;
        if (const FileError error = EncryptedRecordFile::IsEncrypted(copyPath, encrypted))
            return error;
        if (encrypted)
            return {FileError::OtherKey, EBADMSG};
    }
    return VerifiedCopy::OverDiary(diary, copyPath);
}

FileError DiaryBackup::Copy(const QString& diaryPath, const QString& target)
{
    // A copy cut short by a crash stays under its temporary name: the next
    // copy takes it away.
    BackupGenerations::RemoveLeftovers(diaryPath, QFileInfo(target).absolutePath());
    return VerifiedCopy::ToNewFile(diaryPath, target);
}
