#include "core/backup/DiaryBackup.h"

#include "core/diary/DateField.h"
#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/FullTransfer.h"
#include "core/platform/PageJournal.h"
#include "core/platform/Prompter.h"
#include "core/platform/RecordFile.h"
#include "core/platform/RecordFileRewriter.h"
#include "core/platform/SafeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr DiaryPage::Layout DateLayout = DiaryPage::Fields[DiaryPage::PageDate];

// The copy and its check go in runs of this many bytes: small enough that a
// run is still in the processor's cache when it is compared.
constexpr qint64 ChunkBytes = 1 << 20;

// Whether the run at `offset` holds the same bytes in both files.
FileError CompareRun(int from, int to, qint64 offset, qint64 length, std::vector<char>& expected,
                     std::vector<char>& actual)
{
    if (const FileError error = ReadFully(from, expected.data(), length, offset))
        return error;
    if (const FileError error = ReadFully(to, actual.data(), length, offset))
        return error;
    if (std::memcmp(expected.data(), actual.data(), size_t(length)) != 0)
        return {FileError::DeviceIO, EIO};
    return {};
}

// Copies `length` bytes at `offset`. The kernel copies, as a reflink where the
// file system has one; where it cannot copy between these two files, the
// bytes pass through `buffer` instead.
FileError CopyBytes(int from, int to, qint64 offset, qint64 length, std::vector<char>& buffer)
{
    loff_t in = offset;
    loff_t out = offset;
    const qint64 end = offset + length;
    while (in < end) {
        const ssize_t copied = ::copy_file_range(from, &in, to, &out, size_t(end - in), 0);
        if (copied > 0)
            continue;
        if (copied == 0)
            return {FileError::InputPastEnd, 0};
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL)
            return FileError::FromErrno(errno);
        break;
    }
    while (in < end) {
        const qint64 run = qMin(qint64(end - in), qint64(buffer.size()));
        if (const FileError error = ReadFully(from, buffer.data(), run, in))
            return error;
        if (const FileError error = WriteFully(to, buffer.data(), run, in))
            return error;
        in += run;
    }
    return {};
}

// Copies the file open as `from` into the empty file `to`, flushes it and
// checks that it holds the file's bytes. The copy goes a run at a time, and
// each run is compared on both sides while its bytes are still in the
// processor's cache: a byte-for-byte check that costs less than summing both
// files afterwards.
FileError CopyChecked(int from, int to)
{
    struct stat original
    {
    };
    if (::fstat(from, &original) != 0)
        return FileError::FromErrno(errno);
    const qint64 length = original.st_size;
    // A disk without room for the whole copy refuses here, before any of it
    // is copied.
    if (const FileError error = ReserveRoom(to, length))
        return error;
    std::vector<char> expected(size_t(qMin(length, ChunkBytes)));
    std::vector<char> actual(expected.size());
    for (qint64 at = 0; at < length; at += ChunkBytes) {
        const qint64 run = qMin(ChunkBytes, length - at);
        if (const FileError error = CopyBytes(from, to, at, run, expected))
            return error;
        if (const FileError error = CompareRun(from, to, at, run, expected, actual))
            return error;
        // The disk starts on each run while the next is copied, so the flush
        // at the end has little left to wait for; only a hint, the flush
        // reports any failure.
        ::sync_file_range(to, at, run, SYNC_FILE_RANGE_WRITE);
    }
    if (::fsync(to) != 0)
        return FileError::FromErrno(errno);
    struct stat copy
    {
    };
    if (::fstat(to, &copy) != 0)
        return FileError::FromErrno(errno);
    if (copy.st_size != length)
        return {FileError::DeviceIO, EIO};
    return {};
}

// The date of a copy's last page, read from its date field alone.
QDate LastPageDate(const QString& path, qint64 pages)
{
    SafeFile file;
    char field[DateLayout.length];
    if (pages < 1 || file.OpenToRead(path, false) ||
        ReadFully(file.Descriptor(), field, sizeof field, (pages - 1) * DiaryPage::RecordLength + DateLayout.offset))
        return {};
    return DateField::FromBytes(field, DateLayout.length);
}

} // namespace

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

QString DiaryBackup::SharedCopyName(const QString& diaryPath, QDate day)
{
    const QFileInfo diary(diaryPath);
    const QString suffix = diary.suffix().isEmpty() ? QStringLiteral("DAT") : diary.suffix();
    return diary.completeBaseName() + u'-' + day.toString(QStringLiteral("yyyyMMdd")) + u'.' + suffix;
}

