#include "core/diary/DiaryStore.h"

#include "core/backup/BackupGenerations.h"
#include "core/backup/BackupMessages.h"
#include "core/backup/DiaryBackup.h"
#include "core/diary/DateIndexFile.h"
#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryView.h"
#include "core/diary/PageFields.h"
#include "core/diary/PageRecords.h"
#include "core/platform/Clock.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/Prompter.h"
#include "core/platform/RecordFileRewriter.h"
#include "core/platform/SafeFile.h"
#include "core/search/BodySearch.h"
#include "core/search/JapaneseFold.h"
#include "core/settings/AppSettings.h"
#include "core/sync/ConflictCopies.h"
#include "core/sync/DiaryWatch.h"
#include "core/sync/MergeBase.h"
#include "core/sync/PageDigests.h"
#include "core/sync/VersionMerge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// Numbers in the program's messages carry one leading space.
QString Str(qint32 number)
{
    return number < 0 ? QString::number(number) : u' ' + QString::number(number);
}

// The last line names the folder where a diary named without a folder is kept.
QString FirstStartPrompt(const QString& userFolder)
{
    return QStringLiteral("ファイル名を１２０文字以内で決めて下さい。\r"
                          "以後このファイル名で日記の内容はデータベースとして\r"
                          "構築されていきます。\r"
                          "\r"
                          "■ヒント！\r"
                          "以前の日記帳Sorafumiのファイルを引き継ぐことができます。\r"
                          "以前のファイル名をを入力してください。\r"
                          "標準では　%1　にあるあなたが設定したファイル名です。")
        .arg(QDir::toNativeSeparators(userFolder + u'/'));
}

// A rewrite that never finished leaves its temporary file beside the diary;
// the diary itself was never touched by it. Only the user's own goes.
void RemoveLeftoverTemp(const RecordFile& file)
{
    SafeFile::RemoveOwn(QFileInfo(file.Path()).dir().filePath(RecordFileRewriter::TempFileName()));
}

} // namespace

DiaryStore::DiaryStore(DiaryView& view, Prompter& prompter, const Clock& clock, AppSettings& app,
                       std::function<void()> endProgram)
    : view_(view), prompter_(prompter), clock_(clock), app_(app), endProgram_(std::move(endProgram)),
      watch_(new DiaryWatch(this)), drafts_([this] { return ShownDraft(); })
{
    connect(watch_, &DiaryWatch::settled, this, &DiaryStore::WatchSettled);
    connect(&drafts_, &DraftKeeper::keepFailed, this, &DiaryStore::ReportDraftFailed);
}

void DiaryStore::ReportFileError(const FileError& error)
{
    if (IsGateRefusal(error))
        ReportWriteRefused();
    else
        DiaryFiles::ReportFileError(prompter_, error);
}

void DiaryStore::Inform(const QString& text)
{
    prompter_.Message(
        {text, QStringLiteral("ファイルに関する情報"), Prompter::Buttons::Ok, Prompter::Icon::Information, {}});
}

void DiaryStore::SelectDiaryFile(const QString& userFolder)
{
    if (pageCount_ > 0) {
        if (!StorePage() || !CompactDiary())
            return;
    }
    diaryFileName_ = app_.UserDataFile;
    if (!diaryFileName_.isEmpty()) {
        if (!OpenDiary(diaryFileName_))
            return;
        if (diaryFile_.IsSealed())
            SettlePlainBeside();
        if (IsOpen())
            RemoveLeftoverTemp(diaryFile_);
        InitPages();
        pageChanged_ = false;
        OfferConflictCopies();
        KeepMergeBaseSoon();
        return;
    }
    diaryOpen_ = false;
    while (!diaryOpen_) {
        const QString answer = DiaryFiles::AskFileName(prompter_, FirstStartPrompt(userFolder));
        diaryFileName_ = answer;
        app_.UserDataFile = answer;
        if (answer.isEmpty()) {
            prompter_.Message({QStringLiteral("ファイル名を指定しなかったので終了します。"),
                               Prompter::ProgramTitle(),
                               Prompter::Buttons::Ok,
                               Prompter::Icon::None,
                               {}});
            endProgram_();
            return;
        }
        if (!OpenDiary(answer))
            return;
    }
    RemoveLeftoverTemp(diaryFile_);
    InitPages();
    pageChanged_ = false;
    KeepMergeBaseSoon();
}

