#include "core/transfer/DiaryImport.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/platform/Cp932.h"
#include "core/platform/RecordFile.h"
#include "core/platform/RecordFileRewriter.h"
#include "core/transfer/DiaryExport.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace StoreFixture;
using namespace Qt::StringLiterals;

// Text files read back into the diary.
class DiaryImportTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        out_ = dir_->filePath(u"out"_s);
        QVERIFY(QDir().mkpath(out_));
    }

    void AnExportReadBackIsTheSameDiary_data()
    {
        QTest::addColumn<ExportRequest::Encoding>("encoding");
        QTest::addColumn<DiaryImport::Encoding>("reading");
        QTest::newRow("UTF-8, detected") << ExportRequest::Encoding::Utf8 << DiaryImport::Encoding::Detect;
        QTest::newRow("CP932, detected") << ExportRequest::Encoding::Cp932 << DiaryImport::Encoding::Detect;
        QTest::newRow("CP932, chosen") << ExportRequest::Encoding::Cp932 << DiaryImport::Encoding::Cp932;
    }
    void AnExportReadBackIsTheSameDiary()
    {
        QFETCH(ExportRequest::Encoding, encoding);
        QFETCH(DiaryImport::Encoding, reading);
        DiaryBuilder diary;
        diary.Add({u"2001年5月14日"_s, u"月曜日"_s, u"1234.5678"_s, u"山田太郎"_s, u"午後 3:05:09"_s, u"晴れ"_s,
                   u"表 ソ 能 予 ～ ① ㈱\r\nｶﾀｶﾅ ﾃﾞｽ\r\n\r\n  字下げ\r\n"_s});
        // Out of date order, as a calendar click on an earlier day makes it.
        diary.Add({u"2002年1月1日"_s, u"火曜日"_s, u"-12.5"_s, u""_s, u""_s, u""_s, u""_s});
        diary.Add({u"2001年5月14日"_s, u"月曜日"_s, u"0"_s, u"㈱空"_s, u"午後 11:59:59"_s, u"雨"_s, u"二頁目"_s});
        const QString original = dir_->filePath(u"DIARY.DAT"_s);
        QVERIFY(diary.WriteTo(original));
        RecordFile source;
        QVERIFY(!source.Open(original, DiaryPage::RecordLength));
        QCOMPARE(DiaryExport::Run(source, 3, {{}, {}, {}, encoding, out_}, {}).outcome, DiaryExport::Outcome::Written);

        ImportPlan plan;
        QVERIFY(!DiaryImport::Read(out_, reading, plan));
        QByteArray records;
        for (const ImportedPage& page : plan.pages)
            records += page.record;
        RecordFile copy;
        QVERIFY(!copy.Open(dir_->filePath(u"COPY.DAT"_s), DiaryPage::RecordLength));
        QVERIFY(!RecordFileRewriter::Rewrite(copy, 0, 0, records));

        QVERIFY(plan.refused.isEmpty() && plan.cut.isEmpty());
        QCOMPARE(plan.first, QDate(2001, 5, 14));
        QCOMPARE(plan.last, QDate(2002, 1, 1));
        QVERIFY(ReadBytes(dir_->filePath(u"COPY.DAT"_s)) == ReadBytes(original));
    }

    // A folder whose order file no longer fits it still imports, and says how.
    void AnOrderFileThatDoesNotFitFallsBack_data()
    {
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<ImportPlan::Order>("order");
        QTest::newRow("a listed file gone")
            << u"2001-05-14.txt"_s << QString() << QStringList{u"2002年1月1日"_s, u"2001年5月14日"_s}
            << QStringList{u"2001-05-14.txt: page-order.lst にありますが、見つかりません"_s}
            << ImportPlan::Order::AsExported;
        QTest::newRow("a file not listed")
            << QString() << u"2001-06-01.txt"_s
            << QStringList{u"2001年5月14日"_s, u"2001年5月14日"_s, u"2001年6月1日"_s, u"2002年1月1日"_s}
            << QStringList() << ImportPlan::Order::ByDateListUnusable;
    }
    void AnOrderFileThatDoesNotFitFallsBack()
    {
        QFETCH(QString, removed);
        QFETCH(QString, added);
        QFETCH(QStringList, dates);
        QFETCH(QStringList, refused);
        QFETCH(ImportPlan::Order, order);
        DiaryBuilder diary;
        for (const QString& date : {u"2001年5月14日"_s, u"2002年1月1日"_s, u"2001年5月14日"_s})
            diary.Add({date, {}, u"0"_s, {}, {}, {}, {}});
        QVERIFY(diary.WriteTo(dir_->filePath(u"DIARY.DAT"_s)));
        RecordFile source;
        QVERIFY(!source.Open(dir_->filePath(u"DIARY.DAT"_s), DiaryPage::RecordLength));
        QCOMPARE(DiaryExport::Run(source, 3, {{}, {}, {}, {}, out_}, {}).outcome, DiaryExport::Outcome::Written);
        QVERIFY(removed.isEmpty() || QFile::remove(QDir(out_).filePath(removed)));
        QVERIFY(added.isEmpty() || WriteBytes(QDir(out_).filePath(added), "日付:2001年6月1日\r\n\r\n"));

        ImportPlan plan;
        QVERIFY(!DiaryImport::Read(out_, DiaryImport::Encoding::Detect, plan));

        QStringList read;
        for (const ImportedPage& page : plan.pages)
            read << Cp932::Decode(page.record.left(15)).trimmed();
        QCOMPARE(read, dates);
        QCOMPARE(plan.refused, refused);
        QCOMPARE(plan.order, order);
        QCOMPARE(plan.unlisted, added.isEmpty() ? QStringList() : QStringList{added});
    }

    // A file under a page's name that is no small regular file is listed
    // unread; the rest of the folder is imported.
    void WhatIsNoPageFileIsLeftUnread_data()
    {
        QTest::addColumn<QString>("target"); // what the link points to; empty: no link
        QTest::addColumn<QString>("made");   // what is made at the target or under the name
        QTest::addColumn<QString>("refusal");
        const QString link = u"ｼﾝﾎﾞﾘｯｸﾘﾝｸは読みません"_s;
        QTest::newRow("link to another file") << u"/etc/passwd"_s << QString() << link;
        QTest::newRow("link to /dev/zero") << u"/dev/zero"_s << QString() << link;
        QTest::newRow("link to a pipe") << u"pipe"_s << u"fifo"_s << link;
        QTest::newRow("pipe") << QString() << u"fifo"_s << u"通常のﾌｧｲﾙではないので読みません"_s;
        QTest::newRow("sparse 100 GB") << QString() << u"sparse"_s
                                       << u"107374182400 ﾊﾞｲﾄあり、ﾍﾟｰｼﾞには大きすぎるので読みません"_s;
    }
    void WhatIsNoPageFileIsLeftUnread()
    {
        QFETCH(QString, target);
        QFETCH(QString, made);
        QFETCH(QString, refusal);
        const QString name = QDir(out_).filePath(u"2024-06-01.txt"_s);
        const QString at = target.isEmpty() ? name : (target.startsWith(u'/') ? target : dir_->filePath(target));
        if (made == u"fifo"_s)
            QCOMPARE(::mkfifo(QFile::encodeName(at).constData(), 0600), 0);
        if (made == u"sparse"_s) {
            QFile sparse(at);
            QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(100) << 30));
        }
        if (!target.isEmpty())
            QVERIFY(QFile::link(at, name));
        QVERIFY(WriteBytes(QDir(out_).filePath(u"2024-06-02.txt"_s), "日付:2024年6月2日\r\n\r\n本文"));

        ImportPlan plan;
        QVERIFY(!DiaryImport::Read(out_, DiaryImport::Encoding::Detect, plan));

        QCOMPARE(plan.refused, QStringList{u"2024-06-01.txt: "_s + refusal});
        QCOMPARE(plan.pages.size(), size_t(1));
        QCOMPARE(plan.first, QDate(2024, 6, 2));
    }

    void WhatDoesNotFitIsListed()
    {
        QVERIFY(WriteBytes(QDir(out_).filePath(u"long.txt"_s),
                           ("日付:2001年5月14日\r\n天候:" + QString(9, u'晴').toUtf8() + "\r\n\r\n")));
        QVERIFY(WriteBytes(QDir(out_).filePath(u"huge.txt"_s),
                           Cp932::Encode(u"日付:2001年5月15日\r\n\r\n"_s + QString(5001, u'字'))));

        ImportPlan plan;
        QVERIFY(!DiaryImport::Read(out_, DiaryImport::Encoding::Detect, plan));

        QCOMPARE(plan.refused, QStringList{u"huge.txt: 本文が 10000 ﾊﾞｲﾄを超えています"_s});
        QCOMPARE(plan.cut, QStringList{u"long.txt: 天候"_s});
        QCOMPARE(plan.pages.size(), size_t(1));
        const int weather = DiaryPage::Fields[DiaryPage::PageWeather].offset;
        QCOMPARE(plan.pages[0].record.mid(weather, 15), Cp932::Encode(QString(7, u'晴')) + ' ');
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString out_;
};

SORAFUMI_TEST(DiaryImportTest)
#include "DiaryImportTest.moc"
