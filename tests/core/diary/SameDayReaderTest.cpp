#include "core/diary/SameDayReader.h"
#include "ScratchStoreTest.h"
#include "TestRegistry.h"
#include "core/platform/JapaneseLocale.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace StoreFixture;

namespace {

const QString Diary = QStringLiteral("DIARY.DAT");

DiaryBuilder::Fields Dated(QDate date, const QString& expense = QStringLiteral("0"), const QString& body = {})
{
    return {JapaneseLocale::FormatDate(date),
            JapaneseLocale::FormatWeekday(date),
            expense,
            QStringLiteral("山田太郎"),
            QStringLiteral("午後 9:00:00"),
            QStringLiteral("晴れ"),
            body};
}

} // namespace

// The pages of one day in the other years, as the list beside the main
// window shows them.
class SameDayReaderTest : public ScratchStoreTest
{
    Q_OBJECT
private Q_SLOTS:
    void ListsTheOtherYearsNewestFirst_data()
    {
        QTest::addColumn<QDate>("shown");
        QTest::addColumn<QList<qint32>>("pages");
        QTest::newRow("8 December") << QDate(2026, 12, 8) << QList<qint32>{4, 1, 11, 2};
        QTest::newRow("29 February") << QDate(2028, 2, 29) << QList<qint32>{3, 6};
        QTest::newRow("1 March of a leap year") << QDate(2024, 3, 1) << QList<qint32>{9};
        QTest::newRow("no other year") << QDate(2026, 12, 7) << QList<qint32>{};
        QTest::newRow("no date") << QDate() << QList<qint32>{};
    }
    void ListsTheOtherYearsNewestFirst()
    {
        QFETCH(QDate, shown);
        QFETCH(QList<qint32>, pages);
        DiaryBuilder diary;
        for (const QDate date : {QDate(2021, 12, 8), QDate(2019, 12, 8), QDate(2024, 2, 29), QDate(2025, 12, 8),
                                 QDate(2023, 2, 28), QDate(2020, 2, 29), QDate(2026, 12, 8), QDate(2026, 12, 7),
                                 QDate(2023, 3, 1), QDate(2028, 2, 29), QDate(2021, 12, 8)})
            diary.Add(Dated(date));
        QVERIFY(diary.WriteTo(Diary));
        h_->Start(Diary);

        const std::optional<std::vector<SameDayPage>> found = h_->store.SameDayPages(shown);

        QVERIFY(found);
        QList<qint32> listed;
        for (const SameDayPage& page : *found)
            listed << page.page;
        QCOMPARE(listed, pages);
    }

    void ReadsWhatTheListShows()
    {
        // A first line longer than one piece of the body that is read at a time.
        const QString longLine = QString(300, u'雪');
        DiaryBuilder diary;
        diary.Add(Dated(QDate(2023, 12, 8), QStringLiteral("-200")));
        diary.Add(Dated(QDate(2024, 12, 8), QStringLiteral("1500"), longLine + QStringLiteral("\r\n二行目")));
        diary.Add(Dated(QDate(2025, 12, 8), QStringLiteral("0"), QStringLiteral("  一行だけ")));
        diary.Add(Dated(QDate(2026, 12, 8)));
        QVERIFY(diary.WriteTo(Diary));
        h_->Start(Diary);

        const std::optional<std::vector<SameDayPage>> found = h_->store.SameDayPages(QDate(2026, 12, 8));

        QVERIFY(found && found->size() == 3);
        const SameDayPage& newest = (*found)[0];
        const SameDayPage& older = (*found)[1];
        QCOMPARE(
            QStringList({newest.weekday, newest.weather, newest.expense, newest.firstLine}),
            QStringList({QStringLiteral("月曜日"), QStringLiteral("晴れ"), QString(), QStringLiteral("一行だけ")}));
        QCOMPARE(QStringList({older.date.toString(Qt::ISODate), older.expense, older.firstLine}),
                 QStringList({QStringLiteral("2024-12-08"), QStringLiteral("\\1,500"), longLine}));
        QCOMPARE((*found)[2].expense, QStringLiteral("(\\200)"));
    }

    // Pages cut off behind the diary's back are said to be unreadable, not
    // taken for days without a page.
    void UnreadablePagesAreReported()
    {
        DiaryBuilder diary;
        for (int year = 2020; year <= 2026; ++year)
            diary.Add(Dated(QDate(year, 12, 8)));
        QVERIFY(diary.WriteTo(Diary));
        h_->Start(Diary);
        QVERIFY(QFile::resize(Diary, qint64(3) * DiaryPage::RecordLength));
        h_->prompter.AnswerMessage(Prompter::Answer::Ok);

        QVERIFY(!h_->store.SameDayPages(QDate(2026, 12, 8)));
        QCOMPARE(Shown(h_->prompter),
                 QStringList{FileErrorBox(QStringLiteral("このﾌｧｲﾙの EOF 記号が標準と異なります。"
                                                         "または EOF 記号を越えてﾃﾞｰﾀを読み込もうとしました。"))});
    }
};

SORAFUMI_TEST(SameDayReaderTest)
#include "SameDayReaderTest.moc"