bool DiaryStore::OpenDiary(const QString& name)
{
    dateIndex_.Forget();
    damagedTold_.clear();
    diaryOpen_ = DiaryFiles::OpenDiaryFile(prompter_, name, true, diaryFile_, &openElsewhere_);
    if (diaryOpen_) {
        NoteFileLeft();
        FollowDiary();
    }
    if (!openElsewhere_)
        return true;
    endProgram_();
    return false;
}

void DiaryStore::InitPages()
{
    pageCount_ = IsOpen() ? diaryFile_.RecordCount() : 0;
    currentPage_ = 1;
    if (pageCount_ >= 1) {
        LoadPage();
        return;
    }
    // The store at the start of AddPage then finds nothing to write.
    PageFields::FieldsToRecord(view_, shownRecord_);
    loadedRecord_ = shownRecord_;
    AddPage();
}

void DiaryStore::LoadPage()
{
    if (!IsOpen())
        return;
    // Text still being converted belongs to the page it was typed on; where
    // that page was not stored first (a deletion), it goes with it.
    view_.FinishComposing();
    DiaryPage record;
    if (const FileError error = PageRecords::ReadRecord(diaryFile_, currentPage_, record)) {
        if (error.code == FileError::DamagedPage)
            ReportDamagedPages();
        else
            ReportFileError(error);
        // The page shows empty, and only what is typed into it is stored: the
        // page shown before, or empty fields, are never written over it.
        ClearFields();
        PageFields::FieldsToRecord(view_, shownRecord_);
        loadedRecord_ = shownRecord_;
        pageAsRead_ = DiaryPage();
        drafts_.Forget();
        ShowPageStatus();
        return;
    }
    shownRecord_ = record;
    pageAsRead_ = record;
    PageFields::RecordToFields(shownRecord_, view_);
    // What is shown, normalised: viewing alone never rewrites a page.
    PageFields::FieldsToRecord(view_, shownRecord_);
    loadedRecord_ = shownRecord_;
    drafts_.Forget();
    ShowPageStatus();
    Q_EMIT pageShown();
}

void DiaryStore::ShowPage(qint32 page)
{
    currentPage_ = page;
    LoadPage();
}

void DiaryStore::ShowLastPage()
{
    ShowPage(pageCount_);
}

void DiaryStore::ShowDay(QDate date)
{
    if (pageCount_ <= 0) {
        prompter_.Message({QStringLiteral("１件も日記がありません。"),
                           Prompter::ProgramTitle(),
                           Prompter::Buttons::Ok,
                           Prompter::Icon::Critical,
                           {}});
        return;
    }
    // What was typed is not dropped for a click: a page that cannot be
    // stored stays, with its edits.
    if (!StorePage())
        return;
    // The scan reads only the date fields and shows the page it stops on, as
    // showing every page up to it in turn would leave the window.
    const std::optional<qint32> found = FindDatePage(date);
    if (!found)
        return;
    ShowPage(*found != 0 ? *found : pageCount_);
    if (currentPage_ > 1)
        pageChanged_ = true;
    if (*found == 0)
        OfferPageFor(date);
}

void DiaryStore::OfferPageFor(QDate date)
{
    const Prompter::Answer answer =
        prompter_.Message({JapaneseLocale::FormatShortDate(date) +
                               QStringLiteral(" の日記はありませんでした。この日の日記をつけますか？"),
                           Prompter::ProgramTitle(),
                           Prompter::Buttons::YesNo,
                           Prompter::Icon::Question,
                           {}});
    if (answer != Prompter::Answer::Yes)
        return;
    const qint32 before = pageCount_;
    AddPage();
    if (pageCount_ == before)
        return;
    // The page was written with the present date and time; the clicked day
    // shows in its fields, and reaches the file when the page is stored.
    view_.SetFieldText(EntryField::Date, JapaneseLocale::FormatDate(date));
    view_.SetFieldText(EntryField::Time, JapaneseLocale::FormatTime(QTime(0, 0)));
    view_.SetFieldText(EntryField::Weekday, JapaneseLocale::FormatWeekday(date));
    // The page is told by the day it is for, not by the day it was made; the
    // calendar stays on the page as it was made.
    view_.SetPageStatus(PageStatusText(pageCount_, currentPage_));
}

