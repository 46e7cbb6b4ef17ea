// The diary's everyday paths on diaries of ten and a hundred years, timed
// against one plain read of the whole file.

#include "BenchDiaries.h"
#include "BenchProgram.h"
#include "DiaryGenerator.h"
#include "core/backup/DiaryBackup.h"
#include "core/crypt/EncryptedRecordFile.h"
#include "core/crypt/KeySlot.h"
#include "core/crypt/PageSeal.h"
#include "core/diary/DateIndex.h"
#include "core/diary/DateIndexFile.h"
#include "core/diary/DiaryStore.h"
#include "core/diary/PageRecords.h"
#include "core/drafts/DraftFile.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/Money.h"
#include "core/platform/PageJournal.h"
#include "core/platform/RecordFile.h"
#include "core/search/BodySearch.h"
#include "core/stats/CharacterCount.h"
#include "core/stats/DiaryTotals.h"
#include "core/sync/FileIdentity.h"
#include "core/sync/MergeBase.h"
#include "core/sync/PageMerge.h"
#include "core/transfer/DiaryExport.h"
#include "ui/dialogs/SameDayWindow.h"
#include "ui/dialogs/SearchWindow.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int RecordLength = DiaryPage::RecordLength;

void Fail(benchmark::State& state, const QString& why)
{
    state.SkipWithError(why.toUtf8().constData());
}

QString DateText(qint32 page)
{
    return JapaneseLocale::FormatDate(DiaryGenerator::DateOf(page));
}

struct FileId
{
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = -1;
};

FileId Identify(const QString& path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {info.st_dev, info.st_ino, qint64(info.st_size)};
}

QByteArray ReadPage(const QString& path, qint32 page)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(qint64(page - 1) * RecordLength))
        return {};
    return file.read(RecordLength);
}

// The program started on a diary and showing its last page. The window goes
// before the program it belongs to.
struct Running
{
    std::unique_ptr<BenchProgram> program;
    std::unique_ptr<MainWindow> form;

    DiaryStore& Store() { return form->Store(); }
};

bool StartOn(benchmark::State& state, const QString& path, Running& running)
{
    running.program = std::make_unique<BenchProgram>(path);
    if (!running.program->IsValid()) {
        Fail(state, QStringLiteral("no temporary profile"));
        return false;
    }
    running.form = running.program->Start();
    if (!running.form || running.program->prompter.messages != 0) {
        Fail(state, QStringLiteral("the program did not start quietly: ") + running.program->prompter.lastText);
        return false;
    }
    return true;
}

QString Diary(benchmark::State& state, qint32 pages, bool copy)
{
    QString error;
    const QString path =
        copy ? BenchDiaries::Instance().FreshCopy(pages, error) : BenchDiaries::Instance().Pristine(pages, error);
    if (path.isEmpty())
        Fail(state, QStringLiteral("no diary: ") + error);
    return path;
}

void BM_OpenDiary(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString path = Diary(state, pages, false);
    if (path.isEmpty())
        return;
    BenchProgram program(path);
    program.context.app.ReadOwnerAndColours(program.settings);
    const QString last = DateText(pages);
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<MainWindow>(program.context);
        state.ResumeTiming();

        const bool loaded = LoadMainWindow(program.context, *form);

        state.PauseTiming();
        const bool right = loaded && form->Store().PageCount() == pages && form->Store().CurrentPage() == pages &&
                           form->FieldText(EntryField::Date) == last;
        form.reset();
        state.ResumeTiming();
        if (!right) {
            Fail(state, QStringLiteral("the last page was not shown"));
            break;
        }
    }
    if (program.prompter.messages != 0)
        Fail(state, QStringLiteral("a box was shown: ") + program.prompter.lastText);
}

// A click on a day no page holds, answered No: the whole diary is looked
// through and the last page stays shown.
void BM_FindDate(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString path = Diary(state, pages, false);
    Running running;
    if (path.isEmpty() || !StartOn(state, path, running))
        return;
    BenchPrompter& prompter = running.program->prompter;
    prompter.yesNo = Prompter::Answer::No;
    const QDate missing = DiaryGenerator::MissingDate();
    for (auto _ : state)
        running.Store().ShowDay(missing);

    if (prompter.messages != int(state.iterations()) ||
        !prompter.lastText.contains(QStringLiteral("の日記はありませんでした")))
        Fail(state, QStringLiteral("unexpected boxes: ") + prompter.lastText);
    else if (running.Store().CurrentPage() != pages || running.Store().PageCount() != pages ||
             running.form->FieldText(EntryField::Date) != DateText(pages))
        Fail(state, QStringLiteral("the last page is not shown"));
}

