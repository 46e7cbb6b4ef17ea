// Runs one operation of the diary store on a diary given to it, the way the
// main window would, so that a test can kill it or fail its disk anywhere on
// the way and then look at what the diary holds.
//
//   sorafumi_crashprobe build PATH [VARIANT]
//                                           five pages of December 2026; "tail"
//                                           adds part of a sixth record,
//                                           "fewer" leaves out the fifth page,
//                                           "ours" rewrites the 2nd, "theirs"
//                                           the 4th and adds the 6th, "merged"
//                                           does both, "merged-copy" keeps
//                                           both versions of the 4th
//   sorafumi_crashprobe OPERATION PATH      store, add, delete, save,
//                                           compact-tail, store-delete, import,
//                                           import-backup, export, backup,
//                                           backup-next, restore, merge,
//                                           merge-copy, lock, unlock-store,
//                                           password, unlock-remove, draft-keep
//                                           or draft-offer
//   sorafumi_crashprobe draft-keep PATH old the earlier words of draft-keep
//   sorafumi_crashprobe draft PATH          prints the diary's draft: "none",
//                                           "damaged", or its page, a hash of
//                                           its fields and its body's first
//                                           line
//   sorafumi_crashprobe dump PATH           opens the diary (undoing what a
//                                           crash left) and prints each page's
//                                           number and hash, then "pages N"
//   sorafumi_crashprobe start PATH          the same for the diary a start
//                                           opens after the lock's operations,
//                                           and how it opened
//   sorafumi_crashprobe journal PATH        prints where the diary's journal
//                                           goes when its folder takes none
//   sorafumi_crashprobe copy-name PATH DAY  prints the name of the diary's
//                                           backup copy of DAY (yyyy-MM-dd)
//
// The export writes into the folder "export" beside the diary's folder, the
// backups go to "backups" there, and a restore puts back the copy of the 6th
// of December from it. "merge" edits the 2nd page, then a sync tool's
// delivery (the file DeliveryName beside the diary, prepared by the test) is
// renamed over the diary, and the page is stored; "merge-copy" opens the
// diary with a conflict copy beside it and merges it.
// "draft-keep" starts as the program does (the last page shown, a draft
// left by an earlier run offered and taken back), types into the last page
// and keeps the draft of it at once, as a session's end does; "draft-offer"
// starts, takes the draft back and stores the page. The draft lives in the
// state folder ($XDG_STATE_HOME) and a failure to keep it shows on the status
// line, printed as a "status" line.
//
// An operation prints every box the user would have seen to standard error,
// one "box" line each, and "done" once it is over. The lines go out with
// writev, which a test does not fail on purpose, so that they stay out of the
// writes it counts. With SORAFUMI_CRASHPROBE_KILL_US set, the probe kills
// itself that many microseconds after the diary was opened.

#include "DiaryBuilder.h"
#include "FakeDiaryView.h"
#include "core/backup/BackupGenerations.h"
#include "core/crypt/DiaryEncryption.h"
#include "core/crypt/EncryptedRecordFile.h"
#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryStore.h"
#include "core/drafts/DraftFile.h"
#include "core/platform/Clock.h"
#include "core/platform/FileSizeLimit.h"
#include "core/platform/PageJournal.h"
#include "core/platform/Prompter.h"
#include "core/settings/AppSettings.h"
#include "core/settings/SettingsStore.h"
#include "core/sync/MergeChooser.h"
#include "core/transfer/DiaryExport.h"

#include <fcntl.h>
#include <sys/syscall.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sys/uio.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int PageCount = 5;

void Print(int fd, const QString& line)
{
    QByteArray bytes = line.toUtf8();
    bytes.append('\n');
    qint64 done = 0;
    while (done < bytes.size()) {
        iovec part{bytes.data() + done, size_t(bytes.size() - done)};
        const ssize_t put = ::writev(fd, &part, 1);
        if (put <= 0)
            return;
        done += put;
    }
}

QString Visible(QString text)
{
    return text.replace(u'\r', QStringLiteral("<CR>")).replace(u'\n', QStringLiteral("<LF>"));
}

