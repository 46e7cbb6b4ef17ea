#include "core/search/AllHitsSearch.h"
#include "DiaryBuilder.h"
#include "TestRegistry.h"
#include "core/platform/RecordFile.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QString DateOf(int page)
{
    return QDate(2026, 1, 1).addDays(page - 1).toString(QStringLiteral("yyyy年M月d日"));
}

// 250 pages dated from 1 January 2026, so the list takes three reads; the
// given bodies are written on their pages, everyday text on the others.
QByteArray Diary(const QMap<int, QString>& bodies)
{
    DiaryBuilder diary;
    for (int page = 1; page <= 250; ++page)
        diary.Add({DateOf(page), QStringLiteral("木曜日"), QStringLiteral("0"), QStringLiteral("空野太郎"),
                   QStringLiteral("午後 9:00:00"), QStringLiteral("晴れ"),
                   bodies.value(page, QStringLiteral("今日も一日よく働いた。"))});
    return diary.Bytes();
}

using Hits = QList<QPair<int, QString>>; // page and line

} // namespace

class AllHitsSearchTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void ListsEveryPageNewestFirst_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("folded");
        QTest::addColumn<Hits>("hits");
        const QString cut = QStringLiteral("…") + QStringLiteral("あ").repeated(16) + QStringLiteral("カメラ") +
                            QStringLiteral("い").repeated(40) + QStringLiteral("…");
        QTest::newRow("exact") << QStringLiteral("カメラ") << false
                               << Hits{{249, cut},
                                       {240, QStringLiteral("カメラ")},
                                       {120, QStringLiteral("新しいカメラ")}};
        QTest::newRow("folded") << QStringLiteral("かめら") << true
                                << Hits{{249, cut},
                                        {240, QStringLiteral("カメラ")},
                                        {120, QStringLiteral("新しいカメラ")},
                                        {3, QStringLiteral("古いｶﾒﾗを出した")}};
        QTest::newRow("none") << QStringLiteral("雪景色") << false << Hits{};
    }
    void ListsEveryPageNewestFirst()
    {
        QFETCH(QString, typed);
        QFETCH(bool, folded);
        QFETCH(Hits, hits);
        const QString longLine =
            QStringLiteral("あ").repeated(30) + QStringLiteral("カメラ") + QStringLiteral("い").repeated(50);
        const QString path = dir_.filePath(QStringLiteral("DIARY.DAT"));
        QVERIFY(DiaryBuilder()
                    .AddRaw(Diary({{3, QStringLiteral("朝。\r\n古いｶﾒﾗを出した\r\n夜。")},
                                   {120, QStringLiteral("新しいカメラ")},
                                   {240, QStringLiteral("カメラ")},
                                   {249, QStringLiteral("一行目\r\n") + longLine}}))
                    .WriteTo(path));
        RecordFile file;
        QVERIFY(!file.Open(path, DiaryPage::RecordLength));
        AllHitsSearch search(file, typed, 250, folded ? BodySearch::Match::Folded : BodySearch::Match::Exact);
        std::vector<SearchHit> found;
        int reads = 0;
        while (!search.Done() && ++reads < 10)
            QVERIFY(!search.Step(100, found));
        QCOMPARE(reads, 3);

        Hits listed;
        for (const SearchHit& hit : found) {
            listed << QPair<int, QString>{hit.page, hit.line};
            QCOMPARE(hit.date, DateOf(hit.page));
        }
        QCOMPARE(listed, hits);
    }
};

SORAFUMI_TEST(AllHitsSearchTest)
#include "AllHitsSearchTest.moc"