bool DiaryStore::FindAndShow(const QString& text, qint32 from, BodySearch::Match match)
{
    if (from > pageCount_ || !IsOpen() || !StorePage())
        return false;
    // The bodies are read from the file; only the page that stays is shown.
    const QString wanted = BodySearch::StoredForm(text);
    const std::optional<qint32> found = FindInBodies(wanted, from, match);
    if (!found)
        return false;
    ShowPage(*found != 0 ? *found : pageCount_);
    if (*found == 0)
        return false;
    SelectInShownBody(wanted, match);
    prompter_.Beep();
    return true;
}

bool DiaryStore::ShowFoundPage(qint32 page, const QString& text, BodySearch::Match match)
{
    if (!IsOpen() || !StorePage() || page < 1 || page > pageCount_)
        return false;
    ShowPage(page);
    return SelectInShownBody(BodySearch::StoredForm(text), match);
}

bool DiaryStore::SelectInShownBody(const QString& wanted, BodySearch::Match match)
{
    const QString body = view_.FieldText(EntryField::Body);
    if (match == BodySearch::Match::Folded) {
        const std::optional<JapaneseFold::Span> hit = JapaneseFold::Find(body, JapaneseFold::Fold(wanted));
        view_.SelectInBody(hit ? int(hit->start) : 0, hit ? int(hit->length) : 0);
        return hit.has_value();
    }
    const int position = int(body.indexOf(wanted));
    view_.SelectInBody(qMax(0, position), int(wanted.size()));
    return position >= 0;
}

void DiaryStore::BackUpBeforeWriting()
{
    const QDate today = clock_.Now().date();
    if (backedUpOn_ == today || !diaryFile_.IsOpen() || diaryFile_.Length() == 0)
        return;
    backedUpOn_ = today;
    const QString folder = BackupFolder();
    if (const FileError error =
            DiaryBackup::Take(diaryFile_.Path(), folder, today, {app_.BackupDaily, app_.BackupWeekly}))
        BackupMessages::ReportFailure(prompter_, error, folder);
}

QString DiaryStore::BackupFolder() const
{
    return app_.BackupFolder.isEmpty() ? DiaryBackup::DefaultFolder() : app_.BackupFolder;
}

bool DiaryStore::RestoreBackup(const QString& copyPath)
{
    if (!IsOpen() || !StorePage())
        return false;
    if (const FileError error = DiaryBackup::KeepCurrent(diaryFile_.Path(), BackupFolder(), clock_.Now())) {
        BackupMessages::ReportRestoreRefused(prompter_, error, BackupFolder());
        return false;
    }
    if (!PassWriteGate())
        return Settle(GateRefusal());
    dateIndex_.Forget();
    damagedTold_.clear();
    if (!Settle(DiaryBackup::Replace(diaryFile_, copyPath)))
        return false;
    NoteFileLeft();
    FollowDiary();
    Q_EMIT pagesChanged();
    // A copy of a diary that held no page starts one, as an empty diary does.
    InitPages();
    ShowLastPage();
    return true;
}

bool DiaryStore::WriteCurrentRecord(qint32 page)
{
    if (!PassWriteGate()) {
        ReportFileError(GateRefusal());
        return false;
    }
    const FileError error = PageRecords::WriteRecord(diaryFile_, page, shownRecord_);
    // Our own write, whole or not, is how we left the file.
    NoteFileLeft();
    if (error) {
        // Which date a half-written page holds is read again when asked.
        dateIndex_.Forget();
        ReportFileError(error);
        return false;
    }
    dateIndex_.PageWritten(page, shownRecord_.ToBytes());
    // The page as stored is what the file holds of it now: a later change of
    // the file is measured against it, and storing it again writes nothing.
    loadedRecord_ = shownRecord_;
    pageAsRead_ = shownRecord_;
    drafts_.Forget();
    Q_EMIT pageStored();
    return true;
}

