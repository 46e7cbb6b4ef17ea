#include "core/diary/DateIndexFile.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/crypt/EncryptedRecordFile.h"
#include "core/crypt/KeySlot.h"
#include "core/diary/DateIndex.h"
#include "core/platform/JapaneseLocale.h"

#include <QTest>

using namespace StoreFixture;

namespace {

enum Meanwhile { Nothing, DiaryChanged, ByteFlipped, OtherKey, NoneKept };

QByteArray Dated(QDate date)
{
    return DiaryBuilder::Page(
               {JapaneseLocale::FormatDate(date), {}, QStringLiteral("0"), QStringLiteral("山田太郎"), {}, {}, {}})
        .ToBytes();
}

} // namespace

// An encrypted diary's index of dates kept between runs: taken back only for
// the very diary file it was made from, under its key, and never readable on
// the disk.
class DateIndexFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void LoadsOnlyWhatItSavedForThatFile_data()
    {
        QTest::addColumn<int>("meanwhile");
        QTest::addColumn<bool>("loads");
        QTest::newRow("the diary as it was left") << int(Nothing) << true;
        QTest::newRow("the diary changed since") << int(DiaryChanged) << false;
        QTest::newRow("one byte of the index flipped") << int(ByteFlipped) << false;
        QTest::newRow("another key") << int(OtherKey) << false;
        QTest::newRow("no index kept") << int(NoneKept) << false;
    }
    void LoadsOnlyWhatItSavedForThatFile()
    {
        QFETCH(int, meanwhile);
        QFETCH(bool, loads);
        ScratchFolder scratch;
        const QString path = scratch.FilePath(QStringLiteral("DIARY.sfk"));
        EncryptedRecordFile diary;
        QString code;
        QVERIFY(!diary.Create(path, QStringLiteral("合言葉"), code, DiaryPage::RecordLength));
        for (const QDate date : {QDate(2024, 12, 5), QDate(2026, 12, 5), QDate(2026, 12, 31)})
            QVERIFY(!diary.WriteRecord(diary.RecordCount() + 1, Dated(date)));
        DateIndex built;
        QVERIFY(!built.Build(diary, diary.RecordCount()));
        const FileIdentity saved = FileIdentity::OfOpen(diary).value();
        const auto& seal = static_cast<const PageSeal&>(*diary.Seal());
        if (meanwhile != NoneKept)
            QVERIFY(!DateIndexFile::Save(path, built, saved, seal));
        const QString kept = DateIndexFile::PathFor(path);
        QCOMPARE(QFile::exists(kept), meanwhile != NoneKept);
        QVERIFY(!ReadBytes(kept).contains(built.Days().mid(4)));
        QCOMPARE(QFile::permissions(kept) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

        const PageSeal otherKey(seal.FileId(), DiaryPage::RecordLength, KeySlot::NewDataKey());
        if (meanwhile == DiaryChanged)
            QVERIFY(!diary.WriteRecord(diary.RecordCount() + 1, Dated(QDate(2026, 12, 6))));
        if (meanwhile == ByteFlipped) {
            QByteArray bytes = ReadBytes(kept);
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 1);
            QVERIFY(WriteBytes(kept, bytes));
        }
        DateIndex loaded;
        QCOMPARE(DateIndexFile::Load(path, FileIdentity::OfOpen(diary).value(), meanwhile == OtherKey ? otherKey : seal,
                                     loaded),
                 loads);
        QCOMPARE(loaded.Holds(3), loads);
        QCOMPARE(loaded.DaysOf(2026, 12), (loads ? QList<int>{5, 31} : QList<int>{}));
        QCOMPARE(loaded.FirstPageOf(QDate(2024, 12, 5)), loads ? 1 : 0);
    }
};

SORAFUMI_TEST(DateIndexFileTest)
#include "DateIndexFileTest.moc"
