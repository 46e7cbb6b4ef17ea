#pragma once

#include "core/backup/BackupGenerations.h"
#include "core/crypt/DiaryLock.h"
#include "core/diary/DateIndex.h"
#include "core/diary/DiaryPage.h"
#include "core/diary/SameDayReader.h"
#include "core/drafts/DraftKeeper.h"
#include "core/platform/RecordFile.h"
#include "core/search/BodySearch.h"
#include "core/sync/FileIdentity.h"
#include "core/sync/PageDigests.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class Clock;
class DiaryView;
class DiaryWatch;
class MergeChooser;
class Prompter;
struct AppSettings;

// The open diary and every operation on its pages. It owns which page is
// shown, how many there are and whether the shown page was changed; it reaches
// the main window only through DiaryView and the user only through Prompter.
// The views that read the diary beside the shown page follow its signals,
// connected with themselves as receiver, so a closed view is let go of.
// The lock windows reach it as the diary's DiaryLock.
class DiaryStore : public QObject, public DiaryLock
{
    Q_OBJECT
public:
    static constexpr qint32 RecordLength = DiaryPage::RecordLength;

    DiaryStore(DiaryView& view, Prompter& prompter, const Clock& clock, AppSettings& app,
               std::function<void()> endProgram);

    // Opens the configured diary, or asks for a name on the first start;
    // userFolder is where a diary named without a folder is kept.
    void SelectDiaryFile(const QString& userFolder);
    void InitPages();
    // Shows the current page as it is on disk.
    void LoadPage();
    // Shows a page (1-based) as it is on disk: edits not stored give way.
    void ShowPage(qint32 page);
    void ShowLastPage();
    // The calendar's click: shows the first page of the day, or, when the day
    // has none, offers to start a page for it. Stores the shown page first,
    // as stepping does.
    void ShowDay(QDate date);
    // The search: shows the first page from `from` on whose body holds the
    // text, with the text selected, or the last page when none does. A folded
    // search selects the characters of the body that the hit folded from.
    // Stores the shown page first, as stepping does. True when a page holding
    // the text is shown.
    bool FindAndShow(const QString& text, qint32 from, BodySearch::Match match = BodySearch::Match::Exact);
    // A page of the list of hits: shows it with the first hit selected,
    // storing the shown page first. False when it could not be shown, or no
    // longer holds the text (nothing is selected then).
    bool ShowFoundPage(qint32 page, const QString& text, BodySearch::Match match);
    // A field of the shown page was edited.
    void MarkChanged()
    {
        pageChanged_ = true;
        drafts_.Edited();
    }
    // At the start, once the diary's last page is shown: offers back the
    // draft a run left that ended before storing it, and from then on keeps
    // a draft of the shown page's edits until they are stored.
    void OfferDraft();
    // Keeps the draft of the shown page's edits at once, on the disk, for a
    // program about to end without asking.
    FileError KeepDraftNow();
    // The user gave the shown page's edits up: their draft goes.
    void DropDraft();
    // Writes the shown page back when a field differs from the loaded page.
    // False when it could not be written; the fields keep their text.
    bool StorePage();
    void AddPage();
    void DeletePage();
    void PreviousPage();
    void NextPage();
    // Puts a copy from the backups in the diary's place, whole, and shows its
    // last page. The diary as it was is kept in the backups first; when it
    // cannot be, or the copy cannot be put in place, the diary stays as it is.
    bool RestoreBackup(const QString& copyPath);
    // Where the daily copies go.
    QString BackupFolder() const;
    // Makes the file hold exactly PageCount pages. False when it could not.
    bool CompactDiary();
    // Stores the shown page, then appends whole page records in one rewrite
    // of the diary (all or none) and shows the last of them. False when the
    // diary is as it was.
    bool AppendPages(const QByteArray& records);
    void ShowPageStatus();
    void CloseDiary();
    // Lets go of the diary file as the program ends, as it is on disk.
    void Release();

    // Who asks the user about pages both computers changed; none: such a
    // merge waits, and the user is told.
    void SetMergeChooser(MergeChooser* chooser) { chooser_ = chooser; }
    // Who keeps the diary's name for the next start when locking or
    // unlocking gives it another ending; called before the old file goes.
    void SetNameKeeper(std::function<void(const QString&)> keep) { keepName_ = std::move(keep); }
    // The diary's path no longer names the file as this program left it (a
    // sync tool delivered another version): takes the new version in, with
    // the shown page's edits merged. False when the diary is as it was left,
    // or the new version could not be taken in yet (the user was told).
    bool DiaryFileChanged();
    // Offers to merge each conflict copy a sync tool left beside the diary
    // that was not refused in this session.
    void OfferConflictCopies();

    // The first page whose date field reads as date; 0 when none does.
    // Answered from the index of dates, which the first question builds from
    // the date fields. Nothing when the file could not be read, which has
    // been reported: a page that could not be read is not a page missing.
    std::optional<qint32> FindDatePage(QDate date);

