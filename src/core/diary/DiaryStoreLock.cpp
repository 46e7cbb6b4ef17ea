// The store's side of the lock: turning the open diary into an encrypted one
// and back, opening it at the start, and its password. Every step writes a
// new file beside the diary and takes it up only once it is whole, so the
// diary is plain as before or encrypted and whole, never half.

#include "core/diary/DiaryStore.h"

#include "core/backup/BackupGenerations.h"
#include "core/backup/DiaryBackup.h"
#include "core/crypt/DiaryEncryption.h"
#include "core/crypt/EncryptedRecordFile.h"
#include "core/diary/DateIndexFile.h"
#include "core/diary/DiaryFiles.h"
#include "core/platform/Clock.h"
#include "core/platform/Prompter.h"
#include "core/platform/SafeFile.h"
#include "core/settings/AppSettings.h"
#include "core/sync/MergeBase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace {

CryptResult NotOpen()
{
    return CryptResult::From({FileError::BadFileNameOrNumber, EBADF});
}

} // namespace

bool DiaryStore::IsEncrypted() const
{
    if (diaryOpen_)
        return diaryFile_.IsSealed();
    const QString& name = app_.UserDataFile;
    if (name.isEmpty())
        return false;
    // Known by its ending too, so that one whose header cannot be read now
    // still asks its password, and the window tells what went wrong. One
    // taken for plain all the same is refused as it opens.
    bool encrypted = false;
    EncryptedRecordFile::IsEncrypted(name, encrypted);
    return encrypted || DiaryEncryption::IsEncryptedName(name);
}

CryptResult DiaryStore::Unlock(const QString& password)
{
    std::shared_ptr<const PageSeal> seal;
    if (const CryptResult unlocked =
            EncryptedRecordFile::UnlockKey(app_.UserDataFile, CryptHeader::SlotKind::Password, password, seal))
        return unlocked;
    diaryFile_.SetSeal(std::move(seal));
    return {};
}

CryptResult DiaryStore::UnlockWithRecoveryCode(const QString& recoveryCode, const QString& newPassword)
{
    EncryptedRecordFile file;
    if (const CryptResult opened = file.OpenWithRecoveryCode(app_.UserDataFile, recoveryCode, newPassword))
        return opened;
    diaryFile_.SetSeal(file.Seal());
    return {};
}

CryptResult DiaryStore::CheckPassword(const QString& password) const
{
    std::shared_ptr<const PageSeal> seal;
    return EncryptedRecordFile::UnlockKey(diaryFile_.Path(), CryptHeader::SlotKind::Password, password, seal);
}

std::optional<CryptResult> DiaryStore::PassLockGate()
{
    if (!IsOpen())
        return NotOpen();
    if (!StorePage())
        return CryptResult{CryptResult::Told, {}};
    // A version a sync tool delivered comes in first: it is what gets locked.
    if (!TakeInIfChanged() || !PassWriteGate()) {
        ReportWriteRefused();
        return CryptResult{CryptResult::Told, {}};
    }
    return std::nullopt;
}

CryptResult DiaryStore::Lock(const QString& password, QString& recoveryCode)
{
    if (diaryFile_.IsSealed())
        return {CryptResult::Told, {}};
    if (const std::optional<CryptResult> refused = PassLockGate())
        return *refused;
    const QString plainPath = diaryFile_.Path();
    if (!MoveAsideToBackups(DiaryEncryption::EncryptedName(plainPath)))
        return {CryptResult::Told, {}};
    std::shared_ptr<const PageSeal> seal;
    if (const CryptResult encrypted = DiaryEncryption::Encrypt(diaryFile_, DiaryEncryption::EncryptedName(plainPath),
                                                               password, recoveryCode, &seal))
        return encrypted;
    // The plain base of the merge knows every page's date: it goes with the
    // plain diary, and the encrypted one keeps its own sealed.
    SafeFile::RemoveOwn(MergeBase::PathFor(plainPath));
    SwitchTo(NameFor(DiaryEncryption::EncryptedName(plainPath)), std::move(seal), plainPath);
    return {};
}

