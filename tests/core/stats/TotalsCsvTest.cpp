#include "core/stats/TotalsCsv.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/platform/Cp932.h"
#include "core/stats/DiaryTotals.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace StoreFixture;

// The statistics window's figures saved for a spreadsheet.
class TotalsCsvTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        // 1000.5 yen twice: each month shows 1001, the year 2001, rounded once.
        expenses_.months[2026][0] = expenses_.months[2026][1] = 10005000;
        expenses_.pages[2026][0] = expenses_.pages[2026][1] = 1;
        expenses_.months[2025][11] = 3000000;
        writing_.months[2026][0] = {3, 1234};
        writing_.months[2026][1] = {1, 10};
    }

    void WritesTheYearForASpreadsheet_data()
    {
        QTest::addColumn<TotalsCsv::Encoding>("encoding");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("UTF-8 with a byte-order mark")
            << TotalsCsv::Encoding::Utf8Bom << "\xEF\xBB\xBF年,月,出費,ページ,文字数\r\n"_ba;
        QTest::newRow("CP932") << TotalsCsv::Encoding::Cp932
                               << QByteArray::fromHex("944e2c8c8e2c8f6f94ef2c8379815b83572c95b68e9a90940d0a");
    }
    void WritesTheYearForASpreadsheet()
    {
        QFETCH(TotalsCsv::Encoding, encoding);
        QFETCH(QByteArray, start);
        const QString path = dir_.filePath(u"統計.csv"_s);

        QVERIFY(!TotalsCsv::Write(path, 2026, expenses_, writing_, encoding));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.left(start.size()), start);
        QString months;
        for (int month = 3; month <= 12; ++month)
            months += u"2026,%1,0,0,0\r\n"_s.arg(month);
        QCOMPARE(encoding == TotalsCsv::Encoding::Cp932 ? Cp932::Decode(bytes) : QString::fromUtf8(bytes.mid(3)),
                 u"年,月,出費,ページ,文字数\r\n2026,1,1001,3,1234\r\n2026,2,1001,1,10\r\n"_s + months +
                     u"2026,合計,2001,4,1244\r\n2026,月平均,1001,,\r\n\r\n年,出費\r\n2025,300\r\n2026,2001\r\n"_s);
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{u"統計.csv"_s});
    }

    // A file for others' spreadsheets too: a new one takes the umask, and one
    // it replaces keeps its mode.
    void KeepsTheModeAFileWouldHave()
    {
        const QString made = dir_.filePath(u"new.csv"_s);
        const QString replaced = dir_.filePath(u"old.csv"_s);
        QVERIFY(WriteBytes(replaced, "old"));
        QVERIFY(::chmod(QFile::encodeName(replaced).constData(), 0640) == 0);
        const mode_t mask = ::umask(022);

        QVERIFY(!TotalsCsv::Write(made, 2026, expenses_, writing_));
        QVERIFY(!TotalsCsv::Write(replaced, 2026, expenses_, writing_));

        ::umask(mask);
        QCOMPARE(StampOf(made).mode, mode_t(0644));
        QCOMPARE(StampOf(replaced).mode, mode_t(0640));
    }

    void AFullDiskLeavesNoFile()
    {
        SmallDisk disk(dir_.filePath(u"disk"_s), 16);
        if (!disk.IsMounted())
            QSKIP("mounting a small disk needs root");
        QVERIFY(disk.Fill());

        const FileError error = TotalsCsv::Write(disk.FilePath(u"統計.csv"_s), 2026, expenses_, writing_);

        QCOMPARE(error.systemError, ENOSPC);
        QCOMPARE(QDir(disk.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"filler"_s});
    }

private:
    QTemporaryDir dir_;
    ExpenseTotals expenses_;
    WritingTotals writing_;
};

SORAFUMI_TEST(TotalsCsvTest)
#include "TotalsCsvTest.moc"
