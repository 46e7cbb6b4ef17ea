#include "core/diary/DiaryImport.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/diary/DiaryExport.h"
#include "core/platform/Cp932.h"
#include "core/platform/RecordFile.h"
#include "core/platform/RecordFileRewriter.h"

#include <QTemporaryDir>
#include <QTest>

using namespace StoreFixture;
using namespace Qt::StringLiterals;

// Text files read back into the diary.
class DiaryImportTest : public QObject
{
    Q_OBJECT
private slots:
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
        diary.Add({u"2001年5月14日"_s, u"月曜日"_s, u"0"_s, u"㈱空"_s, u"午後 11:59:59"_s, u"雨"_s, u"二頁目"_s});
        diary.Add({u"2002年1月1日"_s, u"火曜日"_s, u"-12.5"_s, u""_s, u""_s, u""_s, u""_s});
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
