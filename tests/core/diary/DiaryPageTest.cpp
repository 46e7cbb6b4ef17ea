#include "core/diary/DiaryPage.h"
#include "DiaryBuilder.h"
#include "TestRegistry.h"

#include <QTest>

namespace {

// A page with a different text in every field.
DiaryPage SamplePage()
{
    DiaryPage page;
    page.Assign(DiaryPage::PageDate, QStringLiteral("2001年5月14日"));
    page.Assign(DiaryPage::PageWeekday, QStringLiteral("月曜日"));
    page.Assign(DiaryPage::PageExpense, QStringLiteral("1500"));
    page.Assign(DiaryPage::PageSignature, QStringLiteral("山田太郎"));
    page.Assign(DiaryPage::PageTime, QStringLiteral("午後 3:05:09"));
    page.Assign(DiaryPage::PageWeather, QStringLiteral("晴れ"));
    page.Assign(DiaryPage::PageBody, QStringLiteral("今日は\r\n晴れ。"));
    return page;
}

void AddSampleFieldRows()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("date") << int(DiaryPage::PageDate) << 0 << 15 << QByteArray::fromHex("32303031944e358c8e313493fa")
                          << QStringLiteral("2001年5月14日");
    QTest::newRow("weekday") << int(DiaryPage::PageWeekday) << 15 << 15 << QByteArray::fromHex("8c8e976a93fa")
                             << QStringLiteral("月曜日");
    QTest::newRow("expense") << int(DiaryPage::PageExpense) << 30 << 15 << QByteArray("1500") << QStringLiteral("1500");
    QTest::newRow("signature") << int(DiaryPage::PageSignature) << 45 << 15 << QByteArray::fromHex("8e52936391be9859")
                               << QStringLiteral("山田太郎");
    QTest::newRow("time") << int(DiaryPage::PageTime) << 60 << 15 << QByteArray::fromHex("8cdf8ce320333a30353a3039")
                          << QStringLiteral("午後 3:05:09");
    QTest::newRow("weather") << int(DiaryPage::PageWeather) << 75 << 15 << QByteArray::fromHex("90b082ea")
                             << QStringLiteral("晴れ");
    QTest::newRow("body") << int(DiaryPage::PageBody) << 90 << 10000
                          << QByteArray::fromHex("8da193fa82cd0d0a90b082ea8142") << QStringLiteral("今日は\r\n晴れ。");
}

} // namespace

class DiaryPageTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void BlankPageIsAllSpaces()
    {
        const QByteArray record = DiaryPage().ToBytes();
        QCOMPARE(record.size(), 10090);
        QVERIFY(record == QByteArray(10090, ' '));
    }

    void ToBytesPlacesEveryField_data() { AddSampleFieldRows(); }
    void ToBytesPlacesEveryField()
    {
        QFETCH(int, offset);
        QFETCH(int, length);
        QFETCH(QByteArray, bytes);
        const QByteArray record = SamplePage().ToBytes();
        QCOMPARE(record.size(), 10090);
        QCOMPARE(record.mid(offset, length).toHex(), DiaryBuilder::Padded(bytes, length).toHex());
    }

    void FieldFromBytes_data() { AddSampleFieldRows(); }
    void FieldFromBytes()
    {
        QFETCH(int, field);
        QFETCH(int, length);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        // The padding is decoded with the text: one space for each space byte.
        const QString padding(length - bytes.size(), u' ');
        QCOMPARE(DiaryPage::FieldFromBytes(DiaryBuilder::SampleRecord(), DiaryPage::Field(field)), text + padding);
    }

    void FromBytesReadsEveryField_data() { AddSampleFieldRows(); }
    void FromBytesReadsEveryField()
    {
        QFETCH(int, field);
        QFETCH(int, length);
        QFETCH(QString, text);
        const DiaryPage page = DiaryPage::FromBytes(DiaryBuilder::SampleRecord());
        QCOMPARE(page.Text(DiaryPage::Field(field)), DiaryBuilder::Padded(text, length));
    }

    void Assign_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept"); // before the padding
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("short text is padded") << int(DiaryPage::PageWeather) << QStringLiteral("晴れ")
                                              << QStringLiteral("晴れ") << QByteArray::fromHex("90b082ea");
        QTest::newRow("empty text") << int(DiaryPage::PageSignature) << QString() << QString() << QByteArray();
        QTest::newRow("leading spaces are kept") << int(DiaryPage::PageWeather) << QStringLiteral("  晴れ")
                                                 << QStringLiteral("  晴れ") << QByteArray::fromHex("202090b082ea");
        QTest::newRow("exactly 15 characters") << int(DiaryPage::PageDate) << QStringLiteral("2001/05/14 9:00")
                                               << QStringLiteral("2001/05/14 9:00") << QByteArray("2001/05/14 9:00");
        // Cut to 15 characters in memory; on disk the 15 bytes end before the
        // double-byte character that would not fit.
        QTest::newRow("20-character date keeps 15")
            << int(DiaryPage::PageDate) << QStringLiteral("2001年5月14日(月)晴れ時々曇り!")
            << QStringLiteral("2001年5月14日(月)晴れ") << QByteArray::fromHex("32303031944e358c8e313493fa28");
        QTest::newRow("character outside the BMP is not halved")
            << int(DiaryPage::PageWeather) << QStringLiteral("abcdefghijklmn😀") << QStringLiteral("abcdefghijklmn")
            << QByteArray("abcdefghijklmn");
        QTest::newRow("body of 10001 characters keeps 10000")
            << int(DiaryPage::PageBody) << QString(10001, u'x') << QString(10000, u'x') << QByteArray(10000, 'x');
    }
    void Assign()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QFETCH(QByteArray, bytes);
        const DiaryPage::Layout& layout = DiaryPage::Fields[size_t(field)];
        DiaryPage page;
        page.Assign(DiaryPage::Field(field), text);
        QCOMPARE(page.Text(DiaryPage::Field(field)), DiaryBuilder::Padded(kept, layout.length));
        QCOMPARE(page.ToBytes().mid(layout.offset, layout.length).toHex(),
                 DiaryBuilder::Padded(bytes, layout.length).toHex());
    }

    // A record this program wrote reads back into the same record, byte for
    // byte, so loading and storing an unchanged page changes nothing on disk.
    void RecordRoundTrip_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("trail byte 0x5C") << int(DiaryPage::PageWeather) << QByteArray::fromHex("975c92e8835c")
                                         << QStringLiteral("予定ソ");
        QTest::newRow("half-width kana") << int(DiaryPage::PageSignature) << QByteArray::fromHex("b1b2b3de")
                                         << QStringLiteral("ｱｲｳﾞ");
        QTest::newRow("backslash expense")
            << int(DiaryPage::PageExpense) << QByteArray("\\1,500") << QStringLiteral("\\1,500");
        QTest::newRow("7 double-byte characters and one byte")
            << int(DiaryPage::PageDate) << QByteArray::fromHex("82a082a282a482a682a882a982ab") + 'x'
            << QStringLiteral("あいうえおかきx");
        QTest::newRow("full-width spaces")
            << int(DiaryPage::PageWeather) << QByteArray::fromHex("814090b082ea8140") << QStringLiteral("　晴れ　");
        QTest::newRow("body with line breaks")
            << int(DiaryPage::PageBody) << QByteArray::fromHex("92a90d0a96e90d0a0d0a")
            << QStringLiteral("朝\r\n夜\r\n\r\n");
        QTest::newRow("body filled with double-byte characters")
            << int(DiaryPage::PageBody) << QByteArray::fromHex("82a0").repeated(5000)
            << QStringLiteral("あ").repeated(5000);
    }
    void RecordRoundTrip()
    {
        QFETCH(int, field);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const DiaryPage::Layout& layout = DiaryPage::Fields[size_t(field)];
        QByteArray record = DiaryBuilder::SampleRecord();
        record.replace(layout.offset, layout.length, DiaryBuilder::Padded(bytes, layout.length));

        const DiaryPage page = DiaryPage::FromBytes(record);
        QCOMPARE(page.Text(DiaryPage::Field(field)), DiaryBuilder::Padded(text, layout.length));
        QCOMPARE(page.ToBytes().toHex(), record.toHex());
    }

    // Bytes from elsewhere that are not cp932 must neither crash nor spill
    // into the neighbouring field.
    void UndecodableBytes()
    {
        QByteArray record = DiaryBuilder::SampleRecord();
        // A date whose last byte starts a double-byte character, and a weekday
        // that begins with a byte that could have been its second half.
        record.replace(0, 15, QByteArray("abcdefghijklmn") + char(0x95));
        record.replace(15, 15, DiaryBuilder::Padded(QByteArray("\\abc"), 15));
        // Bytes that stand for no character at all.
        record.replace(90, 6, QByteArray::fromHex("418042854043"));

        const DiaryPage page = DiaryPage::FromBytes(record);
        QCOMPARE(page.Text(DiaryPage::PageDate), QStringLiteral("abcdefghijklmn\uFFFD"));
        QCOMPARE(page.Text(DiaryPage::PageWeekday), DiaryBuilder::Padded(QStringLiteral("\\abc"), 15));
        QCOMPARE(page.Text(DiaryPage::PageExpense), DiaryBuilder::Padded(QStringLiteral("1500"), 15));
        QCOMPARE(page.Text(DiaryPage::PageBody).left(12), QStringLiteral("A\uFFFDB\uFFFD@C\r\n晴れ。 "));

        // Written back, each unreadable character becomes "?" and every other
        // byte of the record stays where it was.
        QByteArray expected = record;
        expected.replace(0, 15, "abcdefghijklmn?");
        expected.replace(90, 6, "A?B?@C");
        QCOMPARE(page.ToBytes().toHex(), expected.toHex());

        // Reading the same bytes twice gives the same page, so a page that was
        // only looked at never counts as changed.
        QVERIFY(DiaryPage::FromBytes(record) == page);
    }

    void ComparisonIsExact_data()
    {
        QTest::addColumn<QString>("other");
        QTest::newRow("case") << QStringLiteral("SUNNY");
        QTest::newRow("width") << QStringLiteral("ｓｕｎｎｙ");
        QTest::newRow("a trailing space") << QStringLiteral("sunny ");
    }
    void ComparisonIsExact()
    {
        QFETCH(QString, other);
        DiaryPage page;
        page.Assign(DiaryPage::PageWeather, QStringLiteral("sunny"));
        DiaryPage changed = page;
        changed.Assign(DiaryPage::PageWeather, other);
        // A trailing space disappears in the padding; the other two differ.
        QCOMPARE(changed == page, other == QStringLiteral("sunny "));
    }
};

SORAFUMI_TEST(DiaryPageTest)
#include "DiaryPageTest.moc"
