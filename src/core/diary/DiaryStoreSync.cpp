// The store's side of one diary on two computers: noticing that the diary's
// path names another version, taking it in, and merging conflict copies.
#include "core/backup/BackupMessages.h"
#include "core/backup/DiaryBackup.h"
#include "core/backup/VerifiedCopy.h"
#include "core/crypt/DiaryEncryption.h"
#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryStore.h"
#include "core/diary/DiaryView.h"
#include "core/diary/PageFields.h"
#include "core/platform/Clock.h"
#include "core/platform/Prompter.h"
#include "core/platform/RecordFileRewriter.h"
#include "core/platform/SafeFile.h"
#include "core/sync/ConflictCopies.h"
#include "core/sync/DiaryWatch.h"
#include "core/sync/MergeBase.h"
#include "core/sync/MergeChooser.h"
#include "core/sync/PageDigests.h"
#include "core/sync/VersionMerge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QTimer>
#include <cerrno>

namespace {

QString MergeTitle()
{
    return QStringLiteral("日記の統合");
}

} // namespace

bool DiaryStore::FileAsLeft() const
{
    // A file whose state could not be read is taken as left: the write
    // itself then tells what is wrong.
    return !leftAs_ || FileIdentity::OfPath(diaryFile_.Path()) == leftAs_;
}

void DiaryStore::NoteFileLeft()
{
    leftAs_ = FileIdentity::OfOpen(diaryFile_);
}

void DiaryStore::FollowDiary()
{
    watch_->Follow(diaryFile_.IsOpen() ? diaryFile_.Path() : QString());
}

bool DiaryStore::PassWriteGate()
{
    if (!FileAsLeft())
        return false;
    BackUpBeforeWriting();
    return true;
}

FileError DiaryStore::GateRefusal()
{
    return {FileError::PathFileAccess, ESTALE};
}

bool DiaryStore::IsGateRefusal(const FileError& error)
{
    return error.code == FileError::PathFileAccess && error.systemError == ESTALE;
}

bool DiaryStore::ReportLockedElsewhere(bool edited)
{
    // The other computer locked the diary: its plain file went, the
    // encrypted one came. This copy holds no key for it, so it says so once
    // and writes nothing more.
    const QString encrypted = DiaryEncryption::EncryptedName(diaryFile_.Path());
    if (diaryFile_.IsSealed() || !QFileInfo::exists(encrypted))
        return false;
    if (lockedElsewhereTold_)
        return true;
    lockedElsewhereTold_ = true;
    prompter_.Message(
        {QStringLiteral("この日記帳には他のコンピュータで鍵がかけられました。\r%1\r"
                        "日記帳Sorafumiを終了してから起動し直すと、パスワードで開けます。")
                 .arg(QDir::toNativeSeparators(encrypted)) +
             (edited ? QStringLiteral("\rこのページで書き換えた内容は、まだ保存されていません。") : QString()),
         MergeTitle(),
         Prompter::Buttons::Ok,
         Prompter::Icon::Exclamation,
         {}});
    return true;
}

