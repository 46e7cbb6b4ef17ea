#include "core/transfer/DiaryExport.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/platform/Cp932.h"
#include "core/platform/RecordFile.h"
#include "core/transfer/DiaryImport.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

using namespace StoreFixture;
using namespace Qt::StringLiterals;

namespace {

DiaryBuilder::Fields Page(const QString& date, const QString& body)
{
    return {date,
            QStringLiteral("月曜日"),
            QStringLiteral("1500.25"),
            QStringLiteral("山田太郎"),
            QStringLiteral("午後 3:05:09"),
            QStringLiteral("晴れ"),
            body};
}

QByteArray Sum(const QString& path)
{
    return QCryptographicHash::hash(ReadBytes(path), QCryptographicHash::Sha256);
}

} // namespace

// Pages written out of the diary as files another program can read.
class DiaryExportTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        out_ = dir_->filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(out_));
        DiaryBuilder diary;
        diary.Add(Page(QStringLiteral("2001年5月14日"), QStringLiteral("一行目\r\n<b>表 ソ ①</b> & \"ｶﾅ\"")));
        diary.Add(Page(QStringLiteral("2001年5月14日"), QStringLiteral("二頁目")));
        diary.Add(Page(QStringLiteral("2001年6月1日"), QString()));
        QVERIFY(diary.WriteTo(dir_->filePath(QStringLiteral("DIARY.DAT"))));
        QVERIFY(!file_.Open(dir_->filePath(QStringLiteral("DIARY.DAT")), DiaryPage::RecordLength));
    }
    void cleanup() { file_.Close(); }

    void WritesAFilePerPageInEitherEncoding_data()
    {
        QTest::addColumn<ExportRequest::Encoding>("encoding");
        QTest::newRow("UTF-8") << ExportRequest::Encoding::Utf8;
        QTest::newRow("CP932") << ExportRequest::Encoding::Cp932;
    }
    void WritesAFilePerPageInEitherEncoding()
    {
        QFETCH(ExportRequest::Encoding, encoding);
        const QByteArray before = Sum(file_.Path());

        const DiaryExport::Result result = DiaryExport::Run(file_, 3, {{}, {}, {}, encoding, out_}, {});

        QCOMPARE(result.outcome, DiaryExport::Outcome::Written);
        QCOMPARE(QDir(out_).entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({u"2001-05-14-2.txt"_s, u"2001-05-14.txt"_s, u"2001-06-01.txt"_s, u"page-order.lst"_s}));
        const QString text = QStringLiteral("日付:2001年5月14日\r\n曜日:月曜日\r\n時間:午後 3:05:09\r\n天候:晴れ\r\n"
                                            "出費:1500.25\r\n署名:山田太郎\r\n\r\n一行目\r\n<b>表 ソ ①</b> & \"ｶﾅ\"");
        const QByteArray bytes = ReadBytes(QDir(out_).filePath(QStringLiteral("2001-05-14.txt")));
        QCOMPARE(encoding == ExportRequest::Encoding::Utf8 ? QString::fromUtf8(bytes) : Cp932::Decode(bytes), text);
        QCOMPARE(Sum(file_.Path()), before);
    }

    void HtmlEscapesMarkupAndBreaksPagesInPrint()
    {
        const DiaryExport::Result result = DiaryExport::Run(
            file_, 3,
            {QDate(2001, 5, 14), QDate(2001, 5, 31), ExportRequest::Format::Html, ExportRequest::Encoding::Utf8, out_},
            {});

        QCOMPARE(result.files, QStringList{u"2001-05-14_2001-05-14.html"_s});
        const QString html = QString::fromUtf8(ReadBytes(QDir(out_).filePath(result.files.first())));
        QVERIFY(html.contains(QStringLiteral("&lt;b&gt;表 ソ ①&lt;/b&gt; &amp; &quot;ｶﾅ&quot;")));
        QVERIFY(html.contains(QStringLiteral("break-after:page")));
        QCOMPARE(html.count(QStringLiteral("<article>")), 2);
    }

    void AnExistingFileIsKeptUnlessReplacing_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("kept") << false;
        QTest::newRow("replaced") << true;
    }
    void AnExistingFileIsKeptUnlessReplacing()
    {
        QFETCH(bool, replace);
        const QString mine = QDir(out_).filePath(QStringLiteral("2001-06-01.txt"));
        QVERIFY(WriteBytes(mine, "mine"));
        QStringList asked;
        DiaryExport::Hooks hooks;
        hooks.replace = [&](const QStringList& existing) { return asked = existing, replace; };

        const DiaryExport::Result result = DiaryExport::Run(file_, 3, {{}, {}, {}, {}, out_}, hooks);

        QCOMPARE(asked, QStringList{u"2001-06-01.txt"_s});
        QCOMPARE(result.outcome, replace ? DiaryExport::Outcome::Written : DiaryExport::Outcome::Cancelled);
        QCOMPARE(ReadBytes(mine) == "mine", !replace);
        QCOMPARE(QDir(out_).count() - 2, replace ? 4u : 1u);
    }

    // Bytes that are no character would be replaced in UTF-8: the page is named first.
    void BytesWithoutACharacterAreReportedWithTheirPage()
    {
        QByteArray record = DiaryBuilder::SampleRecord();
        record[DiaryPage::Fields[DiaryPage::PageBody].offset] = char(0x85);
        record[DiaryPage::Fields[DiaryPage::PageBody].offset + 1] = char(0x20);
        QVERIFY(!file_.WriteRecord(4, record));
        std::vector<ExportFlaw> flaws;
        DiaryExport::Hooks hooks;
        hooks.writeFlawed = [&](const std::vector<ExportFlaw>& found) { return flaws = found, false; };

        const DiaryExport::Result result = DiaryExport::Run(file_, 4, {{}, {}, {}, {}, out_}, hooks);

        QCOMPARE(result.outcome, DiaryExport::Outcome::Cancelled);
        QVERIFY(flaws.size() == 1 && flaws[0].page == 4);
        QCOMPARE(flaws[0].date, QStringLiteral("2001年5月14日"));
        QCOMPARE(QDir(out_).count(), 2u);
    }

    // A page the export names is one the import does not bring back byte for
    // byte, or, in CP932, one holding bytes other programs cannot read.
    void PagesThatWouldNotComeBackAreNamed_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ExportRequest::Encoding>("encoding");
        QTest::addColumn<int>("reasons");
        QTest::addColumn<QString>("changed");
        const auto utf8 = ExportRequest::Encoding::Utf8;
        const auto cp932 = ExportRequest::Encoding::Cp932;
        const int body = DiaryPage::PageBody;
        QTest::newRow("NEC row 13 in the text")
            << body << "\x87\x90\x87\x9A\x87\x90"_ba << utf8 << int(ExportFlaw::OtherCode) << u"≒∵"_s;
        QTest::newRow("IBM extension in the weather")
            << int(DiaryPage::PageWeather) << "\xFA\x54\xFA\x4A"_ba << utf8 << int(ExportFlaw::OtherCode) << u"￢Ⅰ"_s;
        QTest::newRow("NEC-selected IBM in the signature")
            << int(DiaryPage::PageSignature) << "\xED\x40"_ba << utf8 << int(ExportFlaw::OtherCode) << u"纊"_s;
        QTest::newRow("the same kept in CP932") << body << "\x87\x90\xFA\x54\xED\x40"_ba << cp932 << 0 << QString();
        QTest::newRow("one code only") << body << "\x81\xE0\xFA\x5C\x88\x9F"_ba << utf8 << 0 << QString();
        QTest::newRow("bare LF, UTF-8") << body << "a\nb\r\n"_ba << utf8 << int(ExportFlaw::BareLineFeed) << QString();
        QTest::newRow("bare LF, CP932") << body << "a\r\n\nb"_ba << cp932 << int(ExportFlaw::BareLineFeed) << QString();
        QTest::newRow("no character, CP932")
            << body << "\x85\x40"_ba << cp932 << int(ExportFlaw::NotACharacter) << QString();
    }
    void PagesThatWouldNotComeBackAreNamed()
    {
        QFETCH(int, field);
        QFETCH(QByteArray, bytes);
        QFETCH(ExportRequest::Encoding, encoding);
        QFETCH(int, reasons);
        QFETCH(QString, changed);
        QByteArray record = DiaryBuilder::SampleRecord();
        const DiaryPage::Layout& layout = DiaryPage::Fields[field];
        record.replace(layout.offset, layout.length, bytes.leftJustified(layout.length, ' '));
        QVERIFY(!file_.WriteRecord(4, record));
        std::vector<ExportFlaw> flaws;
        DiaryExport::Hooks hooks;
        hooks.writeFlawed = [&](const std::vector<ExportFlaw>& found) { return flaws = found, true; };

        QCOMPARE(DiaryExport::Run(file_, 4, {{}, {}, {}, encoding, out_}, hooks).outcome,
                 DiaryExport::Outcome::Written);

        QCOMPARE(flaws.empty() ? 0 : flaws[0].reasons, reasons);
        QCOMPARE(flaws.empty() ? QString() : flaws[0].changed, changed);
        QVERIFY(flaws.size() <= 1 && (flaws.empty() || flaws[0].page == 4));
        ImportPlan plan;
        QVERIFY(!DiaryImport::Read(out_, DiaryImport::Encoding::Detect, plan));
        QCOMPARE(plan.pages.size(), size_t(4));
        QCOMPARE(plan.pages[3].record == record, reasons == 0 || reasons == ExportFlaw::NotACharacter);
    }

    // A file that cannot take its name stops the export; the files already
    // in place are whole and named, so nobody is told that none were written.
    void AStopWhileNamingTellsTheFilesInPlace()
    {
        QVERIFY(QDir(out_).mkpath(QStringLiteral("2001-06-01.txt/mine")));
        DiaryExport::Hooks hooks;
        hooks.replace = [](const QStringList&) { return true; };

        const DiaryExport::Result result = DiaryExport::Run(file_, 3, {{}, {}, {}, {}, out_}, hooks);

        QCOMPARE(result.outcome, DiaryExport::Outcome::Failed);
        QCOMPARE(result.files, QStringList({u"2001-05-14.txt"_s, u"2001-05-14-2.txt"_s}));
        QCOMPARE(QDir(out_).entryList(QDir::Files), QStringList({u"2001-05-14-2.txt"_s, u"2001-05-14.txt"_s}));
    }

    void CancelLeavesNothing()
    {
        DiaryExport::Hooks hooks;
        hooks.progress = [](qint32 done, qint32) { return done == 0; };

        QCOMPARE(DiaryExport::Run(file_, 3, {{}, {}, {}, {}, out_}, hooks).outcome, DiaryExport::Outcome::Cancelled);
        QCOMPARE(QDir(out_).count(), 2u);
    }

    void AFullDiskLeavesNoFileUnderAFinalName()
    {
        SmallDisk disk(dir_->filePath(QStringLiteral("disk")), 16);
        if (!disk.IsMounted())
            QSKIP("mounting a small disk needs root");
        QVERIFY(disk.Fill());

        const DiaryExport::Result result = DiaryExport::Run(file_, 3, {{}, {}, {}, {}, disk.Path()}, {});

        QCOMPARE(result.outcome, DiaryExport::Outcome::Failed);
        QCOMPARE(result.error.systemError, ENOSPC);
        QCOMPARE(QDir(disk.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"filler"_s});
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString out_;
    RecordFile file_;
};

SORAFUMI_TEST(DiaryExportTest)
#include "DiaryExportTest.moc"
