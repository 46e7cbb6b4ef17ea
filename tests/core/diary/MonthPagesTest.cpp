#include "DiaryBuilder.h"
#include "ScratchStoreTest.h"
#include "TestRegistry.h"
#include "core/diary/DiaryStore.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace StoreFixture;

namespace {

const QString Diary = QStringLiteral("DIARY.DAT");

DiaryBuilder::Fields Dated(const QString& date)
{
    return {date, {}, QStringLiteral("0"), QStringLiteral("山田太郎"), QStringLiteral("午後 9:00:00"), {}, {}};
}

} // namespace

class MonthPagesTest : public ScratchStoreTest
{
    Q_OBJECT
private Q_SLOTS:
    void DaysOfAMonth_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<QList<int>>("days");
        QTest::newRow("a day of two pages once, a date with slashes") << 2026 << 11 << QList<int>{2, 8, 16};
        QTest::newRow("the same month a year before") << 2025 << 11 << QList<int>{5};
        QTest::newRow("the last day of a month") << 2026 << 10 << QList<int>{31};
        QTest::newRow("a month without a page") << 2026 << 12 << QList<int>{};
    }
    void DaysOfAMonth()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(QList<int>, days);
        DiaryBuilder builder;
        builder.Add(Dated(QStringLiteral("2026年11月16日")))
            .Add(Dated(QStringLiteral("2025年11月5日")))
            .Add(Dated(QStringLiteral("2026年10月31日")))
            .Add(Dated(QStringLiteral("11月9日ごろ")))
            .Add(Dated(QStringLiteral("2026/11/08")))
            .Add(Dated(QStringLiteral("2026年11月2日")))
            .Add(Dated(QStringLiteral("2026年11月16日")));
        QVERIFY(builder.WriteTo(Diary));
        h_->Start(Diary);
        const QStringList fields = h_->Fields();

        QCOMPARE(h_->store.PageDaysOf(year, month), std::optional<QList<int>>(days));
        QCOMPARE(h_->Fields(), fields);
        QCOMPARE(Shown(h_->prompter), QStringList());
    }

    // Pages cut off behind the diary's back are said to be unreadable, not
    // taken for days without a page.
    void UnreadablePagesAreReported()
    {
        DiaryBuilder builder;
        for (int day = 1; day <= 3; ++day)
            builder.Add(Dated(QStringLiteral("2026年12月%1日").arg(day)));
        QVERIFY(builder.WriteTo(Diary));
        h_->Start(Diary);
        QVERIFY(QFile::resize(Diary, qint64(2) * DiaryPage::RecordLength));
        h_->prompter.AnswerMessage(Prompter::Answer::Ok);

        QVERIFY(!h_->store.PageDaysOf(2026, 12));
        QCOMPARE(Shown(h_->prompter),
                 QStringList{FileErrorBox(QStringLiteral("このﾌｧｲﾙの EOF 記号が標準と異なります。"
                                                         "または EOF 記号を越えてﾃﾞｰﾀを読み込もうとしました。"))});
    }
};

SORAFUMI_TEST(MonthPagesTest)
#include "MonthPagesTest.moc"