void DiaryStore::ReportDiaryAway()
{
    prompter_.Message({QStringLiteral("日記ファイルが見つからないため、書き込みませんでした。\r"
                                      "同期が終わってから、もう一度行ってください。\r"
                                      "このページの内容はそのまま残っています。"),
                       MergeTitle(),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
}

void DiaryStore::ReportWriteRefused()
{
    prompter_.Message({QStringLiteral("日記ファイルが他のプログラムによって書き換えられたため、書き込みませんでした。\r"
                                      "新しい内容を読み込んでから、もう一度行ってください。\r"
                                      "このページの内容はそのまま残っています。"),
                       MergeTitle(),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
}

bool DiaryStore::TakeInIfChanged()
{
    return FileAsLeft() || TakeInChange(true);
}

// A version that arrives while the user answers about another one (a merge
// question, a conflict copy's offer) waits for that answer: the store is
// halfway through taking the first one in.
void DiaryStore::WatchSettled()
{
    if (takingIn_) {
        QTimer::singleShot(SettleAgainMs, this, &DiaryStore::WatchSettled);
        return;
    }
    DiaryFileChanged();
    OfferConflictCopies();
}

bool DiaryStore::DiaryFileChanged()
{
    if (!IsOpen() || FileAsLeft())
        return false;
    return TakeInChange(false);
}

bool DiaryStore::TakeInChange(bool forWrite)
{
    const QScopedValueRollback guard(takingIn_, true);
    view_.FinishComposing();
    PageFields::FieldsToRecord(view_, shownRecord_);
    const bool edited = currentPage_ >= 1 && shownRecord_ != loadedRecord_;
    // A sync tool may deliver yet another version while the user answers
    // about this one: that merge is not written over it, but done again with
    // the newest version.
    for (int attempt = 0; attempt < MergeAttempts; ++attempt) {
        const std::optional<FileIdentity> now = FileIdentity::OfPath(diaryFile_.Path());
        // Gone, or between a sync tool's steps (the old version moved aside
        // as a conflict copy, or an empty file not yet written): what we hold
        // stays, and the next change of the folder brings the new version.
        // A diary with pages is never taken to have lost them all this way.
        // A write that waits for it is refused, and the user told so.
        if (!now || now->size == 0) {
            if (!now && ReportLockedElsewhere(edited))
                return false;
            if (forWrite)
                ReportDiaryAway();
            return false;
        }
        // Replaced: the old file is no longer the diary's, but we still hold
        // it open, so every page we had is still ours to merge from, and
        // nothing is ever written into it. Changed in place: its old bytes are
        // gone, and the edits of the shown page are all that is ours alone.
        if (leftAs_ && now->SameFile(*leftAs_))
            return TakeInChangedInPlace(edited);
        if (const std::optional<bool> done = TakeInReplaced(edited))
            return *done;
    }
    ReportWriteRefused();
    return false;
}

std::optional<bool> DiaryStore::TakeInReplaced(bool edited)
{
    const QString path = diaryFile_.Path();
    const QDate shownDay = ShownDate();
    RecordFile theirs;
    theirs.SetSeal(diaryFile_.Seal());
    bool elsewhere = false;
    // Never created here: a name left empty for a moment would reach the other
    // computer as a diary without pages.
    if (!DiaryFiles::OpenDiaryFile(prompter_, path, false, theirs, &elsewhere, RecordFile::IfMissing::Fail))
        return false;
    VersionMerge::Merged merged;
    FileError error;
    const VersionMerge::Outcome outcome = VersionMerge::Run(
        {diaryFile_, edited ? currentPage_ : 0, shownRecord_.ToBytes()}, {theirs, QFileInfo(path).fileName()},
        MergeBase::Load(path, diaryFile_.Seal().get()), chooser_, currentPage_, merged, error);
    switch (outcome) {
    case VersionMerge::Outcome::Failed:
        ReportFileError(error);
        return false;
    case VersionMerge::Outcome::Changed:
        return false;
    case VersionMerge::Outcome::PutOff:
        ReportMergeWaits();
        return false;
    case VersionMerge::Outcome::TheirsAsIs:
        break;
    case VersionMerge::Outcome::Merged:
        if (FileIdentity::OfPath(path) != FileIdentity::OfOpen(theirs))
            return std::nullopt;
        if (!WriteMerged(theirs, merged.records))
            return false;
        break;
    }
    const bool locked = theirs.IsLocked();
    diaryFile_.CloseInBackground();
    diaryFile_.Adopt(theirs.Release(), locked);
    dateIndex_.Forget();
    NoteFileLeft();
    FollowDiary();
    SaveMergeBase();
    ShowTakenIn(merged.followedAt, shownDay);
    return true;
}

bool DiaryStore::TakeInChangedInPlace(bool edited)
{
    const QDate shownDay = ShownDate();
    const QByteArray loaded = loadedRecord_.ToBytes();
    PageDigests digests;
    if (const FileError error = PageDigestReader::Read(diaryFile_, digests)) {
        ReportFileError(error);
        return false;
    }
    // Our page as we loaded it, where it stands now: the shown place first.
    const quint64 loadedHash = PageDigestReader::Of(loaded.constData()).hash;
    qint32 found = 0;
    if (currentPage_ >= 1 && currentPage_ <= qint32(digests.size()) &&
        digests[size_t(currentPage_ - 1)].hash == loadedHash)
        found = currentPage_;
    for (qint32 index = 0; found == 0 && index < qint32(digests.size()); ++index)
        if (digests[size_t(index)].hash == loadedHash)
            found = index + 1;
    pageCount_ = diaryFile_.RecordCount();
    dateIndex_.Forget();
    NoteFileLeft();
    if (edited && found == 0) {
        const std::optional<qint32> place = AskWhereEditsGo(digests, PageDigestReader::Of(loaded.constData()));
        if (!place)
            return false;
        found = *place;
        if (found != 0 && !WriteCurrentRecord(found))
            return false;
        pageCount_ = qMax(pageCount_, found);
    } else if (edited) {
        if (!WriteCurrentRecord(found))
            return false;
    }
    SaveMergeBase();
    ShowTakenIn(found, shownDay);
    return true;
}

// The other side changed or removed the very page we edited: the user says
// which stays. Their version of it is the page of that day at the shown place.
std::optional<qint32> DiaryStore::AskWhereEditsGo(const PageDigests& digests, const PageDigest& loaded)
{
    const bool theirsHere = currentPage_ >= 1 && currentPage_ <= qint32(digests.size()) &&
                            digests[size_t(currentPage_ - 1)].date == loaded.date;
    std::optional<DiaryPage> theirs;
    QByteArray record;
    if (theirsHere && !diaryFile_.ReadRecord(currentPage_, record))
        theirs = DiaryPage::FromBytes(record);
    const MergeQuestion question{QFileInfo(diaryFile_.Path()).fileName(), 0, 1, {{shownRecord_, theirs}}, {}, {}};
    const std::optional<std::vector<Resolution>> chosen = chooser_ ? chooser_->Choose(question) : std::nullopt;
    if (!chosen) {
        leftAs_.reset();
        ReportMergeWaits();
        return std::nullopt;
    }
    switch (chosen->empty() ? Resolution::KeepBoth : chosen->front()) {
    case Resolution::KeepTheirs:
        return 0;
    case Resolution::KeepOurs:
        if (theirsHere)
            return currentPage_;
        break;
    case Resolution::KeepBoth:
        break;
    }
    return qint32(digests.size()) + 1;
}

bool DiaryStore::WriteMerged(RecordFile& theirs, const QByteArray& records)
{
    // Both versions go into the backups before anything is written: theirs as
    // the diary's path holds it, ours from the file we still hold open.
    const QString folder = BackupFolder();
    FileError error = DiaryBackup::KeepCurrent(theirs.Path(), folder, clock_.Now());
    if (!error)
        error = KeepOursInBackups();
    if (error) {
        BackupMessages::ReportMergeRefused(prompter_, error, folder);
        return false;
    }
    if (const FileError rewrite = RecordFileRewriter::Rewrite(theirs, 0, 0, records)) {
        ReportFileError(rewrite);
        return false;
    }
    return true;
}

FileError DiaryStore::KeepOursInBackups()
{
    QByteArray records;
    if (const FileError error = diaryFile_.ReadRecords(1, diaryFile_.RecordCount(), records))
        return error;
    return SafeFile::WriteNew(FreeCopyName(BackupFolder(), clock_.Now().addSecs(1)), records,
                              SafeFile::Durability::Flushed);
}

void DiaryStore::ShowTakenIn(qint32 found, QDate shownDay)
{
    pageCount_ = diaryFile_.RecordCount();
    if (found == 0 && shownDay.isValid())
        found = FindDatePage(shownDay).value_or(0);
    currentPage_ = qBound(qint32(1), found != 0 ? found : currentPage_, qMax(qint32(1), pageCount_));
    pageChanged_ = false;
    Q_EMIT pagesChanged();
    LoadPage();
    view_.SetPageStatus(QStringLiteral("同期されたファイルからページを読み込みました。"));
}

// Hashing every page of a long diary takes a moment: the window shows the
// last page first. A version arriving meanwhile waits for the watch's settle.
void DiaryStore::KeepMergeBaseSoon()
{
    QTimer::singleShot(0, this, &DiaryStore::SaveMergeBase);
}

void DiaryStore::SaveMergeBase()
{
    PageDigests digests;
    if (!diaryFile_.IsOpen())
        return;
    // While a conflict copy waits, the base stays the state before it, which
    // tells the copy's old pages from its new ones; a base taken after a
    // merge of it that did not finish would make them all look new.
    if (!ConflictCopies::Beside(diaryFile_.Path()).empty())
        return;
    // A diary as it was when its base was last taken is not read again: the
    // start and the end of a day without writing stay quick on a long diary.
    const std::optional<FileIdentity> now = FileIdentity::OfOpen(diaryFile_);
    if (now && MergeBase::IsOf(diaryFile_.Path(), *now, diaryFile_.Seal().get()))
        return;
    // A diary that cannot be read is told of, as any read of it is.
    if (const FileError error = PageDigestReader::Read(diaryFile_, digests)) {
        ReportFileError(error);
        return;
    }
    // A base that cannot be kept only makes the next merge ask more.
    MergeBase::Save(diaryFile_.Path(), digests, now.value_or(FileIdentity()), diaryFile_.Seal().get());
}

void DiaryStore::ReportMergeWaits()
{
    prompter_.Message({QStringLiteral("日記ファイルが他のコンピュータで書き換えられました。\r"
                                      "両方で書き換えたページがあるため、統合は後で行います。\r"
                                      "このページの内容はそのまま残っています。"),
                       MergeTitle(),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
}

void DiaryStore::OfferConflictCopies()
{
    const QScopedValueRollback guard(takingIn_, true);
    if (!IsOpen())
        return;
    for (const ConflictCopy& copy : ConflictCopies::Beside(diaryFile_.Path())) {
        if (refusedCopies_.contains(copy.path))
            continue;
        // A copy without a whole page holds nothing to merge, and merged
        // against the last common state it would read as every page deleted.
        if (QFileInfo(copy.path).size() < RecordLength) {
            MoveToBackups(copy.path, BackupFolder());
            continue;
        }
        const Prompter::Answer answer = prompter_.Message(
            {QStringLiteral("他のコンピュータで書かれたページが届いています。\r今、日記に統合しますか？"),
             MergeTitle(),
             Prompter::Buttons::YesNo,
             Prompter::Icon::Question,
             {}});
        if (answer != Prompter::Answer::Yes || !MergeConflictCopy(copy.path))
            refusedCopies_.insert(copy.path);
    }
}

bool DiaryStore::MergeConflictCopy(const QString& copyPath)
{
    // As with a delivered version: a newer one arriving during the merge is
    // taken in first, and the copy merged again into it.
    for (int attempt = 0; attempt < MergeAttempts; ++attempt)
        if (const std::optional<bool> done = TryMergeConflictCopy(copyPath))
            return *done;
    ReportWriteRefused();
    return false;
}

std::optional<bool> DiaryStore::TryMergeConflictCopy(const QString& copyPath)
{
    if (!StorePage() || !TakeInIfChanged())
        return false;
    RecordFile theirs;
    theirs.SetSeal(diaryFile_.Seal());
    if (const FileError error = theirs.Open(copyPath, RecordLength, RecordFile::IfMissing::Fail)) {
        // Gone while the user answered: the other computer merged it first,
        // and its pages come with the diary.
        if (error.systemError == ENOENT)
            return true;
        ReportFileError(error);
        return false;
    }
    const QDate shownDay = ShownDate();
    VersionMerge::Merged merged;
    FileError error;
    // The base is no state the copy shares, only pages it tells are old: a
    // page the copy holds otherwise than ours is asked about, never simply
    // taken over a newer edit.
    const VersionMerge::Outcome outcome = VersionMerge::Run(
        {diaryFile_, 0, {}}, {theirs, QFileInfo(copyPath).fileName(), true},
        MergeBase::Load(diaryFile_.Path(), diaryFile_.Seal().get()), chooser_, currentPage_, merged, error);
    if (outcome == VersionMerge::Outcome::Failed)
        ReportFileError(error);
    if (outcome == VersionMerge::Outcome::PutOff)
        ReportMergeWaits();
    if (outcome != VersionMerge::Outcome::Merged && outcome != VersionMerge::Outcome::TheirsAsIs)
        return false;
    if (!FileAsLeft())
        return std::nullopt;
    const QString folder = BackupFolder();
    if (const FileError kept = DiaryBackup::KeepCurrent(diaryFile_.Path(), folder, clock_.Now())) {
        BackupMessages::ReportMergeRefused(prompter_, kept, folder);
        return false;
    }
    const FileError rewrite = RewriteDiary(0, 0, merged.records);
    if (IsGateRefusal(rewrite))
        return std::nullopt;
    if (!Settle(rewrite))
        return false;
    // A copy that stays where it was is offered again: the base stays as it
    // was too, so that merging it again adds nothing twice.
    if (MoveToBackups(copyPath, folder))
        SaveMergeBase();
    ShowTakenIn(merged.followedAt, shownDay);
    return true;
}

bool DiaryStore::MoveToBackups(const QString& copyPath, const QString& folder)
{
    // The copy goes to the backups, never away.
    const QString moved = QDir(folder).filePath(QFileInfo(copyPath).fileName());
    if (!QFileInfo::exists(moved) && QFile::rename(copyPath, moved))
        return true;
    return !VerifiedCopy::ToNewFile(copyPath, moved + u'~') && SafeFile::RemoveOwn(copyPath);
}
