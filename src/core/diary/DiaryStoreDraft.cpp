// The store's side of the draft: what is kept of the shown page's edits
// while they are not stored, and taking a draft back at the next start.
#include "core/backup/BackupGenerations.h"
#include "core/backup/DiaryBackup.h"
#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryStore.h"
#include "core/diary/DiaryView.h"
#include "core/diary/PageFields.h"
#include "core/diary/PageRecords.h"
#include "core/drafts/DraftFile.h"
#include "core/platform/Clock.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/Prompter.h"
#include "core/sync/MergeChooser.h"
#include "core/sync/PageDigests.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace {

// The draft's fields, read as the entry fields would give them.
class DraftFields : public DiaryView
{
public:
    explicit DraftFields(const PageDraft& draft) : draft_(draft) {}
    QString FieldText(EntryField field) const override { return draft_.Field(field); }
    void SetFieldText(EntryField, const QString&) override {}
    void FinishComposing() override {}
    void SetPageStatus(const QString&) override {}
    void SetSlider(int, int) override {}
    bool SetCalendarDate(QDate) override { return true; }
    void SelectInBody(int, int) override {}
    void CloseMainWindow() override {}

private:
    const PageDraft& draft_;
};

DiaryPage PageOf(const PageDraft& draft)
{
    DiaryPage page;
    PageFields::FieldsToRecord(DraftFields(draft), page);
    return page;
}

QDate DateOf(const DiaryPage& page)
{
    return JapaneseLocale::ParseDate(PageFields::TrimSpaces(page.Text(DiaryPage::PageDate)));
}

quint64 HashOf(const DiaryPage& page)
{
    return PageDigestReader::Of(page.ToBytes().constData()).hash;
}

// Why a file could not be used, in the words of the program's file errors.
QString ReasonOf(const FileError& error)
{
    return DiaryFiles::Reason(error.systemError ? error.systemError : EIO);
}

QString DraftTitle()
{
    return QStringLiteral("書きかけ");
}

} // namespace

std::optional<PageDraft> DiaryStore::ShownDraft() const
{
    if (!IsOpen() || currentPage_ < 1)
        return std::nullopt;
    DiaryPage shown = shownRecord_;
    PageFields::FieldsToRecord(view_, shown);
    if (shown == loadedRecord_)
        return std::nullopt;
    PageDraft draft;
    for (int field = 0; field < EntryFieldCount; ++field)
        draft.fields[size_t(field)] = view_.FieldText(EntryField(field));
    draft.date = DateOf(pageAsRead_);
    draft.page = currentPage_;
    draft.loadedHash = HashOf(pageAsRead_);
    // Where the dates are at hand, the page is also told by its place among
    // the pages of its date, which a page added or deleted before it keeps.
    if (dateIndex_.Holds(pageCount_))
        draft.nthOfDate = qint32(dateIndex_.PagesOf(draft.date).indexOf(currentPage_)) + 1;
    draft.keptAt = clock_.Now();
    return draft;
}

void DiaryStore::ReportDraftFailed(const FileError& error)
{
    // Told where the user looks while typing, not in a box that would take
    // the keys: the page itself is safe until it is stored.
    view_.SetPageStatus(QStringLiteral("書きかけを控えておけません（%1）。保存（F5）をお勧めします。")
                            .arg(ReasonOf(error)));
}

FileError DiaryStore::KeepDraftNow()
{
    return drafts_.KeepNow();
}

void DiaryStore::DropDraft()
{
    drafts_.Forget();
    drafts_.Settle();
}