// Says yes to every question, as a user who wants the operation done would;
// a box that offers a retry is cancelled, so that a failing disk cannot keep
// the probe asking. With answering off, every box is cancelled.
class Answerer : public Prompter
{
public:
    explicit Answerer(bool answering) : answering_(answering) {}

    Answer Message(const Box& box) override
    {
        lines.append(QStringLiteral("box [%1] %2").arg(box.title, Visible(box.text)));
        switch (box.buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
            return answering_ ? Answer::Ok : Answer::Cancel;
        case Buttons::YesNo:
            return answering_ ? Answer::Yes : Answer::No;
        case Buttons::RetryCancel:
            return Answer::Cancel;
        }
        return Answer::Cancel;
    }
    std::optional<QString> Input(const QString& prompt, const QString& title, const QString&) override
    {
        lines.append(QStringLiteral("input [%1] %2").arg(title, Visible(prompt)));
        return std::nullopt;
    }
    void Beep() override { lines.append(QStringLiteral("beep")); }
    int ShowModal(QDialog&) override { return 0; }
    bool ChoosePrinter(QPrinter&) override { return false; }
    std::optional<quint32> ChooseColour(quint32) override { return std::nullopt; }
    std::optional<QString> ChooseFile(const QStringList&, int) override { return std::nullopt; }

    QStringList lines;

private:
    bool answering_;
};

// Day n of December 2026 with a long body, different on every page, so that a
// page made of two pages' parts cannot pass for either.
DiaryBuilder::Fields Day(int day)
{
    static const QStringList weekdays = {QStringLiteral("火曜日"), QStringLiteral("水曜日"), QStringLiteral("木曜日"),
                                         QStringLiteral("金曜日"), QStringLiteral("土曜日")};
    static const QStringList weathers = {QStringLiteral("晴れ"), QStringLiteral("曇り"), QStringLiteral("雨")};
    QString body = QStringLiteral("%1日の日記。").arg(day);
    for (int line = 1; body.size() < 4500; ++line)
        body += QStringLiteral("\r\n%1行目：朝から%2、散歩の途中で梅の花を見た。")
                    .arg(line)
                    .arg(weathers[(day + line) % 3]);
    return {QStringLiteral("2026年12月%1日").arg(day),
            weekdays[(day - 1) % weekdays.size()],
            QString::number(day * 100),
            QStringLiteral("山田太郎"),
            QStringLiteral("午後 9:00:00"),
            weathers[day % 3],
            body};
}

QString NewBody(int page)
{
    QString body = QStringLiteral("%1ページ目を書き直した。").arg(page);
    while (body.size() < 6000)
        body += QStringLiteral("\r\n書き直した行：雪が降って、庭が真っ白になった。");
    return body;
}

// Day n with the body the user wrote over it.
DiaryBuilder::Fields Rewritten(int day)
{
    DiaryBuilder::Fields fields = Day(day);
    fields.body = NewBody(day);
    return fields;
}

// Words typed on the last page and not yet stored: those of an earlier run
// or the newer ones. Long enough that a draft takes more than one page of
// the disk.
void TypeDraft(FakeDiaryView& view, bool earlier)
{
    QString body = earlier ? QStringLiteral("書きかけ（前）：") : QStringLiteral("書きかけ（後）：");
    while (body.size() < 2500)
        body += earlier ? QStringLiteral("\r\n夕方から雪、窓の外が静かになった。")
                        : QStringLiteral("\r\n夜になって雪はやみ、月が出た。");
    view.SetFieldText(EntryField::Body, body);
    view.SetFieldText(EntryField::Weather, earlier ? QStringLiteral("雪") : QStringLiteral("晴れ"));
}

bool IsDraft(const QString& operation)
{
    return operation.startsWith(QLatin1String("draft-"));
}