FileError DiaryStore::RewriteDiary(qint32 keep, qint32 drop, const QByteArray& appended)
{
    if (!PassWriteGate())
        return GateRefusal();
    const FileError error = RecordFileRewriter::Rewrite(diaryFile_, keep, drop, appended);
    NoteFileLeft();
    FollowDiary();
    // A failed rewrite may still have put its file in place.
    if (error)
        dateIndex_.Forget();
    else
        dateIndex_.Rewritten(keep, drop, appended);
    return error;
}

bool DiaryStore::StorePage()
{
    view_.FinishComposing();
    // Without a page shown (a diary whose first page could not be written)
    // there is nowhere to store to.
    if (!IsOpen() || currentPage_ < 1)
        return true;
    PageFields::FieldsToRecord(view_, shownRecord_);
    if (shownRecord_ == loadedRecord_) {
        drafts_.Forget();
        return true;
    }
    // Edits for a diary that changed under us go into the new version.
    if (!FileAsLeft())
        return TakeInChange(true);
    // The views beside the page read dates and the other pages: a page
    // stored under its old date changes nothing they show.
    const bool redated = shownRecord_.Text(DiaryPage::PageDate) != loadedRecord_.Text(DiaryPage::PageDate);
    if (!WriteCurrentRecord(currentPage_))
        return false;
    if (redated)
        Q_EMIT pagesChanged();
    return true;
}

void DiaryStore::AddPage()
{
    if (!IsOpen() || !StorePage())
        return;
    const QDateTime now = clock_.Now();
    ClearFields();
    view_.SetFieldText(EntryField::Date, JapaneseLocale::FormatDate(now.date()));
    view_.SetFieldText(EntryField::Time, JapaneseLocale::FormatTime(now.time()));
    view_.SetFieldText(EntryField::Weekday, JapaneseLocale::FormatWeekday(now.date()));
    view_.SetFieldText(EntryField::Signature, app_.UserName);
    PageFields::FieldsToRecord(view_, shownRecord_);
    if (!WriteCurrentRecord(pageCount_ + 1)) {
        // The page shown before was stored: show it again as it is on disk.
        if (pageCount_ >= 1) {
            LoadPage();
            return;
        }
        // An empty diary has none to show. Empty fields with nothing pending,
        // so that the next try is a plain add again.
        ClearFields();
        PageFields::FieldsToRecord(view_, shownRecord_);
        loadedRecord_ = shownRecord_;
        return;
    }
    ++pageCount_;
    currentPage_ = pageCount_;
    Q_EMIT pagesChanged();
    LoadPage();
}

void DiaryStore::ClearFields()
{
    for (int index = 0; index < EntryFieldCount; ++index)
        view_.SetFieldText(EntryField(index), QString());
}

void DiaryStore::DeletePage()
{
    // The question names the page shown: it is asked about the diary as it is.
    if (!IsOpen() || !TakeInIfChanged())
        return;
    const Prompter::Answer answer = prompter_.Message(
        {QStringLiteral("現在表示している日付のページが削除されます。\r削除すると二度と復元できなくなります。\r"
                        "このページを削除しますか？"),
         QStringLiteral("ページ削除の問い合わせ"), Prompter::Buttons::YesNo, Prompter::Icon::Exclamation,
         Prompter::Answer::No});
    if (answer != Prompter::Answer::Yes) {
        prompter_.Beep();
        return;
    }
    if (pageCount_ == 1) {
        DeleteTheOnlyPage();
        return;
    }
    // One rewrite that leaves the page out: later pages move down by one and
    // no page is ever half moved.
    const FileError error = RewriteDiary(pageCount_, currentPage_);
    if (error && SafeFile::FolderRefused(error)) {
        ReportDeletionRefused();
        return;
    }
    if (!Settle(error))
        return;
    --pageCount_;
    Q_EMIT pagesChanged();
    if (currentPage_ > pageCount_)
        currentPage_ = pageCount_;
    LoadPage();
}

