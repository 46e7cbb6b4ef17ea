#include "core/diary/DateIndex.h"
#include "ScratchStoreTest.h"
#include "ScriptedMergeChooser.h"
#include "TestRegistry.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/RecordFile.h"

#include <QTest>
#include <algorithm>

using namespace StoreFixture;

namespace {

const QString Diary = QStringLiteral("DIARY.DAT");

QByteArray Dated(const QString& date)
{
    return DiaryBuilder::Page({date, {}, QStringLiteral("0"), QStringLiteral("山田太郎"), {}, {}, {}}).ToBytes();
}

QByteArray Dated(QDate date)
{
    return Dated(JapaneseLocale::FormatDate(date));
}

// Two pages of one date, one of no date, the same day in three years.
QByteArray Pages()
{
    return Dated(QDate(2024, 12, 5)) + Dated(QDate(2025, 12, 5)) + Dated(QStringLiteral("いつか")) +
           Dated(QDate(2026, 12, 5)) + Dated(QDate(2026, 12, 6)) + Dated(QDate(2026, 12, 5));
}

enum Write { Redated, Undated, Added, Deleted, Compacted, Imported, Restored, Delivered, ChangedInPlace, Merged };

const QList<QDate> Probes = {QDate(2019, 12, 5), QDate(2020, 12, 5), QDate(2023, 12, 5), QDate(2024, 12, 5),
                             QDate(2025, 12, 5), QDate(2026, 12, 5), QDate(2026, 12, 6), QDate(2026, 12, 7)};

// The first page of each probe, the marks of two months and the same day's pages.
template <typename FirstPage, typename Days, typename SameDay>
QStringList Answers(FirstPage firstPage, Days days, SameDay sameDay)
{
    QStringList answers;
    for (const QDate date : Probes)
        answers << date.toString(Qt::ISODate) + u'>' + QString::number(firstPage(date));
    for (const int year : {2023, 2026})
        for (const int day : days(year))
            answers << QStringLiteral("%1-12-%2 marked").arg(year).arg(day);
    QList<qint32> pages;
    for (const SameDayPage& page : sameDay(QDate(2026, 12, 5)))
        pages << page.page;
    std::sort(pages.begin(), pages.end());
    for (const qint32 page : pages)
        answers << QStringLiteral("same day: page %1").arg(page);
    return answers;
}

QStringList StoreAnswers(DiaryStore& store)
{
    return Answers([&](QDate date) { return store.FindDatePage(date).value_or(-1); },
                   [&](int year) { return store.PageDaysOf(year, 12).value_or(QList<int>{-1}); },
                   [&](QDate date) { return store.SameDayPages(date).value_or(std::vector<SameDayPage>{}); });
}

QStringList ScannedAnswers(const QString& path, qint32 pageCount)
{
    RecordFile file;
    DateIndex fresh;
    if (file.Open(path, DiaryPage::RecordLength) || fresh.Build(file, pageCount))
        return {QStringLiteral("the file could not be read")};
    return Answers([&](QDate date) { return fresh.FirstPageOf(date); },
                   [&](int year) { return fresh.DaysOf(year, 12); }, [&](QDate date) { return fresh.SameDayAs(date); });
}

} // namespace

// The calendar, its marks and the same day answer from the index of dates
// the store keeps: after every kind of write it answers as the file does.
class DateIndexTest : public ScratchStoreTest
{
    Q_OBJECT
private Q_SLOTS:
    void AnswersAsTheFileAfterEveryWrite_data()
    {
        QTest::addColumn<int>("write");
        QTest::newRow("a page stored under another date") << int(Redated);
        QTest::newRow("a page stored under no date") << int(Undated);
        QTest::newRow("a page added") << int(Added);
        QTest::newRow("a page deleted") << int(Deleted);
        QTest::newRow("the diary compacted") << int(Compacted);
        QTest::newRow("pages imported") << int(Imported);
        QTest::newRow("a backup restored") << int(Restored);
        QTest::newRow("a new version delivered") << int(Delivered);
        QTest::newRow("the file written in place") << int(ChangedInPlace);
        QTest::newRow("a conflict copy merged") << int(Merged);
    }
    void AnswersAsTheFileAfterEveryWrite()
    {
        QFETCH(int, write);
        const QString path = scratch_->FilePath(Diary);
        const QString other = scratch_->FilePath(QStringLiteral("DIARY.sync-conflict-20261202-081500-K3QXW7A.DAT"));
        // As many pages as ours: only their dates tell them apart.
        const QByteArray theirs = Dated(QDate(2019, 12, 5)) + Pages().mid(DiaryPage::RecordLength);
        // A half record after the pages is what compaction cuts off.
        QVERIFY(WriteBytes(path, Pages() + (write == Compacted ? QByteArray(100, ' ') : QByteArray())));
        h_->app.BackupFolder = scratch_->FilePath(QStringLiteral("backups"));
        ScriptedMergeChooser chooser;
        chooser.answer = std::vector<Resolution>(10, Resolution::KeepBoth);
        h_->store.SetMergeChooser(&chooser);
        h_->Start(path);
        h_->Show(2);
        QCOMPARE(StoreAnswers(h_->store), ScannedAnswers(path, h_->store.PageCount()));

        switch (Write(write)) {
        case Redated:
        case Undated:
            h_->view.fields[int(EntryField::Date)] =
                write == Redated ? JapaneseLocale::FormatDate(QDate(2023, 12, 5)) : QStringLiteral("未定");
            QVERIFY(h_->store.StorePage());
            break;
        case Added:
            h_->store.AddPage();
            break;
        case Deleted:
            h_->prompter.AnswerMessage(Prompter::Answer::Yes);
            h_->store.DeletePage();
            break;
        case Compacted:
            QVERIFY(h_->store.CompactDiary());
            break;
        case Imported:
            QVERIFY(h_->store.AppendPages(Dated(QDate(2020, 12, 5)) + Dated(QDate(2023, 12, 5))));
            break;
        case Restored:
            QVERIFY(WriteBytes(other, theirs));
            QVERIFY(h_->store.RestoreBackup(other));
            break;
        case Delivered:
            QVERIFY(WriteBytes(other, theirs));
            QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()) == 0);
            QVERIFY(h_->store.DiaryFileChanged());
            break;
        case ChangedInPlace:
            QVERIFY(WriteBytes(path, theirs));
            QVERIFY(h_->store.DiaryFileChanged());
            break;
        case Merged:
            QVERIFY(WriteBytes(other, theirs));
            h_->prompter.AnswerMessage(Prompter::Answer::Yes);
            h_->store.OfferConflictCopies();
            QVERIFY(!QFile::exists(other));
            break;
        }

        QCOMPARE(Shown(h_->prompter).filter(QStringLiteral("ｴﾗｰ")), QStringList());
        QCOMPARE(StoreAnswers(h_->store), ScannedAnswers(path, h_->store.PageCount()));
    }
};

SORAFUMI_TEST(DateIndexTest)
#include "DateIndexTest.moc"
