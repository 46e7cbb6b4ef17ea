#include "core/stats/DiaryTotals.h"
#include "DiaryBuilder.h"
#include "TestRegistry.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/Money.h"
#include "core/platform/RecordFile.h"
#include "core/stats/CharacterCount.h"

#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const DiaryPage::Layout& Body = DiaryPage::Fields[DiaryPage::PageBody];

QByteArray Record(const QString& date, const QString& expense, const QByteArray& body = {})
{
    QByteArray record = DiaryBuilder::Page({date, {}, expense, QStringLiteral("山田太郎"), {}, {}, {}}).ToBytes();
    return record.replace(Body.offset, Body.length, DiaryBuilder::Padded(body, Body.length));
}

QString Day(int year, int month, int day)
{
    return JapaneseLocale::FormatDate(QDate(year, month, day));
}

} // namespace

// The figures of the statistics window, read straight from the diary file.
class DiaryTotalsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QVERIFY(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("DIARY.DAT"));
    }

    void SumsExpensesPerMonth_data()
    {
        QTest::addColumn<QStringList>("pages");    // date, expense, date, expense...
        QTest::addColumn<QList<qint64>>("months"); // January to March 2026, ten-thousandths
        QTest::addColumn<QString>("shownYear");
        QTest::addColumn<QString>("average");
        QTest::addColumn<QStringList>("unreadable");
        QTest::addColumn<int>("undated");
        const QString jan = Day(2026, 1, 5);
        const QString feb = Day(2026, 2, 1);
        QTest::newRow("the sum rounded once")
            << QStringList{jan, u"1,200"_s, jan, u"800"_s, feb, u"500.5"_s} << QList<qint64>{20000000, 5005000, 0}
            << u"\\2,501"_s << u"\\1,250"_s << QStringList{} << 0;
        QTest::newRow("not an amount is listed, an empty field is not")
            << QStringList{jan, u"abc"_s, jan, u""_s, feb, u"300"_s, feb, u"1,2,3x"_s} << QList<qint64>{0, 3000000, 0}
            << u"\\300"_s << u"\\150"_s << QStringList{u"1 2026/01/05 abc"_s, u"4 2026/02/01 1,2,3x"_s} << 0;
        QTest::newRow("a month of pages that spent nothing is averaged")
            << QStringList{jan, u"0"_s, Day(2026, 3, 9), u"\\1,001"_s} << QList<qint64>{0, 0, 10010000} << u"\\1,001"_s
            << u"\\501"_s << QStringList{} << 0;
        QTest::newRow("a page of no date is in no month")
            << QStringList{u"いつか"_s, u"700"_s, u""_s, u"x"_s, jan, u"5"_s} << QList<qint64>{50000, 0, 0} << u"\\5"_s
            << u"\\5"_s << QStringList{u"2  x"_s} << 2;
        QTest::newRow("an amount the month's sum cannot hold is listed")
            << QStringList{jan, u"500000000000000"_s, jan, u"500000000000000"_s}
            << QList<qint64>{5000000000000000000, 0, 0} << u"\\500,000,000,000,000"_s << u"\\500,000,000,000,000"_s
            << QStringList{u"2 2026/01/05 500000000000000"_s} << 0;
        QStringList tenLargest;
        for (int page = 0; page < 10; ++page)
            tenLargest << (page < 5 ? jan : feb) << u"99999999999999"_s;
        QTest::newRow("a year past one amount's range is summed whole")
            << tenLargest << QList<qint64>{4999999999999950000, 4999999999999950000, 0} << u"\\999,999,999,999,990"_s
            << u"\\499,999,999,999,995"_s << QStringList{} << 0;
    }
    void SumsExpensesPerMonth()
    {
        QFETCH(QStringList, pages);
        QFETCH(QList<qint64>, months);
        DiaryBuilder diary;
        for (qsizetype i = 0; i + 1 < pages.size(); i += 2)
            diary.AddRaw(Record(pages[i], pages[i + 1]));
        ExpenseTotals totals;

        QVERIFY(!Read(diary, qint32(pages.size() / 2), totals));

        QCOMPARE(QList<qint64>(totals.months[2026].begin(), totals.months[2026].begin() + 3), months);
        QTEST(Money::FormatShown(totals.YearTotal(2026)), "shownYear");
        QTEST(Money::FormatShown(totals.MonthlyAverage(2026)), "average");
        QStringList unreadable;
        for (const UnreadableExpense& page : totals.unreadable)
            unreadable << u"%1 %2 %3"_s.arg(page.page).arg(page.date.toString(u"yyyy/MM/dd"), page.text);
        QTEST(unreadable, "unreadable");
        QTEST(int(totals.undatedPages), "undated");
    }

    void CountsCharactersAsAPersonDoes_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<qint64>("characters");
        const auto stored = [](const char* text) { return Cp932::Encode(QString::fromUtf8(text)); };
        QTest::newRow("line breaks") << stored("今日は晴れ。\r\n散歩") << qint64(8);
        QTest::newRow("second byte 0x5C, signs") << stored("表ソ能予～①㈱") << qint64(7);
        QTest::newRow("half-width kana, a space") << stored("ｶﾌｪ ﾃﾞｰﾀ") << qint64(7);
        QTest::newRow("full-width space, tab, padding") << stored("\u3000字下げ\tです  ") << qint64(5);
        QTest::newRow("a lead byte without its pair") << QByteArray("\x81 a\x81\x7f") << qint64(4);
        QTest::newRow("a lead byte at the field's end") << QByteArray(Body.length - 1, 'x') + '\x88' << qint64(10000);
        QTest::newRow("a long run of spaces inside")
            << Cp932::Encode(u"本"_s + QString(200, u' ') + u"文"_s) << qint64(2);
        QTest::newRow("empty") << QByteArray() << qint64(0);
    }
    void CountsCharactersAsAPersonDoes()
    {
        QFETCH(QByteArray, stored);
        QFETCH(qint64, characters);
        DiaryBuilder diary;
        diary.AddRaw(Record(Day(2026, 1, 5), u"0"_s, stored));
        WritingTotals totals;

        QVERIFY(!Read(diary, 1, totals));

        QCOMPARE(totals.months[2026][0].characters, characters);
        QCOMPARE(CharacterCount::OfText(Cp932::Decode(DiaryBuilder::Padded(stored, Body.length))), characters);
    }

    void ACharacterOutsideTheBasicPlaneCountsOnce() { QCOMPARE(CharacterCount::OfText(u"𠮷野家 で\n"_s), qint64(4)); }

    void FindsStreaksAndDaysWithoutAPage_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("streak");
        QTest::addColumn<int>("without");
        const QDate today(2026, 12, 8);
        QTest::newRow("a streak into the next year counts in this one") << 2023 << today << 3 << 362;
        QTest::newRow("leap year, a day of two pages once") << 2024 << today << 4 << 360;
        QTest::newRow("this year, up to today") << 2026 << today << 1 << 341;
        QTest::newRow("a year without a page") << 2025 << today << 0 << 365;
        QTest::newRow("a year after today") << 2027 << today << 0 << 0;
    }
    void FindsStreaksAndDaysWithoutAPage()
    {
        QFETCH(int, year);
        QFETCH(QDate, today);
        DiaryBuilder diary;
        const QList<QDate> dates{{2024, 3, 1}, {2023, 12, 29}, {2023, 12, 30}, {2023, 12, 31},
                                 {2024, 1, 1}, {2024, 1, 2},   {2024, 2, 28},  {2024, 2, 29},
                                 {2024, 3, 1}, {2024, 3, 2},   {2026, 12, 1}};
        for (const QDate date : dates)
            diary.AddRaw(Record(JapaneseLocale::FormatDate(date), u"0"_s));
        WritingTotals totals;

        QVERIFY(!Read(diary, qint32(dates.size()), totals));

        QCOMPARE(totals.days.size(), dates.size() - 1);
        QVERIFY(std::is_sorted(totals.days.begin(), totals.days.end()));
        QCOMPARE(totals.months[2024][2].pages, 3);
        QCOMPARE(totals.LongestStreak(), 5);
        QTEST(totals.LongestStreak(year), "streak");
        QTEST(totals.DaysWithoutPage(year, today), "without");
    }

    // Reading the figures never writes, and a page that cannot be read is an
    // error, not a smaller total.
    void LeavesTheFileAsItWasAndReportsWhatCannotBeRead()
    {
        DiaryBuilder diary;
        diary.AddRaw(DiaryBuilder::SampleRecord()).AddRaw(Record(Day(2026, 1, 5), u"10"_s, Cp932::Encode(u"本文"_s)));
        QVERIFY(diary.WriteTo(path_));
        RecordFile file;
        QVERIFY(!file.Open(path_, DiaryPage::RecordLength));
        ExpenseTotals expenses;
        WritingTotals writing;

        QVERIFY(!DiaryTotals::ReadExpenses(file, 2, expenses));
        QVERIFY(!DiaryTotals::ReadWriting(file, 2, writing));
        QCOMPARE(DiaryTotals::ReadExpenses(file, 3, expenses).code, FileError::InputPastEnd);
        QCOMPARE(DiaryTotals::ReadWriting(file, 3, writing).code, FileError::InputPastEnd);

        file.Close();
        QFile written(path_);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), diary.Bytes());
    }

private:
    template <typename Totals> FileError Read(const DiaryBuilder& diary, qint32 pages, Totals& totals)
    {
        RecordFile file;
        if (!diary.WriteTo(path_) || file.Open(path_, DiaryPage::RecordLength))
            return {FileError::PathFileAccess, 0};
        if constexpr (std::is_same_v<Totals, ExpenseTotals>)
            return DiaryTotals::ReadExpenses(file, pages, totals);
        else
            return DiaryTotals::ReadWriting(file, pages, totals);
    }

    QTemporaryDir dir_;
    QString path_;
};

SORAFUMI_TEST(DiaryTotalsTest)
#include "DiaryTotalsTest.moc"