// Two computers' versions of the diary: ours rewrote the 2nd, theirs the 4th
// and added the 6th; merged, every page of both. Merged from a conflict copy
// (theirs), its 2nd is the page the base had and gives way, and its 4th,
// new and not ours, is kept beside ours.
int Build(const QString& path, const QByteArray& variant)
{
    const bool both = variant == "merged-copy";
    const bool ours = variant == "ours" || variant == "merged" || both;
    const bool theirs = variant == "theirs" || variant == "merged" || both;
    DiaryBuilder builder;
    for (int day = 1; day <= PageCount - int(variant == "fewer"); ++day) {
        const bool rewritten = (day == 2 && ours) || (day == 4 && theirs);
        builder.Add(rewritten && both && day == 4 ? Day(day) : rewritten ? Rewritten(day) : Day(day));
        if (both && day == 4)
            builder.Add(Rewritten(day));
    }
    if (theirs)
        builder.Add(Day(PageCount + 1));
    if (variant == "tail")
        builder.AddRaw(DiaryBuilder::Page(Day(6)).ToBytes().left(500));
    return builder.WriteTo(path) ? 0 : 1;
}

// Where the test puts the version a sync tool delivers, as Syncthing names it.
QString DeliveryName(const QString& path)
{
    const QFileInfo diary(path);
    return diary.absolutePath() + QStringLiteral("/.syncthing.") + diary.fileName() + QStringLiteral(".tmp");
}

// The sync tool's rename, by a call the test neither kills nor fails.
bool Deliver(const QString& path)
{
    return ::syscall(SYS_renameat, AT_FDCWD, QFile::encodeName(DeliveryName(path)).constData(), AT_FDCWD,
                     QFile::encodeName(path).constData()) == 0;
}

bool IsMerge(const QString& operation)
{
    return operation.startsWith(QLatin1String("merge"));
}

// Keeps both versions of every page asked about, as 両方残す does.
class KeepBothChooser : public MergeChooser
{
public:
    std::optional<std::vector<Resolution>> Choose(const MergeQuestion& question) override
    {
        return std::vector<Resolution>(question.conflicts.size(), Resolution::KeepBoth);
    }
};

// A file failure as the lock windows show it; any other failure as a box of
// its own, which the test counts as no file error.
void Report(Prompter& prompter, const CryptResult& result)
{
    if (result.kind == CryptResult::FileFailed)
        DiaryFiles::ReportFileError(prompter, result.file);
    else if (result.kind != CryptResult::Done && result.kind != CryptResult::Told)
        prompter.Message({QStringLiteral("failed as %1").arg(int(result.kind)),
                          QStringLiteral("鍵"),
                          Prompter::Buttons::Ok,
                          Prompter::Icon::Critical,
                          {}});
}

// The store as the main window holds it, opened on the configured diary.
struct Session
{
    // Conflict copies are merged as the diary opens: their backups folder is
    // given here. Given `passwords`, the start looks first whether the diary
    // is locked, and opens a locked one with the first of them that opens it.
    explicit Session(const QString& path, bool answering, const QString& backups = {},
                     const QStringList& passwords = {})
        : prompter(answering), clock(QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0))),
          store(view, prompter, clock, app, [] {})
    {
        app.UserName = QStringLiteral("山田太郎");
        app.UserDataFile = path;
        app.BackupFolder = backups;
        // No daily copies: they would go to the user's own data folder.
        app.BackupDaily = 0;
        app.BackupWeekly = 0;
        store.SetMergeChooser(&chooser);
        if (!passwords.isEmpty() && store.IsEncrypted() && !Unlock(passwords))
            return;
        store.SelectDiaryFile(QDir::currentPath());
        // As the window's first turn of the event loop does.
        QCoreApplication::processEvents();
    }

    // A failure other than a wrong password is shown, as the window does,
    // and the diary stays closed.
    bool Unlock(const QStringList& passwords)
    {
        for (unlockedWith = 0; unlockedWith < passwords.size(); ++unlockedWith) {
            const CryptResult unlocked = store.Unlock(passwords[unlockedWith]);
            if (!unlocked)
                return true;
            if (unlocked.kind != CryptResult::WrongSecret) {
                Report(prompter, unlocked);
                break;
            }
        }
        unlockedWith = -1;
        return false;
    }

    void Show(qint32 page) { store.ShowPage(page); }
    bool Edit(qint32 page)
    {
        Show(page);
        view.SetFieldText(EntryField::Body, NewBody(page));
        return store.StorePage();
    }

    FakeDiaryView view;
    Answerer prompter;
    FixedClock clock;
    AppSettings app;
    KeepBothChooser chooser;
    DiaryStore store;
    // Which of the passwords opened the encrypted diary; -1 none.
    qsizetype unlockedWith = -1;
};