CryptResult DiaryStore::RemoveLock(const QString& password)
{
    if (!diaryFile_.IsSealed())
        return {CryptResult::NotEncrypted, {}};
    if (const CryptResult checked = CheckPassword(password))
        return checked;
    if (const std::optional<CryptResult> refused = PassLockGate())
        return *refused;
    const QString encryptedPath = diaryFile_.Path();
    if (!MoveAsideToBackups(DiaryEncryption::PlainName(encryptedPath)))
        return {CryptResult::Told, {}};
    if (const CryptResult decrypted = DiaryEncryption::Decrypt(diaryFile_, DiaryEncryption::PlainName(encryptedPath)))
        return decrypted;
    SwitchTo(NameFor(DiaryEncryption::PlainName(encryptedPath)), nullptr, encryptedPath);
    DateIndexFile::Remove(encryptedPath);
    SafeFile::RemoveOwn(MergeBase::PathFor(encryptedPath));
    return {};
}

CryptResult DiaryStore::ChangePassword(const QString& oldPassword, const QString& newPassword)
{
    if (!diaryFile_.IsSealed())
        return {CryptResult::NotEncrypted, {}};
    if (const CryptResult checked = CheckPassword(oldPassword))
        return checked;
    if (const std::optional<CryptResult> refused = PassLockGate())
        return *refused;
    const CryptResult rewrapped = EncryptedRecordFile::Rewrap(diaryFile_, newPassword);
    NoteFileLeft();
    FollowDiary();
    return rewrapped;
}

QString DiaryStore::NameFor(const QString& path) const
{
    // The diary's name as the user gave it, with the new ending, where that
    // names the new file; a diary reached through a link has its new file
    // beside the file itself, and is named by its full path.
    const QString given = DiaryEncryption::IsEncryptedName(path) ? DiaryEncryption::EncryptedName(diaryFileName_)
                                                                 : DiaryEncryption::PlainName(diaryFileName_);
    return QFileInfo(given).canonicalFilePath() == QFileInfo(path).canonicalFilePath() ? given : path;
}

void DiaryStore::SwitchTo(const QString& name, std::shared_ptr<const RecordSeal> seal, const QString& oldPath)
{
    const qint32 shown = currentPage_;
    diaryFile_.Close();
    // The old file goes first: a start after a crash from here on finds the
    // diary under its new name (DiaryEncryption::WhereItIs), and one before
    // finds the old file beside a new one that holds the same pages.
    if (QFile::exists(oldPath) && !QFile::remove(oldPath)) {
        if (DiaryEncryption::IsEncryptedName(oldPath))
            DiaryFiles::ReportFileError(prompter_, FileError::FromErrno(EACCES));
        else
            ReportPlainLeft(oldPath);
    }
    diaryFile_.SetSeal(std::move(seal));
    diaryFileName_ = name;
    app_.UserDataFile = name;
    if (!OpenDiary(name))
        return;
    drafts_.Follow(diaryFile_.Path(), diaryFile_.Seal(), DraftKeeper::OnDisk::None);
    if (keepName_)
        keepName_(name);
    SaveMergeBase();
    FollowPageCount();
    currentPage_ = qBound(1, shown, qMax(1, pageCount_));
    LoadPage();
}

bool DiaryStore::MoveAsideToBackups(const QString& leftover)
{
    // A file under the name the diary is about to take is what an earlier
    // lock or unlock that did not finish left: kept in the backups, not lost,
    // and out of the way.
    if (!QFileInfo::exists(leftover))
        return true;
    const FileError error = DiaryBackup::KeepCurrent(leftover, BackupFolder(), clock_.Now());
    if (!error && QFile::remove(leftover))
        return true;
    DiaryFiles::ReportFileError(prompter_, error ? error : FileError::FromErrno(EACCES));
    return false;
}