void DiaryStore::DeleteTheOnlyPage()
{
    const Prompter::Answer answer = prompter_.Message(
        {QStringLiteral("削除しようとしているページは日記ファイルの最後のページです。\r"
                        "最後のページを削除した場合は、日記ファイル自体が削除され、\r同時に日記帳も終了します。\r"),
         QStringLiteral("ファイル削除"),
         Prompter::Buttons::YesNo,
         Prompter::Icon::Information,
         {}});
    if (answer != Prompter::Answer::Yes)
        return;
    // The file goes with its last page: the day's copy keeps it.
    if (!PassWriteGate()) {
        ReportFileError(GateRefusal());
        return;
    }
    // A folder that keeps its files still lets the page go: the file is left
    // holding no page at all. Where neither can be done the page stays, and
    // so does the diary.
    if (!QFile::remove(diaryFile_.Path()))
        if (const FileError error = EmptyDiaryFile()) {
            ReportFileError(error);
            return;
        }
    app_.UserDataFile.clear();
    DropDraft();
    dateIndex_.Forget();
    diaryFile_.Close();
    diaryOpen_ = false;
    view_.CloseMainWindow();
}

FileError DiaryStore::EmptyDiaryFile()
{
    if (const FileError error = diaryFile_.Truncate(0))
        return error;
    return diaryFile_.Flush();
}

void DiaryStore::PreviousPage()
{
    if (!StorePage())
        return;
    if (currentPage_ == 1)
        Inform(QStringLiteral("1 より小さいページはありません。"));
    else
        --currentPage_;
    LoadPage();
}

void DiaryStore::NextPage()
{
    if (!StorePage())
        return;
    if (currentPage_ == pageCount_)
        Inform(Str(pageCount_) + QStringLiteral("より大きいページはありません。"));
    else
        ++currentPage_;
    LoadPage();
    pageChanged_ = false;
}

bool DiaryStore::CompactDiary()
{
    if (!IsOpen())
        return true;
    if (!TakeInIfChanged())
        return false;
    // A file that already holds exactly its pages would be rewritten unchanged;
    // a temporary file an interrupted rewrite left beside it goes.
    if (diaryFile_.Length() == diaryFile_.LengthOf(pageCount_)) {
        RemoveLeftoverTemp(diaryFile_);
        return true;
    }
    return Settle(RewriteDiary(pageCount_));
}

bool DiaryStore::AppendPages(const QByteArray& records)
{
    if (!IsOpen() || !StorePage() || !Settle(RewriteDiary(pageCount_, 0, records)))
        return false;
    pageCount_ += qint32(records.size() / RecordLength);
    Q_EMIT pagesChanged();
    ShowLastPage();
    return true;
}

