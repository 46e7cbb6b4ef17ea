#include "core/drafts/DraftFile.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/crypt/KeySlot.h"
#include "core/crypt/PageSeal.h"
#include "core/diary/DiaryPage.h"
#include "core/drafts/DraftWriter.h"

#include <QTest>

using namespace StoreFixture;

namespace {

PageDraft Draft(const QString& body)
{
    PageDraft draft;
    draft.fields = {QStringLiteral("2026年12月10日"), QStringLiteral("午後 2:05:00"), QStringLiteral("木曜日"),
                    QStringLiteral("雪"), QStringLiteral("\\1,500"), QStringLiteral("山田太郎"), body};
    draft.date = QDate(2026, 12, 10);
    draft.nthOfDate = 2;
    draft.page = 41;
    draft.loadedHash = 0x0123456789abcdefULL;
    draft.keptAt = QDateTime(QDate(2026, 12, 10), QTime(14, 5, 7));
    return draft;
}

} // namespace

// The draft on the disk: taken back whole or not at all, unreadable without
// the key of a locked diary, and written off the caller's thread with the
// newest request winning.
class DraftFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QVERIFY(scratch_.isValid());
        qputenv("XDG_STATE_HOME", QFile::encodeName(scratch_.filePath(QStringLiteral("state"))));
    }

    // A draft cut short anywhere or changed in one byte is no draft.
    void TornOrDamagedDraftIsRefused()
    {
        const QByteArray bytes = Draft(QStringLiteral("雪の朝\r\n𠮷野家で朝食")).Encode();
        QCOMPARE(PageDraft::Decode(bytes), std::optional<PageDraft>(Draft(QStringLiteral("雪の朝\r\n𠮷野家で朝食"))));
        for (qsizetype length = 0; length < bytes.size(); ++length)
            QVERIFY2(!PageDraft::Decode(bytes.left(length)), qPrintable(QString::number(length)));
        for (qsizetype at = 0; at < bytes.size(); at += 7) {
            QByteArray flipped = bytes;
            flipped[at] = char(flipped[at] ^ 0x20);
            QVERIFY2(!PageDraft::Decode(flipped), qPrintable(QString::number(at)));
        }
    }

    // A locked diary's draft holds no word in the clear and opens only
    // under its own key.
    void SealedDraftOpensOnlyUnderItsKey()
    {
        const PageSeal seal(QByteArray(16, 'i'), DiaryPage::RecordLength, KeySlot::NewDataKey());
        const PageSeal other(QByteArray(16, 'i'), DiaryPage::RecordLength, KeySlot::NewDataKey());
        const QString diary = scratch_.filePath(QStringLiteral("DIARY.sfk"));
        const PageDraft draft = Draft(QStringLiteral("誰にも見せない言葉"));
        QVERIFY(!DraftFile::Write(DraftFile::PathFor(diary), DraftFile::Stored(draft, &seal)));

        const QByteArray onDisk = ReadBytes(DraftFile::PathFor(diary));
        QVERIFY(!onDisk.contains(QStringLiteral("見せない").toUtf8()));
        QVERIFY(!onDisk.contains(QStringLiteral("山田").toUtf8()));
        QCOMPARE(DraftFile::Read(diary, &seal).draft, draft);
        QCOMPARE(DraftFile::Read(diary, &other).outcome, DraftFile::Found::Outcome::Damaged);
        QCOMPARE(DraftFile::Read(diary, nullptr).outcome, DraftFile::Found::Outcome::Damaged);
    }

    // Only the newest request counts, and a removal is never undone by a
    // write asked before it.
    void WriterKeepsTheNewest()
    {
        const QString diary = scratch_.filePath(QStringLiteral("DIARY.DAT"));
        DraftWriter writer;
        for (int n = 0; n < 50; ++n)
            writer.Write(diary, Draft(QString::number(n)).Encode());
        QVERIFY(!writer.Settle());
        QCOMPARE(DraftFile::Read(diary, nullptr).draft.Field(EntryField::Body), QStringLiteral("49"));
        writer.Write(diary, Draft(QStringLiteral("消える")).Encode());
        writer.Remove(diary);
        QVERIFY(!writer.Settle());
        QCOMPARE(DraftFile::Read(diary, nullptr).outcome, DraftFile::Found::Outcome::None);
        QCOMPARE(QFileInfo(DraftFile::PathFor(diary)).absolutePath(), scratch_.filePath(QStringLiteral("state/日記帳Sorafumi")));
    }

private:
    QTemporaryDir scratch_;
};

SORAFUMI_TEST(DraftFileTest)
#include "DraftFileTest.moc"