void DiaryStore::SettlePlainBeside()
{
    const QString plainPath = DiaryEncryption::PlainName(diaryFile_.Path());
    if (!QFileInfo::exists(plainPath))
        return;
    // What a lock or an unlock left when it was cut short holds the very
    // pages of the diary: it goes, as it would have. Anything else (a plain
    // diary a sync tool brought) stays, and is named.
    RecordFile plain;
    if (!plain.Open(plainPath, RecordLength, RecordFile::IfMissing::Fail) && SamePages(plain, diaryFile_)) {
        plain.Close();
        if (SafeFile::RemoveOwn(plainPath))
            return;
    }
    ReportPlainLeft(plainPath);
}

bool DiaryStore::SamePages(const RecordFile& one, const RecordFile& other)
{
    if (one.RecordCount() != other.RecordCount())
        return false;
    constexpr qint32 PagesPerRead = 100;
    QByteArray ours;
    QByteArray theirs;
    for (qint32 first = 1; first <= one.RecordCount(); first += PagesPerRead) {
        const qint32 count = qMin(PagesPerRead, one.RecordCount() - first + 1);
        if (one.ReadRecords(first, count, ours) || other.ReadRecords(first, count, theirs) || ours != theirs)
            return false;
    }
    return one.DamagedRecords().isEmpty() && other.DamagedRecords().isEmpty();
}

void DiaryStore::ReportPlainLeft(const QString& plainPath)
{
    prompter_.Message({QStringLiteral("鍵をかけた日記の横に、暗号化されていない日記ファイルがあります。\r%1\r"
                                      "このファイルを読める人には、日記が読めます。")
                           .arg(QDir::toNativeSeparators(plainPath)),
                       DiaryFiles::Title(),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
}

QStringList DiaryStore::PlainBackups() const
{
    QStringList paths;
    if (!diaryFile_.IsSealed())
        return paths;
    const QString plainPath = DiaryEncryption::PlainName(diaryFile_.Path());
    for (const BackupGenerations::Generation& copy : BackupGenerations::List(plainPath, BackupFolder()))
        if (!copy.sharedName && !EncryptedRecordFile::IsEncrypted(copy.path))
            paths << copy.path;
    return paths;
}

CryptResult DiaryStore::EncryptPlainBackups(const QString& password)
{
    if (const CryptResult checked = CheckPassword(password))
        return checked;
    const QString plainPath = DiaryEncryption::PlainName(diaryFile_.Path());
    for (const BackupGenerations::Generation& copy : BackupGenerations::List(plainPath, BackupFolder())) {
        if (copy.sharedName || EncryptedRecordFile::IsEncrypted(copy.path))
            continue;
        if (const CryptResult encrypted = EncryptBackup(copy))
            return encrypted;
    }
    return {};
}

CryptResult DiaryStore::EncryptBackup(const BackupGenerations::Generation& copy)
{
    // Named as a copy of the encrypted diary, so it is listed and restored
    // with its own copies, and opened by the same key.
    const QDir folder(BackupFolder());
    QString target =
        folder.filePath(copy.keptAtRestore ? BackupGenerations::KeptCopyName(diaryFile_.Path(), copy.taken)
                                           : BackupGenerations::CopyName(diaryFile_.Path(), copy.taken.date()));
    if (QFileInfo::exists(target))
        target = folder.filePath(BackupGenerations::KeptCopyName(diaryFile_.Path(), copy.taken));
    RecordFile plain;
    if (const FileError error = plain.Open(copy.path, RecordLength, RecordFile::IfMissing::Fail))
        return CryptResult::From(error);
    if (const CryptResult encrypted = DiaryEncryption::EncryptLike(plain, target, diaryFile_))
        return encrypted;
    plain.Close();
    if (!QFile::remove(copy.path))
        return CryptResult::From(FileError::FromErrno(EACCES));
    return {};
}