// The same look-up the plain way: every page loaded into the window in turn
// and its date field read.
void BM_FindDateByLoading(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString path = Diary(state, pages, false);
    Running running;
    if (path.isEmpty() || !StartOn(state, path, running))
        return;
    const QDate missing = DiaryGenerator::MissingDate();
    qint32 found = 0;
    for (auto _ : state) {
        DiaryStore& store = running.Store();
        found = 0;
        for (qint32 page = 1; page <= store.PageCount(); ++page) {
            store.ShowPage(page);
            if (JapaneseLocale::ParseDate(running.form->FieldText(EntryField::Date)) == missing) {
                found = page;
                break;
            }
        }
        benchmark::DoNotOptimize(found);
    }
    if (found != 0 || running.Store().CurrentPage() != pages ||
        running.form->FieldText(EntryField::Date) != DateText(pages))
        Fail(state, QStringLiteral("the scan did not end on the last page"));
}

// The search window, from the first page, for a text no body holds; with
// あいまい検索 ticked or not.
void SearchForAbsentText(benchmark::State& state, bool fuzzy)
{
    const auto pages = qint32(state.range(0));
    const QString path = Diary(state, pages, false);
    Running running;
    if (path.isEmpty() || !StartOn(state, path, running))
        return;
    running.form->Commands().ShowSearchWindow();
    SearchWindow* window = running.form->Commands().OpenSearchWindow();
    auto* text = window ? window->findChild<QComboBox*>(QStringLiteral("cmb")) : nullptr;
    auto* folded = window ? window->findChild<QCheckBox*>(QStringLiteral("chkFuzzySearch")) : nullptr;
    if (!text || !folded) {
        Fail(state, QStringLiteral("no search window"));
        return;
    }
    folded->setChecked(fuzzy);
    text->setEditText(DiaryGenerator::AbsentText());
    for (auto _ : state)
        window->Search();
    BenchPrompter& prompter = running.program->prompter;
    if (prompter.beeps != 0 || prompter.messages != 0 || running.Store().CurrentPage() != pages ||
        text->currentText() != DiaryGenerator::AbsentText())
        Fail(state, QStringLiteral("the search found something or did not end on the last page"));
}

// The window of the same day in other years listing them for the last page:
// one pass over the date fields, then the shown fields of one page a year.
void BM_SameDay(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString path = Diary(state, pages, false);
    Running running;
    if (path.isEmpty() || !StartOn(state, path, running))
        return;
    running.form->Commands().ShowSameDayWindow();
    SameDayWindow* window = running.form->Commands().OpenSameDayWindow();
    auto* list = window ? window->findChild<QTreeWidget*>(QStringLiteral("lstSameDay")) : nullptr;
    if (!list) {
        Fail(state, QStringLiteral("no window of the same day"));
        return;
    }
    for (auto _ : state)
        window->Refresh();
    const QDate last = DiaryGenerator::DateOf(pages);
    int expected = 0;
    for (qint32 page = 1; page <= pages; ++page)
        expected += SameDayReader::IsSameDay(DiaryGenerator::DateOf(page), last) ? 1 : 0;
    state.counters["rows"] = list->topLevelItemCount();
    if (running.program->prompter.messages != 0 || list->topLevelItemCount() != expected || expected == 0)
        Fail(state, QStringLiteral("the list does not hold the other years' pages"));
}

// The calendar turned to another month, and its marks read for it from the
// date index and set. Every day of a generated diary has a page. The
// calendar's own painting, the same for any diary, is left out: only the
// queued refresh of the marks runs in the loop.
void BM_MonthMarks(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString path = Diary(state, pages, false);
    Running running;
    if (path.isEmpty() || !StartOn(state, path, running))
        return;
    auto* calendar = running.form->findChild<QCalendarWidget*>(QStringLiteral("Calendar"));
    const QDate last = DiaryGenerator::DateOf(pages);
    const QDate before = last.addMonths(-1);
    QCoreApplication::sendPostedEvents();
    bool back = true;
    for (auto _ : state) {
        const QDate month = back ? before : last;
        calendar->setCurrentPage(month.year(), month.month());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        back = !back;
    }
    const QDate shown(calendar->yearShown(), calendar->monthShown(), 1);
    const QDate marked = shown.month() == last.month() ? last : shown.addDays(shown.daysInMonth() - 1);
    if (running.program->prompter.messages != 0)
        Fail(state, QStringLiteral("a box was shown: ") + running.program->prompter.lastText);
    else if (!calendar->dateTextFormat(marked).fontUnderline())
        Fail(state, QStringLiteral("the month's days are not marked"));
}

void BM_Search(benchmark::State& state)
{
    SearchForAbsentText(state, false);
}

void BM_FuzzySearch(benchmark::State& state)
{
    SearchForAbsentText(state, true);
}