void DiaryStore::OfferDraft()
{
    if (!IsOpen())
        return;
    const DraftFile::Found found = DraftFile::Read(diaryFile_.Path(), diaryFile_.Seal().get());
    DraftKeeper::OnDisk onDisk = DraftKeeper::OnDisk::None;
    switch (found.outcome) {
    case DraftFile::Found::Outcome::None:
        break;
    case DraftFile::Found::Outcome::Unreadable:
        // It stays as it is, to be offered at the next start.
        ReportFileError(found.error);
        onDisk = DraftKeeper::OnDisk::Held;
        break;
    case DraftFile::Found::Outcome::Damaged:
        onDisk = SetDamagedDraftAside();
        break;
    case DraftFile::Found::Outcome::Draft:
        onDisk = AlreadyStored(found.draft) ? RemoveStoredDraft() : TakeBackDraft(found.draft);
        break;
    }
    drafts_.Follow(diaryFile_.Path(), diaryFile_.Seal(), onDisk);
    // A draft put back is kept again soon, with the place it has now.
    if (onDisk == DraftKeeper::OnDisk::Ours)
        drafts_.Edited();
}

DraftKeeper::OnDisk DiaryStore::TakeBackDraft(const PageDraft& draft)
{
    QString when = draft.keptAt.toString(QStringLiteral("H:mm"));
    if (draft.keptAt.date() != clock_.Now().date())
        when = draft.keptAt.toString(QStringLiteral("M月d日 ")) + when;
    const QString page = draft.date.isValid() ? JapaneseLocale::FormatDate(draft.date) + QStringLiteral("のページ")
                                              : QStringLiteral("%1ページ目").arg(draft.page);
    const Prompter::Answer answer = prompter_.Message(
        {QStringLiteral("保存されていない書きかけがあります（%1、%2）。ページに戻しますか？").arg(page, when),
         Prompter::ProgramTitle(), Prompter::Buttons::YesNo, Prompter::Icon::Question, Prompter::Answer::Yes});
    if (answer != Prompter::Answer::Yes)
        return SetDraftAside(draft);
    if (const qint32 asDrafted = PageAsDrafted(draft)) {
        ShowPage(asDrafted);
        PutDraftIn(draft);
        return DraftKeeper::OnDisk::Ours;
    }
    return MergeDraft(draft);
}

// The draft's page changed since (the other computer, a restore) or is gone:
// the user weighs the draft against the page as it is now.
DraftKeeper::OnDisk DiaryStore::MergeDraft(const PageDraft& draft)
{
    const qint32 now = PageNowAt(draft);
    std::optional<DiaryPage> theirs;
    DiaryPage record;
    if (now != 0 && !PageRecords::ReadRecord(diaryFile_, now, record))
        theirs = record;
    const MergeQuestion question{QFileInfo(diaryFile_.Path()).fileName(), 0, 0, {{PageOf(draft), theirs}},
                                 QStringLiteral("保存されていない書きかけ"),
                                 QStringLiteral("書きかけのページは、書きかけを控えたあとで書き換えられています。"
                                                "どちらの版を残すか選んでください。")};
    const std::optional<std::vector<Resolution>> chosen = chooser_ ? chooser_->Choose(question) : std::nullopt;
    // Put off, the draft is kept in the backups: it is never laid over the
    // page unasked, nor lost.
    const Resolution resolution = !chosen || chosen->empty() ? Resolution::KeepTheirs : chosen->front();
    if (resolution == Resolution::KeepTheirs) {
        if (now != 0)
            ShowPage(now);
        return SetDraftAside(draft);
    }
    if (resolution == Resolution::KeepOurs && theirs) {
        ShowPage(now);
        PutDraftIn(draft);
        return DraftKeeper::OnDisk::Ours;
    }
    // Both kept, or the page is gone: the draft becomes a new page of its date.
    const qint32 before = pageCount_;
    AddPage();
    if (pageCount_ == before)
        return DraftKeeper::OnDisk::Held;
    PutDraftIn(draft);
    return DraftKeeper::OnDisk::Ours;
}

// The program ended after the page was stored and before its draft went:
// the words are in the diary, and there is nothing to ask.
bool DiaryStore::AlreadyStored(const PageDraft& draft)
{
    const DiaryPage drafted = PageOf(draft);
    DiaryPage record;
    for (const qint32 page : {draft.page, PageNowAt(draft)})
        if (page >= 1 && page <= pageCount_ && !PageRecords::ReadRecord(diaryFile_, page, record) && record == drafted)
            return true;
    return false;
}