// A folder beside the diary's folder.
QString Beside(const QString& path, const QString& name)
{
    return QFileInfo(QFileInfo(path).absolutePath()).absolutePath() + u'/' + name;
}

// As 書き出し does, once as text files and once as one HTML file; a failure
// is reported and ends it. Files already there are replaced.
void Export(Session& session, const QString& folder)
{
    ExportRequest request;
    request.folder = folder;
    DiaryExport::Hooks hooks;
    hooks.replace = [](const QStringList&) { return true; };
    for (const ExportRequest::Format format : {ExportRequest::Format::Text, ExportRequest::Format::Html}) {
        request.format = format;
        const DiaryExport::Result result =
            DiaryExport::Run(session.store.DiaryFile(), session.store.PageCount(), request, hooks);
        if (result.outcome == DiaryExport::Outcome::Failed)
            DiaryFiles::ReportFileError(session.prompter, result.error);
        if (result.outcome != DiaryExport::Outcome::Written)
            return;
    }
}

// Each page's number and hash, then "pages N"; a page that cannot be read
// (or, encrypted, whose tag fails) is named.
QStringList PageLines(const RecordFile& diary)
{
    QStringList lines;
    const qint32 pages = diary.IsOpen() ? diary.RecordCount() : 0;
    for (qint32 page = 1; page <= pages; ++page) {
        QByteArray record;
        if (diary.ReadRecord(page, record) || diary.DamagedRecords().contains(page)) {
            lines.append(QStringLiteral("page %1 unreadable").arg(page));
            continue;
        }
        const QByteArray hash = QCryptographicHash::hash(record, QCryptographicHash::Sha256).toHex().left(16);
        lines.append(QStringLiteral("page %1 %2").arg(page).arg(QString::fromLatin1(hash)));
    }
    lines.append(QStringLiteral("pages %1").arg(pages));
    return lines;
}

void PrintLines(int fd, const QStringList& lines)
{
    for (const QString& line : lines)
        Print(fd, line);
}

int Dump(const QString& path)
{
    Session session(path, false);
    PrintLines(STDOUT_FILENO, session.prompter.lines + PageLines(session.store.DiaryFile()));
    return 0;
}

// The draft as the next start finds it, read and never changed.
int PrintDraft(const QString& path)
{
    const DraftFile::Found found = DraftFile::Read(path, nullptr);
    if (found.outcome != DraftFile::Found::Outcome::Draft) {
        Print(STDOUT_FILENO,
              found.outcome == DraftFile::Found::Outcome::None ? QStringLiteral("none") : QStringLiteral("damaged"));
        return 0;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& field : found.draft.fields)
        hash.addData(field.toUtf8() + '\0');
    Print(STDOUT_FILENO, QStringLiteral("draft of page %1 %2 %3")
                             .arg(found.draft.page)
                             .arg(QString::fromLatin1(hash.result().toHex().left(16)),
                                  found.draft.Field(EntryField::Body).section(u'\r', 0, 0)));
    return 0;
}

// The lock's operations: "lock" locks the plain diary with the old password,
// "unlock-store" opens the locked diary and stores an edited page,
// "password" changes the old password to the new, "unlock-remove" takes the
// lock off. The diary's name the program keeps in its settings is kept in
// "settings.ini" beside the diary's folder.
const QString OldPassword = QStringLiteral("雪の朝に2026");
const QString NewPassword = QStringLiteral("桜の咲く頃2027");

bool IsLockOperation(const QString& operation)
{
    return operation == QLatin1String("lock") || operation == QLatin1String("unlock-store") ||
           operation == QLatin1String("password") || operation == QLatin1String("unlock-remove");
}

SettingsStore SettingsBeside(const QString& path)
{
    return SettingsStore(Beside(path, QStringLiteral("settings.ini")));
}

// The diary a start opens: the one the settings name, else PATH.
QString NamedDiary(const QString& path)
{
    const QString named = SettingsBeside(path).ReadSetting(SettingKey::UserDataFile);
    return DiaryEncryption::WhereItIs(named.isEmpty() ? path : named);
}