// A fresh copy of the diary with the absent text written at the start of the
// body of 1 % of its pages: the 50th of every hundred, so the newest lies in
// the last year. Empty, with the benchmark failed, when it could not be made.
QString DiaryWithRareWord(benchmark::State& state, qint32 pages)
{
    const QString path = Diary(state, pages, true);
    RecordFile diary;
    if (path.isEmpty() || diary.Open(path, RecordLength)) {
        Fail(state, QStringLiteral("no copy to write the word into"));
        return {};
    }
    for (qint32 page = 50; page <= pages; page += 100) {
        DiaryPage record = DiaryPage::FromBytes(DiaryGenerator::Record(page));
        record.Assign(DiaryPage::PageBody, DiaryGenerator::AbsentText() + record.Text(DiaryPage::PageBody));
        if (diary.WriteRecord(page, record.ToBytes())) {
            Fail(state, QStringLiteral("the word could not be written"));
            return {};
        }
    }
    if (diary.Flush()) {
        Fail(state, QStringLiteral("the word could not be flushed"));
        return {};
    }
    return path;
}

// The search window with 一覧表示 ticked and the rare word typed, on a diary
// that holds it on 1 % of the pages.
struct ListingWindow
{
    Running running;
    SearchWindow* window = nullptr;
    QTreeWidget* rows = nullptr;
    QPushButton* stop = nullptr;

    bool Open(benchmark::State& state)
    {
        const QString path = DiaryWithRareWord(state, qint32(state.range(0)));
        if (path.isEmpty() || !StartOn(state, path, running))
            return false;
        running.form->Commands().ShowSearchWindow();
        window = running.form->Commands().OpenSearchWindow();
        auto* text = window ? window->findChild<QComboBox*>(QStringLiteral("cmb")) : nullptr;
        auto* listAll = window ? window->findChild<QCheckBox*>(QStringLiteral("chkListAll")) : nullptr;
        rows = window ? window->findChild<QTreeWidget*>(QStringLiteral("lstHits")) : nullptr;
        stop = window ? window->findChild<QPushButton*>(QStringLiteral("cmdStop")) : nullptr;
        if (!text || !listAll || !rows || !stop) {
            Fail(state, QStringLiteral("no list in the search window"));
            return false;
        }
        listAll->setChecked(true);
        text->setEditText(DiaryGenerator::AbsentText());
        return true;
    }
};

// Every page holding the word listed, from pressing 検索 until the list is whole.
void BM_SearchAll(benchmark::State& state)
{
    ListingWindow listing;
    if (!listing.Open(state))
        return;
    for (auto _ : state) {
        listing.window->Search();
        while (listing.stop->isEnabled())
            QCoreApplication::processEvents();
    }
    const int expected = int(state.range(0) + 50) / 100;
    state.counters["rows"] = listing.rows->topLevelItemCount();
    if (listing.rows->topLevelItemCount() != expected || listing.running.program->prompter.messages != 0)
        Fail(state, QStringLiteral("the list does not hold every page with the word"));
}

// From pressing 検索 until the first row shows; the rest of the listing is
// stopped outside the timing.
void BM_SearchAllFirstRow(benchmark::State& state)
{
    ListingWindow listing;
    if (!listing.Open(state))
        return;
    for (auto _ : state) {
        listing.window->Search();
        while (listing.rows->topLevelItemCount() == 0)
            QCoreApplication::processEvents();
        state.PauseTiming();
        listing.stop->click();
        state.ResumeTiming();
    }
    const QTreeWidgetItem* first = listing.rows->topLevelItem(0);
    const qint32 newest = (qint32(state.range(0)) - 50) / 100 * 100 + 50;
    if (!first || first->text(0) != DateText(newest))
        Fail(state, QStringLiteral("the first row is not the newest page with the word"));
}