DraftKeeper::OnDisk DiaryStore::RemoveStoredDraft()
{
    return DraftFile::Remove(diaryFile_.Path()) ? DraftKeeper::OnDisk::None : DraftKeeper::OnDisk::Held;
}

qint32 DiaryStore::PageAsDrafted(const PageDraft& draft)
{
    QList<qint32> pages{draft.page};
    if (draft.date.isValid() && DateIndexReady())
        pages += dateIndex_.PagesOf(draft.date);
    DiaryPage record;
    for (const qint32 page : pages)
        if (page >= 1 && page <= pageCount_ && !PageRecords::ReadRecord(diaryFile_, page, record) &&
            HashOf(record) == draft.loadedHash)
            return page;
    return 0;
}

qint32 DiaryStore::PageNowAt(const PageDraft& draft)
{
    const bool byNumber = draft.page >= 1 && draft.page <= pageCount_;
    if (!draft.date.isValid() || !DateIndexReady())
        return byNumber ? draft.page : 0;
    const QList<qint32> pages = dateIndex_.PagesOf(draft.date);
    if (draft.nthOfDate >= 1)
        return draft.nthOfDate <= pages.size() ? pages[draft.nthOfDate - 1] : 0;
    return pages.contains(draft.page) ? draft.page : 0;
}

void DiaryStore::PutDraftIn(const PageDraft& draft)
{
    for (int field = 0; field < EntryFieldCount; ++field)
        view_.SetFieldText(EntryField(field), draft.fields[size_t(field)]);
    MarkChanged();
    ShowPageStatus();
}

DraftKeeper::OnDisk DiaryStore::SetDraftAside(const PageDraft& draft)
{
    const QString folder = BackupFolder();
    const FileError error =
        !DiaryBackup::MakeFolder(folder)
            ? FileError::FromErrno(EACCES)
            : DraftFile::WriteCopy(FreeCopyName(folder, draft.keptAt, DraftFile::CopyEnding(diaryFile_.IsSealed())),
                                   draft, diaryFile_.Seal().get());
    if (!error && DraftFile::Remove(diaryFile_.Path()))
        return DraftKeeper::OnDisk::None;
    ReportDraftStays(error ? error : FileError::FromErrno(EACCES));
    return DraftKeeper::OnDisk::Held;
}

DraftKeeper::OnDisk DiaryStore::SetDamagedDraftAside()
{
    const QString target = FreeCopyName(BackupFolder(), clock_.Now(), QStringLiteral("-draft.damaged"));
    const QString draft = DraftFile::PathFor(diaryFile_.Path());
    if (DiaryBackup::MakeFolder(BackupFolder()) && QFile::rename(draft, target)) {
        prompter_.Message({QStringLiteral("書きかけの控えが壊れていたため、ページに戻せませんでした。\r"
                                          "控えはバックアップのフォルダに移しました。\r%1")
                               .arg(QDir::toNativeSeparators(target)),
                           DraftTitle(), Prompter::Buttons::Ok, Prompter::Icon::Exclamation, {}});
        return DraftKeeper::OnDisk::None;
    }
    ReportDraftStays(FileError::FromErrno(errno ? errno : EACCES));
    return DraftKeeper::OnDisk::Held;
}

void DiaryStore::ReportDraftStays(const FileError& error)
{
    prompter_.Message({QStringLiteral("書きかけをバックアップのフォルダに残せませんでした。\r%1\r"
                                      "書きかけはそのまま残し、次の起動でもう一度お尋ねします。")
                           .arg(ReasonOf(error)),
                       DraftTitle(), Prompter::Buttons::Ok, Prompter::Icon::Exclamation, {}});
}

QString DiaryStore::FreeCopyName(const QString& folder, const QDateTime& taken, const QString& ending) const
{
    QString target;
    for (QDateTime at = taken; target.isEmpty() || QFileInfo::exists(target); at = at.addSecs(1)) {
        const QString name = BackupGenerations::KeptCopyName(diaryFile_.Path(), at);
        target = QDir(folder).filePath(ending.isEmpty() ? name : name.left(name.lastIndexOf(u'.')) + ending);
    }
    return target;
}