// As the window does: a diary locked or unlocked is kept under its new name
// at once, so the next start finds it.
void KeepDiaryName(const QString& path, DiaryStore& store)
{
    store.SetNameKeeper([path](const QString& name) {
        SettingsStore settings = SettingsBeside(path);
        if (settings.ReadSetting(SettingKey::UserDataFile) != name)
            settings.WriteSetting(SettingKey::UserDataFile, name);
    });
}

// As the next start: the diary the settings name, opened (an encrypted one
// with the new or the old password); its pages as the store reads them, then
// read again from the file by a reader of their own.
int Start(const QString& path)
{
    Session session(NamedDiary(path), false, {}, {NewPassword, OldPassword});
    QStringList lines = session.prompter.lines;
    const RecordFile& diary = session.store.DiaryFile();
    if (!session.store.IsOpen()) {
        lines.append(session.store.IsEncrypted() ? QStringLiteral("neither password opens it")
                                                 : QStringLiteral("not open"));
        PrintLines(STDOUT_FILENO, lines);
        return 0;
    }
    const QString name = QFileInfo(diary.Path()).fileName();
    if (!diary.IsSealed())
        lines.append(QStringLiteral("plain %1").arg(name));
    else
        lines.append(QStringLiteral("encrypted %1, %2 password")
                         .arg(name, session.unlockedWith == 0 ? QStringLiteral("new") : QStringLiteral("old")));
    const QStringList pages = PageLines(diary);
    lines += pages;
    if (diary.IsSealed()) {
        RecordFile again;
        const CryptResult opened = EncryptedRecordFile::OpenSealed(
            again, diary.Path(), std::dynamic_pointer_cast<const PageSeal>(diary.Seal()));
        if (opened || PageLines(again) != pages)
            lines.append(QStringLiteral("read again from the file, the pages differ"));
    }
    PrintLines(STDOUT_FILENO, lines);
    return 0;
}

void KillLater()
{
    const char* delay = std::getenv("SORAFUMI_CRASHPROBE_KILL_US");
    if (!delay || !*delay)
        return;
    const long microseconds = std::strtol(delay, nullptr, 10);
    std::thread([microseconds] {
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
        ::kill(::getpid(), SIGKILL);
    }).detach();
}

