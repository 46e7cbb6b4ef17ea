#include "core/diary/PageRecords.h"
#include "DiaryBuilder.h"
#include "TestRegistry.h"
#include "core/platform/RecordFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

constexpr int RecordLength = 10090;

QString Field(const QString& text)
{
    return text + QString(15 - text.size(), u' ');
}

// A page that holds only a date, as the file holds it.
QByteArray DatedRecord(const QByteArray& date)
{
    return DiaryBuilder::Padded(date, RecordLength);
}

DiaryPage SamplePage()
{
    return DiaryBuilder::Page({QStringLiteral("2001年5月14日"), QStringLiteral("月曜日"), QStringLiteral("1500"),
                               QStringLiteral("山田太郎"), QStringLiteral("午後 3:05:09"), QStringLiteral("晴れ"),
                               QStringLiteral("今日は\r\n晴れ。")});
}

} // namespace

class PageRecordsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        path_ = dir_->filePath(QStringLiteral("DIARY.DAT"));
        QVERIFY(DiaryBuilder()
                    .AddRaw(DatedRecord("2001/05/13"))
                    .AddRaw(DiaryBuilder::SampleRecord())
                    .AddRaw(DatedRecord("2001/05/15"))
                    .WriteTo(path_));
    }
    void cleanup() { dir_.reset(); }

    void WriteRecordPlacesThePage_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray first = DatedRecord("2001/05/13");
        const QByteArray third = DatedRecord("2001/05/15");
        const QByteArray written = DatedRecord("2001/06/01");
        QTest::newRow("page 1") << 1 << written + DiaryBuilder::SampleRecord() + third;
        QTest::newRow("page 2") << 2 << first + written + third;
        QTest::newRow("page 3") << 3 << first + DiaryBuilder::SampleRecord() + written;
        QTest::newRow("appended as page 4") << 4 << first + DiaryBuilder::SampleRecord() + third + written;
    }
    void WriteRecordPlacesThePage()
    {
        QFETCH(int, page);
        QFETCH(QByteArray, expected);
        RecordFile file;
        QVERIFY(!file.Open(path_, RecordLength));
        DiaryPage record;
        record.Assign(DiaryPage::PageDate, QStringLiteral("2001/06/01"));
        QCOMPARE(PageRecords::WriteRecord(file, page, record).code, FileError::None);
        const QByteArray bytes = FileBytes();
        QCOMPARE(bytes.size(), expected.size());
        QVERIFY(bytes == expected);
    }

    void WriteRecordEncodesEveryField()
    {
        RecordFile file;
        QVERIFY(!file.Open(path_, RecordLength));
        QCOMPARE(PageRecords::WriteRecord(file, 1, SamplePage()).code, FileError::None);
        QCOMPARE(FileBytes().left(RecordLength).toHex(), DiaryBuilder::SampleRecord().toHex());
    }

    void ReadRecord_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("date");
        QTest::newRow("page 1") << 1 << QStringLiteral("2001/05/13");
        QTest::newRow("page 2") << 2 << QStringLiteral("2001年5月14日");
        QTest::newRow("page 3") << 3 << QStringLiteral("2001/05/15");
    }
    void ReadRecord()
    {
        QFETCH(int, page);
        QFETCH(QString, date);
        RecordFile file;
        QVERIFY(!file.Open(path_, RecordLength));
        DiaryPage record;
        QCOMPARE(PageRecords::ReadRecord(file, page, record).code, FileError::None);
        QCOMPARE(record.Text(DiaryPage::PageDate), Field(date));
    }

    void ReadRecordFillsEveryField()
    {
        RecordFile file;
        QVERIFY(!file.Open(path_, RecordLength));
        DiaryPage record;
        QVERIFY(!PageRecords::ReadRecord(file, 2, record));
        QCOMPARE(record.Text(DiaryPage::PageWeekday), Field(QStringLiteral("月曜日")));
        QCOMPARE(record.Text(DiaryPage::PageExpense), Field(QStringLiteral("1500")));
        QCOMPARE(record.Text(DiaryPage::PageSignature), Field(QStringLiteral("山田太郎")));
        QCOMPARE(record.Text(DiaryPage::PageTime), Field(QStringLiteral("午後 3:05:09")));
        QCOMPARE(record.Text(DiaryPage::PageWeather), Field(QStringLiteral("晴れ")));
        QCOMPARE(record.Text(DiaryPage::PageBody).left(8), QStringLiteral("今日は\r\n晴れ。"));
        QVERIFY(record == SamplePage());
    }

    void ReadRecordFailures_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("code");
        QTest::newRow("past the last page") << 4 << int(FileError::InputPastEnd);
        QTest::newRow("page 0") << 0 << int(FileError::BadRecordNumber);
    }
    void ReadRecordFailures()
    {
        QFETCH(int, page);
        QFETCH(int, code);
        RecordFile file;
        QVERIFY(!file.Open(path_, RecordLength));
        DiaryPage record = SamplePage();
        QCOMPARE(int(PageRecords::ReadRecord(file, page, record).code), code);
        // The record in memory is left as it was.
        QVERIFY(record == SamplePage());
    }

    void FieldBytesOnDisk_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("body line breaks are CR LF")
            << int(DiaryPage::PageBody) << QStringLiteral("朝\r\n夜") << QByteArray::fromHex("92a90d0a96e9");
        QTest::newRow("body of exactly 10000 bytes drops the rest")
            << int(DiaryPage::PageBody) << QStringLiteral("あ").repeated(5000) + u'b'
            << QByteArray::fromHex("82a0").repeated(5000);
        QTest::newRow("long body is not cut inside a character")
            << int(DiaryPage::PageBody) << u'a' + QStringLiteral("あ").repeated(5000)
            << QByteArray("a") + QByteArray::fromHex("82a0").repeated(4999);
        QTest::newRow("8 double-byte characters keep 7")
            << int(DiaryPage::PageSignature) << QStringLiteral("あいうえおかきく")
            << QByteArray::fromHex("82a082a282a482a682a882a982ab");
        QTest::newRow("character without a cp932 form")
            << int(DiaryPage::PageWeather) << QStringLiteral("맑음") << QByteArray("??");
    }
    void FieldBytesOnDisk()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const DiaryPage::Layout& layout = DiaryPage::Fields[size_t(field)];
        DiaryPage record = SamplePage();
        record.Assign(DiaryPage::Field(field), text);
        RecordFile file;
        QVERIFY(!file.Open(path_, RecordLength));
        QVERIFY(!PageRecords::WriteRecord(file, 2, record));

        const QByteArray disk = FileBytes();
        QCOMPARE(disk.size(), 3 * RecordLength);
        QCOMPARE(disk.mid(RecordLength + layout.offset, layout.length).toHex(),
                 DiaryBuilder::Padded(bytes, layout.length).toHex());
        // Every other field of the page is as it was.
        QByteArray expected = DiaryBuilder::SampleRecord();
        expected.replace(layout.offset, layout.length, DiaryBuilder::Padded(bytes, layout.length));
        QCOMPARE(disk.mid(RecordLength, RecordLength).toHex(), expected.toHex());
    }

private:
    QByteArray FileBytes() const
    {
        QFile in(path_);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
};

SORAFUMI_TEST(PageRecordsTest)
#include "PageRecordsTest.moc"