    // The first page from `from` on whose body holds text; 0 when none does.
    // Reads the bodies without showing them; nothing as above.
    std::optional<qint32> FindInBodies(const QString& text, qint32 from,
                                       BodySearch::Match match = BodySearch::Match::Exact);

    // The pages of the same month and day as `date` in other years, newest
    // first, with what the list of them shows. Found in the index of dates,
    // then only those fields of the pages found are read; nothing as above.
    std::optional<std::vector<SameDayPage>> SameDayPages(QDate date);
    // The date of the shown page as it was loaded or last stored; invalid
    // when its date field reads as no date.
    QDate ShownDate() const;
    // Shows a page as stepping does: edits of the shown page are stored
    // first, and the page stays where it is when they could not be.
    void StepToPage(qint32 page);

    // The days of a month that have a page, in order, from the index of
    // dates; nothing as above.
    std::optional<QList<int>> PageDaysOf(int year, int month);

    static QString PageStatusText(qint32 pageCount, qint32 currentPage);
    qint32 CurrentPage() const { return currentPage_; }
    qint32 PageCount() const { return pageCount_; }
    bool PageChanged() const { return pageChanged_; }
    bool IsOpen() const { return diaryOpen_; }
    // The open diary, for reading only: its place, and its records as stored.
    const RecordFile& DiaryFile() const { return diaryFile_; }
    // The diary was left alone because another copy of the program holds it.
    bool OpenElsewhere() const { return openElsewhere_; }

    // The diary's lock. At the start, before the diary is opened, the
    // configured diary is the one asked about and unlocked.
    bool IsEncrypted() const override;
    CryptResult Lock(const QString& password, QString& recoveryCode) override;
    CryptResult Unlock(const QString& password) override;
    CryptResult UnlockWithRecoveryCode(const QString& recoveryCode, const QString& newPassword) override;
    CryptResult ChangePassword(const QString& oldPassword, const QString& newPassword) override;
    CryptResult RemoveLock(const QString& password) override;
    QStringList PlainBackups() const override;
    CryptResult EncryptPlainBackups(const QString& password) override;

Q_SIGNALS:
    // After a page is shown.
    void pageShown();
    // After a page is added, taken out or stored under another date on disk.
    void pagesChanged();
    // After any page is written to disk, its date changed or not: for the
    // views that show what the pages hold, not only where they stand.
    void pageStored();

private:
    void ReportFileError(const FileError& error);
    // Selects the first hit in the shown body; false when it holds none.
    bool SelectInShownBody(const QString& wanted, BodySearch::Match match);
    void Inform(const QString& text);
    // Every change of the diary file goes through one of these two, which
    // pass the backup gate first.
    bool WriteCurrentRecord(qint32 page);
    FileError RewriteDiary(qint32 keep, qint32 drop = 0, const QByteArray& appended = {});
    // The gate: the day's first change first copies the diary as it is into
    // the backups. A copy that fails is reported, once a day, and the change
    // goes on.
    void BackUpBeforeWriting();
    // Every write passes here first: it refuses, told as a file error, when
    // the path no longer names the file as this program left it.
    bool PassWriteGate();
    static FileError GateRefusal();
    static bool IsGateRefusal(const FileError& error);
    void ReportWriteRefused();
    // The diary's name names nothing, or an empty file, for a moment.
    void ReportDiaryAway();
    // True when the diary was locked on another computer (told once).
    bool ReportLockedElsewhere(bool edited);
    bool FileAsLeft() const;
    // After the diary was opened, read whole or written.
    void NoteFileLeft();
    // Takes a changed diary in when it has changed; true when the store is
    // on the diary's file as it is now.
    bool TakeInIfChanged();
    void WatchSettled();
    // forWrite: a write waits for it, and is told when the diary is away.
    bool TakeInChange(bool forWrite);
    // Nothing when a newer version replaced the one being merged with, which
    // is then merged again.
    std::optional<bool> TakeInReplaced(bool edited);
    bool TakeInChangedInPlace(bool edited);
    // Where the shown page's edits go when the other side changed that very
    // page in place: its place, the end, or nowhere (0); nothing when put off.
    std::optional<qint32> AskWhereEditsGo(const PageDigests& digests, const PageDigest& loaded);
    // Puts the merged records in the diary's place, after both inputs were
    // kept in the backups; `theirs` is the file now at the diary's path.
    bool WriteMerged(RecordFile& theirs, const QByteArray& records);
    FileError KeepOursInBackups();
    bool MergeConflictCopy(const QString& copyPath);
    std::optional<bool> TryMergeConflictCopy(const QString& copyPath);
    // False when the conflict copy had to stay where it was.
    bool MoveToBackups(const QString& copyPath, const QString& folder);
    // Shows the page `found` (0: the nearest to the day shown before) of a
    // version just taken in, and says so.
    void ShowTakenIn(qint32 found, QDate shownDay);
    void SaveMergeBase();
    void KeepMergeBaseSoon();
    void ReportMergeWaits();
    void FollowDiary();
    bool OpenDiary(const QString& name);
    // The index of dates, built when it does not hold the file as this
    // program left it; false when the file could not be read (reported).
    bool DateIndexReady();
    // Keeps an encrypted diary's index of dates, sealed, for the next start.
    void KeepDateIndex();
    // Reports a failed rewrite; false when it failed.
    bool Settle(const FileError& error);
    void FollowPageCount();
    void ReportDeletionRefused();
    void DeleteTheOnlyPage();
    FileError EmptyDiaryFile();
    void ClearFields();
    // After the calendar found no page for the day: asks, and on Yes adds a
    // page that shows the day at midnight.
    void OfferPageFor(QDate date);