int Run(const QString& operation, const QString& path, const QByteArray& variant)
{
    const bool locking = IsLockOperation(operation);
    Session session(locking ? NamedDiary(path) : path, true,
                    IsMerge(operation) || locking || IsDraft(operation) ? Beside(path, QStringLiteral("backups"))
                                                                        : QString(),
                    locking ? QStringList{OldPassword} : QStringList());
    if (!session.store.IsOpen()) {
        for (const QString& line : session.prompter.lines)
            Print(STDERR_FILENO, line);
        Print(STDERR_FILENO, QStringLiteral("not open"));
        return 0;
    }
    KillLater();
    const auto started = std::chrono::steady_clock::now();
    DiaryStore& store = session.store;
    if (operation == QLatin1String("store")) {
        session.Edit(2);
    } else if (operation == QLatin1String("add")) {
        session.Show(PageCount);
        store.AddPage();
    } else if (operation == QLatin1String("delete")) {
        session.Show(2);
        store.DeletePage();
    } else if (operation == QLatin1String("save")) {
        // What closing the diary does: the shown page is stored, then the
        // file cut to its pages.
        if (session.Edit(3))
            store.CompactDiary();
    } else if (operation == QLatin1String("compact-tail")) {
        session.Show(4);
        store.CompactDiary();
    } else if (operation == QLatin1String("import") || operation == QLatin1String("import-backup")) {
        // Three imported pages appended in one rewrite, as 取り込み does; on
        // a day with no backup yet, the diary is copied first.
        if (operation == QLatin1String("import-backup")) {
            session.app.BackupFolder = Beside(path, QStringLiteral("backups"));
            session.app.BackupDaily = 2;
        }
        session.Show(PageCount);
        QByteArray records;
        for (int day = PageCount + 1; day <= PageCount + 3; ++day)
            records += DiaryBuilder::Page(Day(day)).ToBytes();
        store.AppendPages(records);
    } else if (operation == QLatin1String("export")) {
        Export(session, Beside(path, QStringLiteral("export")));
    } else if (operation == QLatin1String("backup") || operation == QLatin1String("backup-next")) {
        // The day's first store copies the diary first; two days are kept,
        // so that the copy of the 5th goes once today's is whole.
        session.app.BackupFolder = Beside(path, QStringLiteral("backups"));
        session.app.BackupDaily = 2;
        session.Edit(operation == QLatin1String("backup") ? 2 : 3);
    } else if (operation == QLatin1String("restore")) {
        session.app.BackupFolder = Beside(path, QStringLiteral("backups"));
        store.RestoreBackup(
            QDir(session.app.BackupFolder).filePath(BackupGenerations::CopyName(path, QDate(2026, 12, 6))));
    } else if (operation == QLatin1String("store-delete")) {
        // A page that could not be stored, then deleted: the user goes on
        // after the message.
        session.Edit(2);
        store.DeletePage();
    } else if (operation == QLatin1String("merge")) {
        // Edits not yet stored when the other computer's version arrives.
        session.Show(2);
        session.view.SetFieldText(EntryField::Body, NewBody(2));
        if (!Deliver(path))
            Print(STDERR_FILENO, QStringLiteral("not delivered"));
        store.StorePage();
    } else if (operation == QLatin1String("merge-copy")) {
        // Merged as the diary opened.
    } else if (operation == QLatin1String("draft-keep")) {
        store.ShowLastPage();
        store.OfferDraft();
        TypeDraft(session.view, variant == "old");
        store.MarkChanged();
        store.KeepDraftNow();
    } else if (operation == QLatin1String("draft-offer")) {
        store.ShowLastPage();
        store.OfferDraft();
        store.StorePage();
        // Waits for the draft's removal (or, the page not stored, keeps the
        // draft again), as a program that goes on would.
        store.KeepDraftNow();
    } else if (operation == QLatin1String("lock")) {
        QString recoveryCode;
        KeepDiaryName(path, store);
        Report(session.prompter, store.Lock(OldPassword, recoveryCode));
    } else if (operation == QLatin1String("unlock-store")) {
        session.Edit(2);
    } else if (operation == QLatin1String("password")) {
        Report(session.prompter, store.ChangePassword(OldPassword, NewPassword));
    } else if (operation == QLatin1String("unlock-remove")) {
        KeepDiaryName(path, store);
        Report(session.prompter, store.RemoveLock(OldPassword));
    } else {
        Print(STDERR_FILENO, QStringLiteral("unknown operation ") + operation);
        return 2;
    }
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    if (IsDraft(operation)) {
        // A draft that could not be written or removed is told on the status line.
        QCoreApplication::processEvents();
        session.prompter.lines.append(QStringLiteral("status ") + session.view.status);
    }
    for (const QString& line : session.prompter.lines)
        Print(STDERR_FILENO, line);
    Print(STDERR_FILENO, QStringLiteral("done in %1 us").arg(took.count()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        Print(STDERR_FILENO, QStringLiteral("usage: sorafumi_crashprobe build|dump|OPERATION PATH"));
        return 2;
    }
    // As the program does.
    FileSizeLimit::FailWritesInsteadOfEnding();
    QCoreApplication application(argc, argv);
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString path = QFile::decodeName(argv[2]);
    if (mode == QLatin1String("build"))
        return Build(path, argc > 3 ? QByteArray(argv[3]) : QByteArray());
    if (mode == QLatin1String("dump"))
        return Dump(path);
    if (mode == QLatin1String("start"))
        return Start(path);
    if (mode == QLatin1String("draft"))
        return PrintDraft(path);
    if (mode == QLatin1String("journal")) {
        const QFileInfo diary(path);
        Print(STDOUT_FILENO,
              PageJournal::StatePathFor(QFileInfo(diary.absolutePath()).canonicalFilePath() + u'/' + diary.fileName()));
        return 0;
    }
    if (mode == QLatin1String("copy-name") && argc > 3) {
        Print(STDOUT_FILENO,
              BackupGenerations::CopyName(path, QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate)));
        return 0;
    }
    return Run(mode, path, argc > 3 ? QByteArray(argv[3]) : QByteArray());
}
