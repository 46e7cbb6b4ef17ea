#include "core/diary/DiaryStore.h"

#include "core/diary/BodySearch.h"
#include "core/diary/DateField.h"
#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryView.h"
#include "core/diary/PageFields.h"
#include "core/diary/PageRecords.h"
#include "core/platform/Clock.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/Prompter.h"
#include "core/platform/RecordFileRewriter.h"
#include "core/settings/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Numbers in the program's messages carry one leading space.
QString Str(qint32 number)
{
    return number < 0 ? QString::number(number) : u' ' + QString::number(number);
}

const QString FirstStartPrompt =
    QStringLiteral("ファイル名を１２０文字以内で決めて下さい。\r"
                   "以後このファイル名で日記の内容はデータベースとして\r"
                   "構築されていきます。\r"
                   "\r"
                   "■ヒント！\r"
                   "以前の日記帳Sorafumiのファイルを引き継ぐことができます。\r"
                   "以前のファイル名をを入力してください。\r"
                   "標準では　C:\\Program Files\\日記帳Sorafumi\\　にあるあなたが設定したファイル名です。");

// A rewrite that never finished leaves its temporary file beside the diary;
// the diary itself was never touched by it.
void RemoveLeftoverTemp(const RecordFile& file)
{
    QFile::remove(QFileInfo(file.Path()).dir().filePath(RecordFileRewriter::TempFileName()));
}

} // namespace

DiaryStore::DiaryStore(DiaryView& view, Prompter& prompter, const Clock& clock, AppSettings& app,
                       std::function<void()> endProgram)
    : view_(view), prompter_(prompter), clock_(clock), app_(app), endProgram_(std::move(endProgram))
{
}

void DiaryStore::ReportFileError(const FileError& error)
{
    DiaryFiles::ReportFileError(prompter_, error);
}

void DiaryStore::Inform(const QString& text)
{
    prompter_.Message(
        {text, QStringLiteral("ファイルに関する情報"), Prompter::Buttons::Ok, Prompter::Icon::Information, {}});
}