    // Stores the shown page and takes a delivered version in before the
    // diary is locked, unlocked or given a new password; nothing when it may
    // go on.
    std::optional<CryptResult> PassLockGate();
    CryptResult CheckPassword(const QString& password) const;
    // Opens the diary under its new name (locked or unlocked), on the page
    // shown before, once the old file is gone.
    void SwitchTo(const QString& name, std::shared_ptr<const RecordSeal> seal, const QString& oldPath);
    // How the diary's new file at `path` is named in the settings.
    QString NameFor(const QString& path) const;
    void ReportPlainLeft(const QString& plainPath);
    // At the start of an encrypted diary: a plain file under its other ending.
    void SettlePlainBeside();
    static bool SamePages(const RecordFile& one, const RecordFile& other);
    // False when a file at `leftover` stays in the way (the user was told).
    bool MoveAsideToBackups(const QString& leftover);
    CryptResult EncryptBackup(const BackupGenerations::Generation& copy);
    // Names the pages of an encrypted diary found damaged since last told.
    void ReportDamagedPages();

    // The draft of the shown page's edits; nothing when it holds none.
    std::optional<PageDraft> ShownDraft() const;
    void ReportDraftFailed(const FileError& error);
    // What stays of the draft on the disk after it was offered.
    DraftKeeper::OnDisk TakeBackDraft(const PageDraft& draft);
    DraftKeeper::OnDisk MergeDraft(const PageDraft& draft);
    bool AlreadyStored(const PageDraft& draft);
    DraftKeeper::OnDisk RemoveStoredDraft();
    // The page the draft was typed on, as it was then; 0 when no page is.
    qint32 PageAsDrafted(const PageDraft& draft);
    // Where the draft's page stands now, changed; 0 when it is gone.
    qint32 PageNowAt(const PageDraft& draft);
    // The draft shows as the page's unsaved edits.
    void PutDraftIn(const PageDraft& draft);
    // Keeps a copy of the draft in the backups and removes it.
    DraftKeeper::OnDisk SetDraftAside(const PageDraft& draft);
    DraftKeeper::OnDisk SetDamagedDraftAside();
    void ReportDraftStays(const FileError& error);
    // A name in `folder` for a copy of the diary kept at `taken`, free of any
    // file there; `ending` takes the place of the diary's own.
    QString FreeCopyName(const QString& folder, const QDateTime& taken, const QString& ending = {}) const;

    DiaryView& view_;
    Prompter& prompter_;
    const Clock& clock_;
    AppSettings& app_;
    std::function<void()> endProgram_;

    DiaryPage shownRecord_;  // the page the entry fields show
    DiaryPage loadedRecord_; // shownRecord_ as it was right after loading
    DiaryPage pageAsRead_;   // the shown page as its record was read or last written
    qint32 currentPage_ = 0; // 1-based
    qint32 pageCount_ = 0;
    QString diaryFileName_;  // as the user gave it; may be relative
    bool diaryOpen_ = false; // false: page operations do nothing
    bool pageChanged_ = false;
    RecordFile diaryFile_;
    bool openElsewhere_ = false;
    QDate backedUpOn_;
    std::optional<FileIdentity> leftAs_; // the diary as this program last left it
    DateIndex dateIndex_;                // every page's date; kept by each write, forgotten when the file is reopened
    std::optional<FileIdentity> indexKeptAs_; // the file an encrypted diary's kept index describes
    bool takingIn_ = false;                   // a delivered version or a conflict copy is being taken in
    static constexpr int SettleAgainMs = 300;
    static constexpr int MergeAttempts = 3;
    MergeChooser* chooser_ = nullptr;
    std::function<void(const QString&)> keepName_;
    DiaryWatch* watch_ = nullptr;
    QSet<QString> refusedCopies_; // conflict copies the user said No to, this session
    QList<qint32> damagedTold_;   // damaged pages the user has been told of
    bool lockedElsewhereTold_ = false;
    DraftKeeper drafts_;
};