QString DiaryBackup::CopyName(const QString& diaryPath, QDate day)
{
    // The mark is taken from where the diary really is, so a diary reached
    // through a link and through its own name keeps one set of copies, and a
    // diary deleted with its last page still names its copies.
    const QFileInfo diary(diaryPath);
    QString place = diary.canonicalFilePath();
    if (place.isEmpty()) {
        const QString folder = QFileInfo(diary.absolutePath()).canonicalFilePath();
        place = (folder.isEmpty() ? diary.absolutePath() : folder) + u'/' + diary.fileName();
    }
    const QByteArray mark = QCryptographicHash::hash(QFile::encodeName(place), QCryptographicHash::Sha1).toHex();
    return diary.completeBaseName() + u'-' + QString::fromLatin1(mark.left(8)) + u'-' +
           SharedCopyName(diaryPath, day).mid(diary.completeBaseName().size() + 1);
}

QString DiaryBackup::Sample(const QString& diaryPath)
{
    return CopyName(diaryPath, QDate(2000, 1, 1));
}

QList<QDate> DiaryBackup::Days(const QString& diaryPath, const QString& folder)
{
    const QString sample = Sample(diaryPath);
    QList<QDate> days;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        bool kept = false;
        if (const QDateTime taken = TakenAs(sample, name, kept); taken.isValid() && !kept)
            days << taken.date();
    }
    std::sort(days.begin(), days.end(), std::greater<>());
    return days;
}

QList<QDate> DiaryBackup::Kept(const QList<QDate>& days, Generations keep)
{
    const auto mondayOf = [](QDate day) { return day.addDays(1 - day.dayOfWeek()); };
    QList<QDate> kept = days.mid(0, qMax(0, keep.daily));
    // The weeks run Monday to Sunday; a week's newest copy stands for it, and
    // a week a daily copy stands for needs no other.
    QList<QDate> weeks;
    for (const QDate& day : kept)
        weeks << mondayOf(day);
    int weekly = 0;
    for (const QDate& day : days.mid(kept.size())) {
        if (weekly >= keep.weekly)
            break;
        if (weeks.contains(mondayOf(day)))
            continue;
        weeks << mondayOf(day);
        kept << day;
        ++weekly;
    }
    return kept;
}

FileError DiaryBackup::Take(const QString& diaryPath, const QString& folder, QDate today, Generations keep)
{
    if (keep.daily <= 0 && keep.weekly <= 0)
        return {};
    if (!MakeFolder(folder))
        return FileError::FromErrno(errno ? errno : EACCES);
    const QString target = QDir(folder).filePath(CopyName(diaryPath, today));
    if (QFileInfo::exists(target))
        return {};
    if (const FileError error = Copy(diaryPath, target))
        return error;
    RemoveOld(diaryPath, folder, keep);
    return {};
}

void DiaryBackup::RemoveLeftovers(const QString& diaryPath, const QString& folder)
{
    const QString sample = Sample(diaryPath);
    bool kept = false;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*") + PartSuffix()}, QDir::Files))
        if (TakenAs(sample, name.chopped(PartSuffix().size()), kept).isValid())
            SafeFile::RemoveOwn(QDir(folder).filePath(name));
}

FileError DiaryBackup::Copy(const QString& diaryPath, const QString& target)
{
    // A copy cut short by a crash stays under its temporary name: the next
    // copy takes it away.
    RemoveLeftovers(diaryPath, QFileInfo(target).absolutePath());
    SafeFile from;
    if (const FileError error = from.OpenToRead(diaryPath, false))
        return error;
    // Under a name no copy has, until it is whole and flushed.
    SafeFile to;
    if (const FileError error = to.Create(target + PartSuffix(), SafeFile::IfTaken::UniqueName))
        return error;
    if (const FileError error = CopyChecked(from.Descriptor(), to.Descriptor()))
        return error;
    return to.RenameOver(target);
}

void DiaryBackup::RemoveOld(const QString& diaryPath, const QString& folder, Generations keep)
{
    const QList<QDate> days = Days(diaryPath, folder);
    const QList<QDate> kept = Kept(days, keep);
    for (const QDate& day : days)
        if (!kept.contains(day))
            SafeFile::RemoveOwn(QDir(folder).filePath(CopyName(diaryPath, day)));
    RecordFile::FlushFolder(folder);
}