// The reference for the physical cost: one plain sequential read of the
// whole file into memory that is already mapped.
void BM_ReadWholeFile(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString path = Diary(state, pages, false);
    if (path.isEmpty())
        return;
    const qint64 size = qint64(pages) * RecordLength;
    std::vector<char> memory(size_t(size), 0);
    for (auto _ : state) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        qint64 done = 0;
        while (fd >= 0 && done < size) {
            const ssize_t got = ::read(fd, memory.data() + done, size_t(size - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += got;
        }
        if (fd >= 0)
            ::close(fd);
        benchmark::DoNotOptimize(memory.data());
        benchmark::ClobberMemory();
        if (done != size) {
            Fail(state, QStringLiteral("short read"));
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}

// The untouched diary of `pages` pages, opened; false, with the benchmark
// failed, when there is none.
bool OpenPristine(benchmark::State& state, qint32 pages, RecordFile& diary)
{
    const QString path = Diary(state, pages, false);
    if (!path.isEmpty() && !diary.Open(path, RecordLength))
        return true;
    Fail(state, QStringLiteral("no diary"));
    return false;
}

// The expense figures of the statistics window: the date and expense fields
// of every page, one small read each.
void BM_ExpenseTotals(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    RecordFile diary;
    if (!OpenPristine(state, pages, diary))
        return;
    ExpenseTotals totals;
    for (auto _ : state) {
        if (DiaryTotals::ReadExpenses(diary, pages, totals)) {
            Fail(state, QStringLiteral("the pages could not be read"));
            return;
        }
    }
    qint64 expected = 0;
    QByteArray record;
    for (qint32 page = 1; page <= pages && !diary.ReadRecord(page, record); ++page)
        expected += Money::Parse(DiaryPage::FieldFromBytes(record, DiaryPage::PageExpense)).value_or(0);
    Money::Sum total = 0;
    for (const int year : totals.Years())
        total += totals.YearTotal(year);
    if (total != expected || !totals.unreadable.isEmpty() || totals.undatedPages != 0)
        Fail(state, QStringLiteral("the totals differ from the pages"));
}

// The writing figures: the date field and the body of every page, read in
// runs of pages, the characters counted on the stored bytes.
void BM_WritingTotals(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    RecordFile diary;
    if (!OpenPristine(state, pages, diary))
        return;
    WritingTotals totals;
    for (auto _ : state) {
        if (DiaryTotals::ReadWriting(diary, pages, totals)) {
            Fail(state, QStringLiteral("the pages could not be read"));
            return;
        }
    }
    // Counting the stored bytes gives what counting the decoded text gives.
    qint64 expected = 0;
    QByteArray record;
    for (qint32 page = 1; page <= pages && !diary.ReadRecord(page, record); ++page)
        expected += CharacterCount::OfText(DiaryPage::FieldFromBytes(record, DiaryPage::PageBody));
    qint64 characters = 0;
    for (const auto& months : totals.months)
        for (const MonthWriting& month : months)
            characters += month.characters;
    state.counters["characters"] = double(characters);
    if (characters != expected || totals.days.size() != pages || totals.LongestStreak() != pages)
        Fail(state, QStringLiteral("the figures differ from the pages"));
}

// One page changed and saved as F5 does. A diary that holds exactly its pages
// has nothing to compact: the page is written and flushed, the file stays the
// same file.
void BM_Save(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    QString error;
    const QString path = BenchDiaries::Instance().SharedCopy(pages, error);
    Running running;
    if (path.isEmpty()) {
        Fail(state, QStringLiteral("no diary: ") + error);
        return;
    }
    if (!StartOn(state, path, running))
        return;
    const qint32 page = qMax(1, pages / 2);
    running.Store().ShowPage(page);
    const QString body = running.form->FieldText(EntryField::Body);
    // Every save of the run differs from the page as it was loaded.
    static int saves = 0;
    const auto marker = [] { return QStringLiteral("【%1】").arg(saves, 6, 10, QLatin1Char('0')); };
    const FileId before = Identify(path);
    for (auto _ : state) {
        state.PauseTiming();
        ++saves;
        running.form->SetFieldText(EntryField::Body, marker() + body.mid(marker().size()));
        state.ResumeTiming();

        running.form->Commands().SaveDiary();
    }
    const FileId after = Identify(path);
    const bool sameFile = after.device == before.device && after.inode == before.inode;
    state.counters["rewrites"] = sameFile ? 0 : 1;
    if (running.program->prompter.messages != 0)
        Fail(state, QStringLiteral("a box was shown: ") + running.program->prompter.lastText);
    else if (!sameFile || after.size != before.size)
        Fail(state, QStringLiteral("the save rewrote the whole file"));
    else if (!ReadPage(path, page)
                  .mid(DiaryPage::Fields[DiaryPage::PageBody].offset)
                  .startsWith(Cp932::Encode(marker())))
        Fail(state, QStringLiteral("the change did not reach the file"));
}

// Page 1 deleted (answered Yes) and the new page 1 shown. Each deletion starts
// from a fresh copy of the diary, made while the clock is stopped.
void BM_DeleteFirstPage(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString path = Diary(state, pages, true);
    Running running;
    if (path.isEmpty() || !StartOn(state, path, running))
        return;
    BenchPrompter& prompter = running.program->prompter;
    prompter.yesNo = Prompter::Answer::Yes;
    const QString second = DateText(2);
    QAction* deleteButton = running.form->findChild<QAction*>(QStringLiteral("削除"));
    bool fresh = true;
    for (auto _ : state) {
        state.PauseTiming();
        QString error;
        if (!fresh && BenchDiaries::Instance().FreshCopy(pages, error).isEmpty()) {
            Fail(state, error);
            break;
        }
        fresh = false;
        // Reopened on the copy and showing page 1.
        running.Store().SelectDiaryFile(QDir::currentPath());
        const bool ready = running.Store().PageCount() == pages && running.Store().CurrentPage() == 1;
        const int boxes = prompter.messages;
        state.ResumeTiming();

        deleteButton->trigger();

        state.PauseTiming();
        const bool right = ready && prompter.messages == boxes + 1 && running.Store().PageCount() == pages - 1 &&
                           running.Store().CurrentPage() == 1 && running.form->FieldText(EntryField::Date) == second &&
                           Identify(path).size == qint64(pages - 1) * RecordLength;
        state.ResumeTiming();
        if (!right) {
            Fail(state, QStringLiteral("page 1 was not deleted as expected: ") + prompter.lastText);
            break;
        }
    }
}

// The whole diary written out as text files, one a page, in UTF-8: one read
// of each page and one new file for it, flushed once; the files of one run
// are taken away, untimed, before the next.
void BM_ExportText(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    RecordFile diary;
    if (!OpenPristine(state, pages, diary))
        return;
    QTemporaryDir out;
    qint64 bytes = 0;
    for (auto _ : state) {
        const DiaryExport::Result result = DiaryExport::Run(diary, pages, {{}, {}, {}, {}, out.path()}, {});
        state.PauseTiming();
        if (result.outcome != DiaryExport::Outcome::Written || result.files.size() != pages) {
            Fail(state, QStringLiteral("the export did not write every page"));
            break;
        }
        bytes = 0;
        QDir folder(out.path());
        for (const QFileInfo& file : folder.entryInfoList(QDir::Files))
            bytes += file.size();
        for (const QString& name : result.files)
            folder.remove(name);
        state.ResumeTiming();
    }
    state.counters["bytes"] = double(bytes);
}

// The reference for the export: the same number of new files of the same
// size in all, written plainly and flushed once, with nothing read or encoded.
void BM_WriteTextFiles(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    // The average size of an exported page of the generated diaries.
    const QByteArray text(3127, 'x');
    QTemporaryDir out;
    for (auto _ : state) {
        for (qint32 page = 1; page <= pages; ++page) {
            const QByteArray name = QFile::encodeName(out.filePath(QString::number(page) + QStringLiteral(".txt")));
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            if (fd < 0 || ::write(fd, text.constData(), size_t(text.size())) != text.size()) {
                Fail(state, QStringLiteral("a file could not be written"));
                return;
            }
            ::close(fd);
        }
        const int folder = ::open(QFile::encodeName(out.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::syncfs(folder);
        ::close(folder);
        state.PauseTiming();
        QDir(out.path()).removeRecursively();
        QDir().mkpath(out.path());
        state.ResumeTiming();
    }
}

constexpr int TenYears = 3650;
constexpr int HundredYears = 36500;

// The day's copy of the diary into the backups folder, verified and flushed,
// with the removal of the copy the generations no longer keep; against one
// read of the whole file.
void BM_Backup(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString path = Diary(state, pages, false);
    if (path.isEmpty())
        return;
    QDir folder(QFileInfo(path).dir().filePath(QStringLiteral("bench-backups")));
    folder.removeRecursively();
    QDate day(2026, 12, 7);
    for (auto _ : state) {
        day = day.addDays(1);
        if (const FileError error = DiaryBackup::Take(path, folder.path(), day, {1, 0})) {
            Fail(state, QStringLiteral("no copy: %1").arg(error.systemError));
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * pages * RecordLength);
    folder.removeRecursively();
}

// A version of the diary with `count` pages changed, every `step` pages
// from `first` on.
bool WriteVersion(const QString& pristine, const QString& path, qint32 first, qint32 step, int count)
{
    RecordFile version;
    if (!QFile::copy(pristine, path) || version.Open(path, RecordLength))
        return false;
    for (int change = 0; change < count; ++change) {
        const qint32 page = first + change * step;
        QByteArray record = DiaryGenerator::Record(page);
        record[DiaryPage::Fields[DiaryPage::PageBody].offset] = char('A' + change);
        if (version.WriteRecord(page, record))
            return false;
    }
    return true;
}

// Two versions written apart on two computers, ten pages changed on each,
// merged against the base of the diary they both came from: both versions
// read and hashed, the base decoded, the pages matched. No page is asked
// about.
void BM_Merge(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString pristine = Diary(state, pages, false);
    QTemporaryDir folder(BenchDiaries::Instance().Folder() + QStringLiteral("/merge-XXXXXX"));
    const QString oursPath = folder.filePath(QStringLiteral("ours.DAT"));
    const QString theirsPath = folder.filePath(QStringLiteral("theirs.DAT"));
    const qint32 step = pages / 10;
    RecordFile base, ours, theirs;
    PageDigests baseDigests, oursDigests, theirsDigests;
    if (pristine.isEmpty() || !WriteVersion(pristine, oursPath, 1, step, 10) ||
        !WriteVersion(pristine, theirsPath, step / 2, step, 10) || base.Open(pristine, RecordLength) ||
        PageDigestReader::Read(base, baseDigests) || ours.Open(oursPath, RecordLength) ||
        theirs.Open(theirsPath, RecordLength)) {
        Fail(state, QStringLiteral("no versions to merge"));
        return;
    }
    const QByteArray storedBase = MergeBase::Encode(baseDigests);
    std::vector<PageSource> merged;
    size_t conflicts = 0;
    for (auto _ : state) {
        if (PageDigestReader::Read(ours, oursDigests) || PageDigestReader::Read(theirs, theirsDigests)) {
            Fail(state, QStringLiteral("a version could not be read"));
            break;
        }
        const std::optional<PageDigests> lastShared = MergeBase::Decode(storedBase);
        const MergeResult result = PageMerge::Merge(oursDigests, theirsDigests, lastShared ? &*lastShared : nullptr);
        conflicts = result.Conflicts().size();
        merged = result.Resolve();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * pages * RecordLength);
    if (conflicts != 0 || merged.size() != size_t(pages))
        Fail(state, QStringLiteral("the merge asked about %1 pages and kept %2").arg(conflicts).arg(merged.size()));
}

// The password's key derivation alone, as each unlocking of an encrypted
// diary pays it; the page count changes nothing and is there to compare.
void BM_KeyDerivation(benchmark::State& state)
{
    CryptHeader header;
    header.fileId = QByteArray(CryptHeader::FileIdLength, 'i');
    header.plainRecordLength = RecordLength;
    const SecureBytes key = KeySlot::NewDataKey();
    if (!KeySlot::Seal(header, CryptHeader::SlotKind::Password, BenchDiaries::Password(), key)) {
        Fail(state, QStringLiteral("no slot could be made"));
        return;
    }
    SecureBytes opened;
    for (auto _ : state) {
        if (KeySlot::Open(header, CryptHeader::SlotKind::Password, BenchDiaries::Password(), opened) !=
            CryptResult::Done) {
            Fail(state, QStringLiteral("the password did not open its slot"));
            return;
        }
    }
}

// The encrypted copy of the diary of this many pages; empty, with the
// benchmark failed, when there is none.
QString EncryptedDiary(benchmark::State& state, qint32 pages, bool shared)
{
    QString error;
    BenchDiaries& diaries = BenchDiaries::Instance();
    const QString path = shared ? diaries.SharedEncryptedCopy(pages, error) : diaries.Encrypted(pages, error);
    if (path.isEmpty())
        Fail(state, QStringLiteral("no encrypted diary: ") + error);
    return path;
}

// The untouched encrypted diary of `pages` pages, opened with its password.
bool OpenEncrypted(benchmark::State& state, qint32 pages, EncryptedRecordFile& diary)
{
    const QString path = EncryptedDiary(state, pages, false);
    if (path.isEmpty())
        return false;
    if (diary.Open(path, BenchDiaries::Password()) || diary.RecordCount() != pages) {
        Fail(state, QStringLiteral("the encrypted diary did not open"));
        return false;
    }
    return true;
}

// An encrypted diary's start: the password's key derivation, the file opened
// with the key and its last page read and decrypted, as the program does
// before it shows the page. Opening again closes the file of the round before.
void BM_Unlock(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString path = EncryptedDiary(state, pages, false);
    if (path.isEmpty())
        return;
    EncryptedRecordFile diary;
    QByteArray last;
    for (auto _ : state) {
        if (diary.Open(path, BenchDiaries::Password()) || diary.ReadRecord(diary.RecordCount(), last)) {
            Fail(state, QStringLiteral("the password did not open the diary"));
            return;
        }
    }
    if (last != DiaryGenerator::Record(pages))
        Fail(state, QStringLiteral("the last page read is not the last page written"));
}

// BM_Search's search on the encrypted copy: every body from the first page to
// the last read, decrypted and looked through for a text none holds, as the
// search window has the store do it. The window's showing of the last page
// afterwards is left out.
void BM_SearchEncrypted(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    EncryptedRecordFile diary;
    if (!OpenEncrypted(state, pages, diary))
        return;
    const QString wanted = BodySearch::StoredForm(DiaryGenerator::AbsentText());
    qint32 found = -1;
    for (auto _ : state) {
        if (BodySearch::Find(diary, wanted, 1, pages, found)) {
            Fail(state, QStringLiteral("the pages could not be read"));
            return;
        }
    }
    if (found != 0 || !diary.DamagedRecords().isEmpty())
        Fail(state, QStringLiteral("the search found something or met a damaged page"));
}

// The date index of an open encrypted diary as a start makes it: taken back
// from the sealed copy kept in the state folder when `kept`, else built from
// every page, each decrypted whole for its date. False when it failed.
bool IndexAtStart(const EncryptedRecordFile& diary, bool kept, DateIndex& index)
{
    if (!kept)
        return !index.Build(diary, diary.RecordCount());
    const std::optional<FileIdentity> now = FileIdentity::OfOpen(diary);
    return now && DateIndexFile::Load(diary.Path(), *now, *diary.Seal(), index) && index.Holds(diary.RecordCount());
}

// The calendar's first marks after a start on an encrypted diary: its date
// index made as IndexAtStart makes it, then the last month's days read from
// it. Later turns of the calendar read the index in memory alone, as
// BM_MonthMarks does.
void FirstMarksEncrypted(benchmark::State& state, bool kept)
{
    const auto pages = qint32(state.range(0));
    EncryptedRecordFile diary;
    if (!OpenEncrypted(state, pages, diary))
        return;
    DateIndex index;
    if (kept && (index.Build(diary, pages) ||
                 DateIndexFile::Save(diary.Path(), index, *FileIdentity::OfOpen(diary), *diary.Seal()))) {
        Fail(state, QStringLiteral("the date index could not be kept"));
        return;
    }
    const QDate last = DiaryGenerator::DateOf(pages);
    QList<int> days;
    for (auto _ : state) {
        if (!IndexAtStart(diary, kept, index)) {
            Fail(state, QStringLiteral("the date index could not be made"));
            return;
        }
        days = index.DaysOf(last.year(), last.month());
    }
    if (days.size() != last.day() || days.constLast() != last.day())
        Fail(state, QStringLiteral("the month's days are not all marked"));
}

// A start on an encrypted diary as the program left it: the index kept
// sealed in the state folder read, opened with the diary's key and checked
// against the file.
void BM_MonthMarksEncrypted(benchmark::State& state)
{
    FirstMarksEncrypted(state, true);
}

// The same without a kept index (the first start, or a diary a sync tool
// changed meanwhile): the cost BM_MonthMarksEncrypted avoids.
void BM_DateIndexEncryptedBuild(benchmark::State& state)
{
    FirstMarksEncrypted(state, false);
}

// The floor under every reader of an encrypted diary: its sealed pages,
// already in memory, each decrypted and its tag checked, on one core.
void BM_DecryptPages(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    const QString path = EncryptedDiary(state, pages, false);
    std::shared_ptr<const PageSeal> seal;
    if (path.isEmpty() ||
        EncryptedRecordFile::UnlockKey(path, CryptHeader::SlotKind::Password, BenchDiaries::Password(), seal)) {
        Fail(state, QStringLiteral("the encrypted diary did not open"));
        return;
    }
    QFile file(path);
    const int stored = EncryptedRecordFile::SealedLength(RecordLength);
    const QByteArray sealed =
        file.open(QIODevice::ReadOnly) ? file.readAll().mid(CryptHeader::HeaderLength) : QByteArray();
    if (sealed.size() != qint64(pages) * stored) {
        Fail(state, QStringLiteral("the sealed pages could not be read"));
        return;
    }
    QByteArray page(RecordLength, Qt::Uninitialized);
    const std::unique_ptr<RecordSeal::Opener> opener = seal->NewOpener();
    for (auto _ : state) {
        for (qint32 number = 1; number <= pages; ++number) {
            if (!opener->Open(number, sealed.constData() + qint64(number - 1) * stored, RecordLength, page.data())) {
                Fail(state, QStringLiteral("a page failed its tag"));
                return;
            }
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * pages * RecordLength);
    if (page != DiaryGenerator::Record(pages))
        Fail(state, QStringLiteral("the last page decrypted is not the last page written"));
}

// One changed page of an encrypted copy stored as F5 stores it: the sealed
// page it replaces kept in the journal, the new one sealed, written in place
// and flushed, the journal removed. One record is written; the file stays the
// same file of the same size.
// The shared encrypted copy of a diary of `pages` pages, opened into `diary`;
// its path, or nothing when the run has failed.
QString OpenSharedEncrypted(benchmark::State& state, qint32 pages, EncryptedRecordFile& diary)
{
    const QString path = EncryptedDiary(state, pages, true);
    if (path.isEmpty() || diary.Open(path, BenchDiaries::Password())) {
        Fail(state, QStringLiteral("the encrypted diary did not open"));
        return {};
    }
    return path;
}

void BM_SaveEncrypted(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    EncryptedRecordFile diary;
    const QString path = OpenSharedEncrypted(state, pages, diary);
    if (path.isEmpty())
        return;
    const qint32 page = qMax(1, pages / 2);
    DiaryPage record = DiaryPage::FromBytes(DiaryGenerator::Record(page));
    const QString body = record.Text(DiaryPage::PageBody);
    // Every save of the run differs from the page before it.
    static int saves = 0;
    const auto marker = [] { return QStringLiteral("【%1】").arg(saves, 6, 10, QLatin1Char('0')); };
    const FileId before = Identify(path);
    for (auto _ : state) {
        state.PauseTiming();
        ++saves;
        record.Assign(DiaryPage::PageBody, marker() + body.mid(marker().size()));
        state.ResumeTiming();

        if (PageRecords::WriteRecord(diary, page, record)) {
            Fail(state, QStringLiteral("the page was not written"));
            return;
        }
    }
    const FileId after = Identify(path);
    QByteArray stored;
    if (after.device != before.device || after.inode != before.inode || after.size != before.size)
        Fail(state, QStringLiteral("the save rewrote the whole file"));
    else if (QFileInfo::exists(PageJournal::PathFor(path)))
        Fail(state, QStringLiteral("the journal was left behind"));
    else if (diary.ReadRecord(page, stored) || stored != record.ToBytes())
        Fail(state, QStringLiteral("the change did not reach the file"));
}

// What a locked diary's user waits for while typing: nothing, since the draft
// is written off the window's thread; this is what that thread's writer
// does with one page's draft, the diary's page taken whole: sealed under the
// diary's key, written through a new file, flushed and renamed into place.
void BM_KeepDraft(benchmark::State& state)
{
    const auto pages = qint32(state.range(0));
    EncryptedRecordFile diary;
    const QString path = OpenSharedEncrypted(state, pages, diary);
    if (path.isEmpty())
        return;
    const DiaryPage record = DiaryPage::FromBytes(DiaryGenerator::Record(qMax(1, pages / 2)));
    PageDraft draft;
    for (const DiaryPage::Layout& field : DiaryPage::Fields)
        draft.fields[size_t(field.entryField)] = record.Text(field.field);
    draft.page = qMax(1, pages / 2);
    const QString draftPath = DraftFile::PathFor(path);
    for (auto _ : state) {
        draft.keptAt = QDateTime::currentDateTime();
        if (DraftFile::Write(draftPath, DraftFile::Stored(draft, diary.Seal().get()))) {
            Fail(state, QStringLiteral("the draft was not written"));
            return;
        }
    }
    if (DraftFile::Read(path, diary.Seal().get()).draft != draft)
        Fail(state, QStringLiteral("the draft did not come back as it was written"));
    DraftFile::Remove(path);
}

// The names carry nothing but the page count, so that runs of different
// versions compare line by line; Google Benchmark chooses the iterations and
// the command line the repetitions.
void Register(void (*function)(benchmark::State&), const char* name)
{
    benchmark::RegisterBenchmark(name, function)->Arg(TenYears)->Arg(HundredYears)->Unit(benchmark::kMillisecond);
}

} // namespace

void RegisterDiaryBenchmarks()
{
    Register(BM_ReadWholeFile, "BM_ReadWholeFile");
    Register(BM_OpenDiary, "BM_OpenDiary");
    Register(BM_FindDate, "BM_FindDate");
    Register(BM_FindDateByLoading, "BM_FindDateByLoading");
    Register(BM_Search, "BM_Search");
    Register(BM_Save, "BM_Save");
    Register(BM_DeleteFirstPage, "BM_DeleteFirstPage");
    Register(BM_SameDay, "BM_SameDay");
    Register(BM_MonthMarks, "BM_MonthMarks");
    Register(BM_FuzzySearch, "BM_FuzzySearch");
    Register(BM_SearchAll, "BM_SearchAll");
    Register(BM_SearchAllFirstRow, "BM_SearchAllFirstRow");
    Register(BM_Backup, "BM_Backup");
    Register(BM_ExportText, "BM_ExportText");
    Register(BM_WriteTextFiles, "BM_WriteTextFiles");
    Register(BM_ExpenseTotals, "BM_ExpenseTotals");
    Register(BM_WritingTotals, "BM_WritingTotals");
    Register(BM_Merge, "BM_Merge");
    Register(BM_KeyDerivation, "BM_KeyDerivation");
    Register(BM_Unlock, "BM_Unlock");
    Register(BM_SearchEncrypted, "BM_SearchEncrypted");
    Register(BM_MonthMarksEncrypted, "BM_MonthMarksEncrypted");
    Register(BM_DateIndexEncryptedBuild, "BM_DateIndexEncryptedBuild");
    Register(BM_DecryptPages, "BM_DecryptPages");
    Register(BM_SaveEncrypted, "BM_SaveEncrypted");
    Register(BM_KeepDraft, "BM_KeepDraft");
}
