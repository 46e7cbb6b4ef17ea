#include "core/backup/DiaryBackup.h"
#include "ScratchStoreTest.h"
#include "TestRegistry.h"
#include "core/platform/JapaneseLocale.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace StoreFixture;

namespace {

const QString Diary = QStringLiteral("DIARY.DAT");

DiaryBuilder::Fields Dated(QDate date)
{
    return {JapaneseLocale::FormatDate(date),
            JapaneseLocale::FormatWeekday(date),
            QStringLiteral("0"),
            QStringLiteral("山田太郎"),
            QStringLiteral("午後 9:00:00"),
            QStringLiteral("晴れ"),
            QStringLiteral("本文")};
}

QStringList Names(const QDir& folder)
{
    return folder.entryList(QDir::Files, QDir::Name);
}

} // namespace

// The daily copies of the diary, taken as the store writes on a new day.
class DiaryBackupTest : public ScratchStoreTest
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        ScratchStoreTest::init();
        if (!h_)
            return;
        h_->app.BackupFolder = scratch_->FilePath(QStringLiteral("backups"));
        h_->app.BackupDaily = 7;
        h_->app.BackupWeekly = 4;
        QVERIFY(WriteBytes(Diary, DiaryBuilder::SampleRecord()));
    }
    void ThirtyDaysKeepTheGenerations_data()
    {
        QTest::addColumn<int>("daily");
        QTest::addColumn<int>("weekly");
        QTest::addColumn<QString>("days");
        // The thirty days end on Monday 7 December 2026.
        QTest::newRow("7 days, 4 weeks") << 7 << 4
                                         << QStringLiteral("1108 1115 1122 1129 1201 1202 1203 1204 1205 1206 1207");
        QTest::newRow("2 days") << 2 << 0 << QStringLiteral("1206 1207");
        QTest::newRow("2 weeks") << 0 << 2 << QStringLiteral("1206 1207");
        QTest::newRow("1 day, 1 week") << 1 << 1 << QStringLiteral("1206 1207");
        QTest::newRow("none") << 0 << 0 << QString();
    }

    // Two saves a day for thirty days; the copy of each day holds the diary
    // as it was before that day's first save.
    void ThirtyDaysKeepTheGenerations()
    {
        QFETCH(int, daily);
        QFETCH(int, weekly);
        QFETCH(QString, days);
        QStringList kept;
        for (const QString& day : days.split(u' ', Qt::SkipEmptyParts))
            kept << BackupGenerations::CopyName(
                Diary, QDate::fromString(QStringLiteral("2026") + day, QStringLiteral("yyyyMMdd")));
        h_->app.BackupDaily = daily;
        h_->app.BackupWeekly = weekly;
        h_->Start(Diary);
        QByteArray before;
        for (QDate day = QDate(2026, 11, 8); day <= QDate(2026, 12, 7); day = day.addDays(1)) {
            h_->clock.Set(QDateTime(day, QTime(21, 0)));
            before = ReadBytes(Diary);
            h_->store.AddPage();
            h_->store.AddPage();
        }
        const QDir backups(h_->app.BackupFolder);
        QCOMPARE(Names(backups), kept);
        if (!kept.isEmpty())
            QCOMPARE(ReadBytes(backups.filePath(kept.last())), before);
        QCOMPARE(h_->store.PageCount(), 61);
        QCOMPARE(Shown(h_->prompter), QStringList());
    }

    // A backups folder on a full disk: one message, no part of a copy left
    // behind, and the pages are saved all the same.
    void FullBackupDiskSavesTheDiary()
    {
        if (const QString why = scratch_->MountSmallDisk(16); !why.isEmpty())
            QSKIP(qPrintable(why));
        DiaryBuilder diary;
        for (int page = 0; page < 3; ++page)
            diary.AddRaw(DiaryBuilder::SampleRecord());
        QVERIFY(diary.WriteTo(Diary));
        h_->app.BackupFolder = scratch_->Disk().Path();
        h_->Start(Diary);

        h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        h_->store.AddPage();
        h_->store.AddPage();

        QCOMPARE(
            Shown(h_->prompter),
            QStringList{FileErrorBox(QStringLiteral("日記のﾊﾞｯｸｱｯﾌﾟを作成できませんでした。日記はそのまま保存します。\r"
                                                    "ﾃﾞｨｽｸがいっぱいです。\r") +
                                     scratch_->Disk().Path())});
        QCOMPARE(Names(QDir(scratch_->Disk().Path())), QStringList());
        QCOMPARE(h_->store.PageCount(), 5);
        QCOMPARE(ReadBytes(Diary).size(), 5 * DiaryPage::RecordLength);
    }

    // A page deleted by mistake comes back with yesterday's copy, and the
    // diary as it was before the restore is kept beside the copies.
    void RestoreBringsBackADeletedPage()
    {
        DiaryBuilder diary;
        for (int day = 1; day <= 3; ++day)
            diary.Add(Dated(QDate(2026, 12, day)));
        QVERIFY(diary.WriteTo(Diary));
        h_->Start(Diary);
        h_->clock.Set(Now().addDays(-1));
        const QByteArray yesterday = ReadBytes(Diary);
        h_->store.AddPage();
        h_->clock.Set(Now());
        h_->Show(2);
        h_->prompter.AnswerMessage(Prompter::Answer::Yes);
        h_->store.DeletePage();
        const QByteArray mistaken = ReadBytes(Diary);
        QCOMPARE(mistaken.size(), 3 * DiaryPage::RecordLength);

        const QList<BackupGenerations::Generation> copies = BackupGenerations::List(Diary, h_->app.BackupFolder);
        QCOMPARE(copies.size(), 2);
        QCOMPARE(StampOf(h_->app.BackupFolder).mode, mode_t(0700));
        QVERIFY(h_->store.RestoreBackup(copies[1].path));

        QCOMPARE(ReadBytes(Diary), yesterday);
        QCOMPARE(h_->store.PageCount(), 3);
        QCOMPARE(h_->store.CurrentPage(), 3);
        QCOMPARE(h_->store.ShownDate(), QDate(2026, 12, 3));
        const QList<BackupGenerations::Generation> after = BackupGenerations::List(Diary, h_->app.BackupFolder);
        QCOMPARE(after.size(), 3);
        QVERIFY(after[0].keptAtRestore);
        QCOMPARE(after[0].taken, Now());
        QCOMPARE(ReadBytes(after[0].path), mistaken);
        QCOMPARE(std::pair(after[2].pages, after[2].lastPage), std::pair(3, QDate(2026, 12, 3)));
        QCOMPARE(Shown(h_->prompter).size(), 1);
    }

    // Two restores within a second keep both diaries, and a copy a crash cut
    // short under its temporary name goes with the next copy.
    void EveryKeptDiaryStaysAndLeftoversGo()
    {
        const QString folder = h_->app.BackupFolder;
        QVERIFY(DiaryBackup::MakeFolder(folder));
        const QString name = BackupGenerations::CopyName(Diary, QDate(2026, 12, 7)).chopped(4);
        QVERIFY(WriteBytes(QDir(folder).filePath(name + QStringLiteral("-235959.DAT.part")), "cut short"));
        QVERIFY(!DiaryBackup::KeepCurrent(Diary, folder, Now()));
        QVERIFY(!DiaryBackup::KeepCurrent(Diary, folder, Now()));

        QCOMPARE(Names(QDir(folder)),
                 QStringList({name + QStringLiteral("-093000.DAT"), name + QStringLiteral("-093001.DAT")}));
    }

    // Deleting the only page deletes the diary file; the day's copy keeps it.
    void DeletedDiaryIsKept()
    {
        h_->Start(Diary);
        const QByteArray before = ReadBytes(Diary);
        h_->prompter.AnswerMessage(Prompter::Answer::Yes);
        h_->prompter.AnswerMessage(Prompter::Answer::Yes);
        h_->store.DeletePage();
        QVERIFY(!QFile::exists(Diary));
        QCOMPARE(ReadBytes(QDir(h_->app.BackupFolder).filePath(BackupGenerations::CopyName(Diary, QDate(2026, 12, 7)))),
                 before);
    }

    void EveryChangeIsBackedUpFirst_data()
    {
        QTest::addColumn<QString>("change");
        for (const char* change : {"store", "add", "delete", "compact", "import", "restore"})
            QTest::newRow(change) << QString::fromLatin1(change);
    }

    // Whatever changes the diary first on a new day, the day's copy holds the
    // diary as it was before.
    void EveryChangeIsBackedUpFirst()
    {
        QFETCH(QString, change);
        DiaryBuilder diary;
        for (int day = 1; day <= 3; ++day)
            diary.Add(Dated(QDate(2026, 12, day)));
        if (change == u"compact")
            diary.AddRaw(DiaryBuilder::SampleRecord().left(100));
        QVERIFY(diary.WriteTo(Diary));
        const QString older =
            QDir(h_->app.BackupFolder).filePath(BackupGenerations::CopyName(Diary, QDate(2026, 12, 1)));
        QVERIFY(DiaryBackup::MakeFolder(h_->app.BackupFolder) && WriteBytes(older, DiaryBuilder::SampleRecord()));
        const QByteArray before = ReadBytes(Diary);
        h_->Start(Diary);

        if (change == u"store") {
            h_->view.SetFieldText(EntryField::Body, QStringLiteral("書き直した"));
            QVERIFY(h_->store.StorePage());
        } else if (change == u"add") {
            h_->store.AddPage();
        } else if (change == u"delete") {
            h_->prompter.AnswerMessage(Prompter::Answer::Yes);
            h_->store.DeletePage();
        } else if (change == u"compact") {
            QVERIFY(h_->store.CompactDiary());
        } else if (change == u"import") {
            QVERIFY(h_->store.AppendPages(DiaryBuilder::Page(Dated(QDate(2026, 12, 4))).ToBytes()));
        } else {
            QVERIFY(h_->store.RestoreBackup(older));
        }

        QVERIFY(ReadBytes(Diary) != before);
        QCOMPARE(ReadBytes(QDir(h_->app.BackupFolder).filePath(BackupGenerations::CopyName(Diary, QDate(2026, 12, 7)))),
                 before);
    }

    // Two diaries of one name in two folders keep copies of their own: each
    // is copied the same day, lists only its own copies and those of the name
    // both share, and keeping fewer of one removes none of the other's.
    void DiariesOfOneNameKeepTheirOwnCopies()
    {
        const QString folder = h_->app.BackupFolder;
        QVERIFY(QDir().mkpath(QStringLiteral("a")) && QDir().mkpath(QStringLiteral("b")));
        const QString a = QStringLiteral("a/NIKKI.DAT");
        const QString b = QStringLiteral("b/NIKKI.DAT");
        QVERIFY(WriteBytes(a, DiaryBuilder::SampleRecord()) &&
                WriteBytes(b, DiaryBuilder::Page(Dated(Now().date())).ToBytes()));
        QVERIFY(DiaryBackup::MakeFolder(folder));
        QVERIFY(WriteBytes(QDir(folder).filePath(QStringLiteral("NIKKI-20261101.DAT")), DiaryBuilder::SampleRecord()));

        QVERIFY(!DiaryBackup::Take(a, folder, QDate(2026, 12, 6), {7, 0}));
        QVERIFY(!DiaryBackup::Take(b, folder, QDate(2026, 12, 6), {7, 0}));
        QVERIFY(!DiaryBackup::Take(a, folder, QDate(2026, 12, 7), {1, 0}));

        const QList<BackupGenerations::Generation> ofB = BackupGenerations::List(b, folder);
        QCOMPARE(ofB.size(), 2);
        QCOMPARE(ReadBytes(ofB[0].path), ReadBytes(b));
        QVERIFY(!ofB[0].sharedName && ofB[1].sharedName);
        const QList<BackupGenerations::Generation> ofA = BackupGenerations::List(a, folder);
        QCOMPARE(ofA.size(), 2);
        QCOMPARE(std::pair(ofA[0].taken.date(), ReadBytes(ofA[0].path)), std::pair(QDate(2026, 12, 7), ReadBytes(a)));
        QVERIFY(ofA[1].sharedName);
    }
};

SORAFUMI_TEST(DiaryBackupTest)
#include "DiaryBackupTest.moc"