namespace {

void ReportBackup(Prompter& prompter, const QString& what, const FileError& error, const QString& folder)
{
    const QString reason = error.systemError != 0 ? DiaryFiles::Reason(error.systemError)
                                                  : QStringLiteral("日記ﾌｧｲﾙを最後までｺﾋﾟｰできませんでした。");
    prompter.Message({what + u'\r' + reason + u'\r' + QDir::toNativeSeparators(QDir(folder).absolutePath()),
                      DiaryFiles::Title(),
                      Prompter::Buttons::Ok,
                      Prompter::Icon::Exclamation,
                      {}});
}

} // namespace

void DiaryBackup::ReportFailure(Prompter& prompter, const FileError& error, const QString& folder)
{
    ReportBackup(prompter, QStringLiteral("日記のﾊﾞｯｸｱｯﾌﾟを作成できませんでした。日記はそのまま保存します。"), error,
                 folder);
}

void DiaryBackup::ReportRestoreRefused(Prompter& prompter, const FileError& error, const QString& folder)
{
    ReportBackup(prompter, QStringLiteral("今の日記をﾊﾞｯｸｱｯﾌﾟできないため、復元を中止しました。日記は元のままです。"),
                 error, folder);
}

FileError DiaryBackup::KeepCurrent(const QString& diaryPath, const QString& folder, const QDateTime& now)
{
    if (!MakeFolder(folder))
        return FileError::FromErrno(errno ? errno : EACCES);
    // Two restores within a second keep both diaries: the later one takes
    // the next free second.
    QString target;
    for (QDateTime taken = now; target.isEmpty() || QFileInfo::exists(target); taken = taken.addSecs(1)) {
        const QString name = CopyName(diaryPath, taken.date());
        const qsizetype dot = name.lastIndexOf(u'.');
        target =
            QDir(folder).filePath(name.left(dot) + u'-' + taken.toString(QStringLiteral("HHmmss")) + name.mid(dot));
    }
    return Copy(diaryPath, target);
}

FileError DiaryBackup::Replace(RecordFile& diary, const QString& copyPath)
{
    // A journal left for the old diary must not be played onto the new one.
    if (const FileError error = PageJournal::Recover(diary))
        return error;
    // Only a copy of the user's own takes the diary's place.
    SafeFile from;
    if (const FileError error = from.OpenToRead(copyPath, true))
        return error;
    SafeFile to;
    const QString temp = QFileInfo(diary.Path()).absolutePath() + u'/' + RecordFileRewriter::TempFileName();
    if (const FileError error = to.Create(temp, SafeFile::IfTaken::UniqueName))
        return error;
    if (const FileError error = to.TakeGroupAndModeOf(diary.Path()))
        return error;
    if (const FileError error = CopyChecked(from.Descriptor(), to.Descriptor()))
        return error;
    const bool locked = diary.IsLocked();
    if (locked)
        if (const FileError error = RecordFile::LockDescriptor(to.Descriptor()))
            return error;
    if (const FileError error = to.RenameOver(diary.Path()))
        return error;
    diary.CloseInBackground();
    diary.Adopt(to.Release(), locked);
    return {};
}

QDateTime DiaryBackup::TakenAs(const QString& sample, const QString& fileName, bool& keptAtRestore)
{
    const qsizetype stem = sample.lastIndexOf(QStringLiteral("20000101"));
    const QString ending = sample.mid(stem + 8);
    if (!fileName.startsWith(sample.left(stem)) || !fileName.endsWith(ending))
        return {};
    const QString stamp = fileName.mid(stem, fileName.size() - stem - ending.size());
    keptAtRestore = stamp.size() > 8;
    const QDateTime taken(QDate::fromString(stamp, QStringLiteral("yyyyMMdd")), QTime(0, 0));
    return taken.isValid() ? taken : QDateTime::fromString(stamp, QStringLiteral("yyyyMMdd-HHmmss"));
}

QList<DiaryBackup::Generation> DiaryBackup::List(const QString& diaryPath, const QString& folder)
{
    QList<Generation> list;
    const QString own = Sample(diaryPath);
    const QString shared = SharedCopyName(diaryPath, QDate(2000, 1, 1));
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
        bool kept = false;
        QDateTime taken = TakenAs(own, file.fileName(), kept);
        const bool sharedName = !taken.isValid();
        if (sharedName)
            taken = TakenAs(shared, file.fileName(), kept);
        if (!taken.isValid())
            continue;
        const qint64 pages = file.size() / DiaryPage::RecordLength;
        list.push_back({file.absoluteFilePath(), taken, kept, sharedName, qint32(pages),
                        LastPageDate(file.absoluteFilePath(), pages)});
    }
    std::sort(list.begin(), list.end(), [](const Generation& a, const Generation& b) { return a.taken > b.taken; });
    return list;
}