// Where the diary's folder takes no new file, only the last page can go: it
// is cut off in place. Any other would have to move the pages after it
// within the diary itself, which a crash could leave half moved.
void DiaryStore::ReportDeletionRefused()
{
    prompter_.Message({QStringLiteral("日記ファイルのあるフォルダに書き込めないため、このページは削除できません。\r"
                                      "ページはそのまま残っています。\r") +
                           QFileInfo(diaryFile_.Path()).absolutePath(),
                       DiaryFiles::Title(),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
}

bool DiaryStore::Settle(const FileError& error)
{
    if (!error)
        return true;
    if (!diaryFile_.IsOpen())
        diaryOpen_ = false;
    ReportFileError(error);
    FollowPageCount();
    return false;
}

// A rewrite can fail after its new file took the diary's place (the folder
// would not flush): the pages are then the new file's. Writing on by the old
// count would put the shown page over another one.
void DiaryStore::FollowPageCount()
{
    if (!IsOpen() || diaryFile_.RecordCount() == pageCount_)
        return;
    pageCount_ = diaryFile_.RecordCount();
    currentPage_ = std::clamp(currentPage_, qint32(1), std::max(pageCount_, qint32(1)));
    Q_EMIT pagesChanged();
    if (pageCount_ >= 1)
        LoadPage();
}

QString DiaryStore::PageStatusText(qint32 pageCount, qint32 currentPage)
{
    return QStringLiteral("全データ数：") + Str(pageCount) + QStringLiteral("ページ") + QStringLiteral("  （現在：") +
           Str(currentPage) + QStringLiteral(" ページ目を参照中）");
}

void DiaryStore::ShowPageStatus()
{
    view_.SetPageStatus(PageStatusText(pageCount_, currentPage_));
    view_.SetSlider(pageCount_, currentPage_);
    view_.SetCalendarDate(JapaneseLocale::ParseDate(view_.FieldText(EntryField::Date)));
}

void DiaryStore::CloseDiary()
{
    if (pageChanged_ && !StorePage())
        return;
    if (!CompactDiary())
        return;
    view_.CloseMainWindow();
}

void DiaryStore::Release()
{
    if (IsOpen()) {
        SaveMergeBase();
        KeepDateIndex();
    }
    watch_->Follow({});
    dateIndex_.Forget();
    diaryFile_.Close();
    diaryOpen_ = false;
}

bool DiaryStore::DateIndexReady()
{
    // The index holds the file as this program left it; a file in any other
    // state (changed behind its back and not yet taken in) is read as it is.
    const std::optional<FileIdentity> now = FileIdentity::OfPath(diaryFile_.Path());
    const bool asLeft = leftAs_ && now == leftAs_;
    if (dateIndex_.Holds(pageCount_) && asLeft)
        return true;
    // An encrypted diary would decrypt every page for its dates: the index
    // kept sealed at the last close stands in while the file is as left.
    if (asLeft && diaryFile_.IsSealed() &&
        DateIndexFile::Load(diaryFile_.Path(), *now, *diaryFile_.Seal(), dateIndex_) && dateIndex_.Holds(pageCount_)) {
        indexKeptAs_ = now;
        return true;
    }
    if (const FileError error = dateIndex_.Build(diaryFile_, pageCount_)) {
        ReportFileError(error);
        return false;
    }
    ReportDamagedPages();
    KeepDateIndex();
    return true;
}

void DiaryStore::KeepDateIndex()
{
    if (!diaryFile_.IsSealed() || !dateIndex_.Holds(pageCount_))
        return;
    const std::optional<FileIdentity> now = FileIdentity::OfOpen(diaryFile_);
    // Kept only for the file as this program left it, and once for it. One
    // that is not kept only costs the next start the time to build it.
    if (!now || now != leftAs_ || now == indexKeptAs_)
        return;
    if (!DateIndexFile::Save(diaryFile_.Path(), dateIndex_, *now, *diaryFile_.Seal()))
        indexKeptAs_ = now;
}

void DiaryStore::ReportDamagedPages()
{
    QStringList pages;
    for (const qint32 page : diaryFile_.DamagedRecords())
        if (!damagedTold_.contains(page)) {
            damagedTold_ << page;
            pages << QString::number(page);
        }
    if (pages.isEmpty())
        return;
    prompter_.Message({QStringLiteral("次のページは壊れているため読めません。\r%1\r"
                                      "ほかのページはそのまま読めます。バックアップから復元できます。")
                           .arg(pages.join(QStringLiteral("、"))),
                       DiaryFiles::Title(),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
}

std::optional<qint32> DiaryStore::FindDatePage(QDate date)
{
    if (!IsOpen() || !date.isValid())
        return 0;
    if (!DateIndexReady())
        return std::nullopt;
    return dateIndex_.FirstPageOf(date);
}

std::optional<qint32> DiaryStore::FindInBodies(const QString& text, qint32 from, BodySearch::Match match)
{
    if (!IsOpen())
        return 0;
    qint32 found = 0;
    if (const FileError error = BodySearch::Find(diaryFile_, text, from, pageCount_, found, match)) {
        ReportFileError(error);
        return std::nullopt;
    }
    return found;
}

std::optional<std::vector<SameDayPage>> DiaryStore::SameDayPages(QDate date)
{
    std::vector<SameDayPage> pages;
    if (!IsOpen())
        return pages;
    if (!DateIndexReady())
        return std::nullopt;
    pages = dateIndex_.SameDayAs(date);
    if (const FileError error = SameDayReader::Read(diaryFile_, pages)) {
        ReportFileError(error);
        return std::nullopt;
    }
    return pages;
}

QDate DiaryStore::ShownDate() const
{
    return JapaneseLocale::ParseDate(PageFields::TrimSpaces(shownRecord_.Text(DiaryPage::PageDate)));
}

void DiaryStore::StepToPage(qint32 page)
{
    if (!IsOpen() || !StorePage() || page < 1 || page > pageCount_)
        return;
    currentPage_ = page;
    LoadPage();
    pageChanged_ = false;
}

std::optional<QList<int>> DiaryStore::PageDaysOf(int year, int month)
{
    if (!IsOpen())
        return QList<int>();
    if (!DateIndexReady())
        return std::nullopt;
    return dateIndex_.DaysOf(year, month);
}
