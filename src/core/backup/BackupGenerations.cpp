#include "core/backup/BackupGenerations.h"

#include "core/backup/VerifiedCopy.h"
#include "core/diary/DateField.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/FullTransfer.h"
#include "core/platform/SafeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr DiaryPage::Layout DateLayout = DiaryPage::Fields[DiaryPage::PageDate];

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

QString BackupGenerations::SharedCopyName(const QString& diaryPath, QDate day)
{
    const QFileInfo diary(diaryPath);
    const QString suffix = diary.suffix().isEmpty() ? QStringLiteral("DAT") : diary.suffix();
    return diary.completeBaseName() + u'-' + day.toString(QStringLiteral("yyyyMMdd")) + u'.' + suffix;
}

QString BackupGenerations::CopyName(const QString& diaryPath, QDate day)
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

QString BackupGenerations::Sample(const QString& diaryPath)
{
    return CopyName(diaryPath, QDate(2000, 1, 1));
}

QList<QDate> BackupGenerations::Days(const QString& diaryPath, const QString& folder)
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

QList<QDate> BackupGenerations::Kept(const QList<QDate>& days, Keep keep)
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

void BackupGenerations::RemoveLeftovers(const QString& diaryPath, const QString& folder)
{
    const QString sample = Sample(diaryPath);
    bool kept = false;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*") + VerifiedCopy::PartSuffix()}, QDir::Files))
        if (TakenAs(sample, name.chopped(VerifiedCopy::PartSuffix().size()), kept).isValid())
            SafeFile::RemoveOwn(QDir(folder).filePath(name));
}

void BackupGenerations::RemoveOld(const QString& diaryPath, const QString& folder, Keep keep)
{
    const QList<QDate> days = Days(diaryPath, folder);
    const QList<QDate> kept = Kept(days, keep);
    for (const QDate& day : days)
        if (!kept.contains(day))
            SafeFile::RemoveOwn(QDir(folder).filePath(CopyName(diaryPath, day)));
    // A removal the folder forgets in a power cut only brings an old copy
    // back: nothing of the diary is at stake.
    SafeFile::FlushFolder(folder);
}

QDateTime BackupGenerations::TakenAs(const QString& sample, const QString& fileName, bool& keptAtRestore)
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

QList<BackupGenerations::Generation> BackupGenerations::List(const QString& diaryPath, const QString& folder)
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

QString BackupGenerations::KeptCopyName(const QString& diaryPath, const QDateTime& taken)
{
    const QString name = CopyName(diaryPath, taken.date());
    const qsizetype dot = name.lastIndexOf(u'.');
    return name.left(dot) + u'-' + taken.toString(QStringLiteral("HHmmss")) + name.mid(dot);
}