void DiaryStore::SelectDiaryFile()
{
    if (state_.PageCount > 0) {
        if (!StorePage() || !CompactDiary())
            return;
    }
    state_.DiaryFileName = app_.UserDataFile;
    if (!state_.DiaryFileName.isEmpty()) {
        if (!OpenDiary(state_.DiaryFileName))
            return;
        if (IsOpen())
            RemoveLeftoverTemp(state_.DiaryFile);
        InitPages();
        state_.PageChanged = false;
        return;
    }
    state_.DiaryFileNumber = 0;
    while (state_.DiaryFileNumber == 0) {
        const QString answer = DiaryFiles::AskFileName(prompter_, FirstStartPrompt);
        state_.DiaryFileName = answer;
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
    RemoveLeftoverTemp(state_.DiaryFile);
    InitPages();
    state_.PageChanged = false;
}

bool DiaryStore::OpenDiary(const QString& name)
{
    state_.DiaryFileNumber = DiaryFiles::OpenFileChecked(prompter_, name, DiaryFiles::Random, RecordLength, true,
                                                         state_.DiaryFile, &openElsewhere_);
    if (!openElsewhere_)
        return true;
    endProgram_();
    return false;
}

void DiaryStore::InitPages()
{
    state_.PageCount = IsOpen() ? state_.DiaryFile.RecordCount() : 0;
    state_.CurrentPage = 1;
    if (state_.PageCount >= 1) {
        LoadPage();
        return;
    }
    // The store at the start of AddPage then finds nothing to write.
    PageFields::FieldsToRecord(view_, state_.CurrentRecord);
    state_.SavedRecord = state_.CurrentRecord;
    AddPage();
}

void DiaryStore::LoadPage()
{
    if (!IsOpen())
        return;
    DiaryPage record;
    if (const FileError error = PageRecords::ReadRecord(state_.DiaryFile, state_.CurrentPage, record)) {
        ReportFileError(error);
        return;
    }
    state_.CurrentRecord = record;
    PageFields::RecordToFields(state_.CurrentRecord, view_);
    // What is shown, normalised: viewing alone never rewrites a page.
    PageFields::FieldsToRecord(view_, state_.CurrentRecord);
    state_.SavedRecord = state_.CurrentRecord;
    ShowPageStatus();
}

bool DiaryStore::WriteCurrentRecord(qint32 page)
{
    if (const FileError error = PageRecords::WriteRecord(state_.DiaryFile, page, state_.CurrentRecord)) {
        ReportFileError(error);
        return false;
    }
    return true;
}

bool DiaryStore::StorePage()
{
    // Without a page shown (a diary whose first page could not be written)
    // there is nowhere to store to.
    if (!IsOpen() || state_.CurrentPage < 1)
        return true;
    PageFields::FieldsToRecord(view_, state_.CurrentRecord);
    if (state_.CurrentRecord == state_.SavedRecord)
        return true;
    return WriteCurrentRecord(state_.CurrentPage);
}

void DiaryStore::AddPage()
{
    if (!IsOpen() || !StorePage())
        return;
    const QDateTime now = clock_.Now();
    for (int index = 0; index < DiaryView::EntryFieldCount; ++index)
        view_.SetFieldText(index, QString());
    view_.SetFieldText(0, JapaneseLocale::FormatDate(now.date()));
    view_.SetFieldText(1, JapaneseLocale::FormatTime(now.time()));
    view_.SetFieldText(2, JapaneseLocale::FormatWeekday(now.date()));
    view_.SetFieldText(5, app_.UserName);
    PageFields::FieldsToRecord(view_, state_.CurrentRecord);
    if (!WriteCurrentRecord(state_.PageCount + 1)) {
        // The page shown before was stored: show it again as it is on disk.
        if (state_.PageCount >= 1) {
            LoadPage();
            return;
        }
        // An empty diary has none to show. Empty fields with nothing pending,
        // so that the next try is a plain add again.
        for (int index = 0; index < DiaryView::EntryFieldCount; ++index)
            view_.SetFieldText(index, QString());
        PageFields::FieldsToRecord(view_, state_.CurrentRecord);
        state_.SavedRecord = state_.CurrentRecord;
        return;
    }
    ++state_.PageCount;
    state_.CurrentPage = state_.PageCount;
    LoadPage();
}

void DiaryStore::DeletePage()
{
    if (!IsOpen())
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
    if (state_.PageCount == 1) {
        DeleteTheOnlyPage();
        return;
    }
    // One rewrite that leaves the page out: later pages move down by one and
    // no page is ever half moved.
    const FileError error = RecordFileRewriter::Rewrite(state_.DiaryFile, state_.PageCount, state_.CurrentPage);
    if (error && RecordFileRewriter::FolderRefused(error)) {
        ReportDeletionRefused();
        return;
    }
    if (!Settle(error))
        return;
    --state_.PageCount;
    if (state_.CurrentPage > state_.PageCount)
        state_.CurrentPage = state_.PageCount;
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
    app_.UserDataFile.clear();
    // A folder that keeps its files still lets the page go: the file is left
    // holding no page at all.
    if (!QFile::remove(state_.DiaryFile.Path()) && !state_.DiaryFile.Truncate(0))
        state_.DiaryFile.Flush();
    state_.DiaryFile.Close();
    state_.DiaryFileNumber = 0;
    view_.CloseMainWindow();
}

void DiaryStore::PreviousPage()
{
    if (!StorePage())
        return;
    if (state_.CurrentPage == 1)
        Inform(QStringLiteral("1 より小さいページはありません。"));
    else
        --state_.CurrentPage;
    LoadPage();
}

void DiaryStore::NextPage()
{
    if (!StorePage())
        return;
    if (state_.CurrentPage == state_.PageCount)
        Inform(Str(state_.PageCount) + QStringLiteral("より大きいページはありません。"));
    else
        ++state_.CurrentPage;
    LoadPage();
    state_.PageChanged = false;
}

bool DiaryStore::CompactDiary()
{
    if (!IsOpen())
        return true;
    // A file that already holds exactly its pages would be rewritten unchanged;
    // a temporary file an interrupted rewrite left beside it goes.
    if (state_.DiaryFile.Length() == qint64(state_.PageCount) * RecordLength) {
        RemoveLeftoverTemp(state_.DiaryFile);
        return true;
    }
    return Settle(RecordFileRewriter::Rewrite(state_.DiaryFile, state_.PageCount));
}

// Where the diary's folder takes no new file, only the last page can go: it
// is cut off in place. Any other would have to move the pages after it
// within the diary itself, which a crash could leave half moved.
void DiaryStore::ReportDeletionRefused()
{
    prompter_.Message({QStringLiteral("日記ファイルのあるフォルダに書き込めないため、このページは削除できません。\r"
                                      "ページはそのまま残っています。\r") +
                           QFileInfo(state_.DiaryFile.Path()).absolutePath(),
                       DiaryFiles::Title(),
                       Prompter::Buttons::Ok,
                       Prompter::Icon::Exclamation,
                       {}});
}

bool DiaryStore::Settle(const FileError& error)
{
    if (!error)
        return true;
    if (!state_.DiaryFile.IsOpen())
        state_.DiaryFileNumber = 0;
    ReportFileError(error);
    return false;
}

QString DiaryStore::PageStatusText(qint32 pageCount, qint32 currentPage)
{
    return QStringLiteral("全データ数：") + Str(pageCount) + QStringLiteral("ページ") + QStringLiteral("  （現在：") +
           Str(currentPage) + QStringLiteral(" ページ目を参照中）");
}

void DiaryStore::ShowPageStatus()
{
    view_.SetPageStatus(PageStatusText(state_.PageCount, state_.CurrentPage));
    view_.SetSlider(state_.PageCount, state_.CurrentPage);
    view_.SetCalendarDate(JapaneseLocale::ParseDate(view_.FieldText(0)));
}

void DiaryStore::CloseDiary()
{
    if (state_.PageChanged && !StorePage())
        return;
    if (!CompactDiary())
        return;
    view_.CloseMainWindow();
}

void DiaryStore::Release()
{
    state_.DiaryFile.Close();
    state_.DiaryFileNumber = 0;
}

std::optional<qint32> DiaryStore::FindDatePage(QDate date)
{
    if (!IsOpen() || !date.isValid())
        return 0;
    const DiaryPage::Layout& field = DiaryPage::Fields[DiaryPage::PageDate];
    QByteArray bytes;
    for (qint32 page = 1; page <= state_.PageCount; ++page) {
        if (const FileError error = state_.DiaryFile.ReadPart(page, field.offset, field.length, bytes)) {
            ReportFileError(error);
            return std::nullopt;
        }
        if (DateField::FromBytes(bytes.constData(), int(bytes.size())) == date)
            return page;
    }
    return 0;
}

std::optional<qint32> DiaryStore::FindInBodies(const QString& text, qint32 from)
{
    if (!IsOpen())
        return 0;
    qint32 found = 0;
    if (const FileError error = BodySearch::Find(state_.DiaryFile, text, from, state_.PageCount, found)) {
        ReportFileError(error);
        return std::nullopt;
    }
    return found;
}
