#include "core/sync/PageMerge.h"
#include "DiaryBuilder.h"
#include "TestRegistry.h"
#include "core/platform/RecordFile.h"
#include "core/sync/MergedRecords.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

using namespace Qt::StringLiterals;

// A version of a diary as "day:body" per page, in file order: "1:朝 2:昼" is
// a page of 2026年12月1日 whose body is 朝, then one of the 2nd.
DiaryBuilder VersionOf(const QString& pages)
{
    DiaryBuilder diary;
    for (const QString& page : pages.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList parts = page.split(u':');
        diary.Add({QStringLiteral("2026年12月%1日").arg(parts[0]), {}, {}, {}, {}, {}, parts[1]});
    }
    return diary;
}

} // namespace

Q_DECLARE_METATYPE(Resolution)

// Two versions of one diary, written apart, come together page by page:
// what one side changed is taken, what both changed their own way is asked
// about, and every page comes whole from the version it was taken from.
class PageMergeTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir folder_;

    bool Digest(const QString& name, const QString& pages, RecordFile& file, PageDigests& digests)
    {
        const QString path = folder_.filePath(name);
        return VersionOf(pages).WriteTo(path) && !file.Open(path, DiaryPage::RecordLength) &&
               !PageDigestReader::Read(file, digests);
    }

private Q_SLOTS:
    void MergesByTheTable_data()
    {
        QTest::addColumn<QString>("base"); // "-": no base
        QTest::addColumn<QString>("ours");
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<Resolution>("resolution");
        QTest::addColumn<QString>("merged");
        QTest::addColumn<int>("conflicts");
        const QString both = u"1:朝 2:昼"_s;
        const QString here = u"1:朝2 2:昼"_s;
        const QString there = u"1:朝3 2:昼"_s;
        const auto row = [](const char* name, const QString& base, const QString& ours, const QString& theirs,
                            Resolution resolution, const QString& merged, int conflicts) {
            QTest::newRow(name) << base << ours << theirs << resolution << merged << conflicts;
        };
        const Resolution keepBoth = Resolution::KeepBoth;
        row("unchanged on both", both, both, both, keepBoth, both, 0);
        row("changed here only", both, here, both, keepBoth, here, 0);
        row("changed there only", both, both, u"1:朝 2:昼3"_s, keepBoth, u"1:朝 2:昼3"_s, 0);
        row("changed alike on both", both, here, here, keepBoth, here, 0);
        row("changed apart, both kept", both, here, there, keepBoth, u"1:朝2 1:朝3 2:昼"_s, 1);
        row("changed apart, ours kept", both, here, there, Resolution::KeepOurs, here, 1);
        row("changed apart, theirs kept", both, here, there, Resolution::KeepTheirs, there, 1);
        row("deleted here, changed there", both, u"2:昼"_s, there, keepBoth, u"2:昼 1:朝3"_s, 1);
        row("deletion kept", both, u"2:昼"_s, there, Resolution::KeepOurs, u"2:昼"_s, 1);
        row("deleted here, unchanged there", both, u"2:昼"_s, both, keepBoth, u"2:昼"_s, 0);
        row("deleted there, unchanged here", both, both, u"1:朝"_s, keepBoth, u"1:朝"_s, 0);
        row("added on both, other days", both, u"1:朝 2:昼 3:夜"_s, u"1:朝 2:昼 4:夢"_s, keepBoth,
            u"1:朝 2:昼 3:夜 4:夢"_s, 0);
        row("a second page of a day added there", both, both, u"1:朝 2:昼 1:夕"_s, keepBoth, u"1:朝 2:昼 1:夕"_s, 0);
        row("no base, alike", u"-"_s, both, both, keepBoth, both, 0);
        row("no base, one page differs", u"-"_s, here, both, keepBoth, u"1:朝2 1:朝 2:昼"_s, 1);
        row("no base, a page on one side only", u"-"_s, both, u"1:朝"_s, Resolution::KeepTheirs, u"1:朝"_s, 1);
    }
    void MergesByTheTable()
    {
        QFETCH(QString, base);
        QFETCH(QString, ours);
        QFETCH(QString, theirs);
        QFETCH(Resolution, resolution);
        QFETCH(QString, merged);
        QFETCH(int, conflicts);
        RecordFile oursFile, theirsFile, baseFile;
        PageDigests oursDigests, theirsDigests, baseDigests;
        QVERIFY(Digest(QStringLiteral("ours.DAT"), ours, oursFile, oursDigests));
        QVERIFY(Digest(QStringLiteral("theirs.DAT"), theirs, theirsFile, theirsDigests));
        QVERIFY(Digest(QStringLiteral("base.DAT"), base == u"-"_s ? QString() : base, baseFile, baseDigests));

        const MergeResult result =
            PageMerge::Merge(oursDigests, theirsDigests, base == u"-"_s ? nullptr : &baseDigests);
        QCOMPARE(int(result.Conflicts().size()), conflicts);
        const std::vector<Resolution> resolutions(size_t(conflicts), resolution);
        QByteArray records;
        FileError error;
        QCOMPARE(MergedRecords::Read(result.Resolve(resolutions), {oursFile, oursDigests}, {theirsFile, theirsDigests},
                                     records, error),
                 MergedRecords::Outcome::Read);
        QCOMPARE(records, VersionOf(merged).Bytes());
    }

    // A page both hold alike is one page wherever it stands, and a version
    // that may never have had a page (a conflict copy, or theirs once both
    // changed) does not delete it.
    void SettlesAlikeAndKeepsWhatTheyLack_data()
    {
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("ours");
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("merged");
        QTest::newRow("a day's pages in another order")
            << false << u"1:朝 8:甲 8:乙"_s << u"1:朝 8:甲 8:乙"_s << u"1:朝 8:乙 8:甲"_s << u"1:朝 8:甲 8:乙"_s;
        QTest::newRow("a copy with a page we hold elsewhere")
            << true << u"1:朝 8:乙"_s << u"1:朝 8:乙"_s << u"1:朝 8:甲 8:乙"_s << u"1:朝 8:乙 8:甲"_s;
        QTest::newRow("a copy's older page and its new one")
            << true << u"1:朝 2:昼"_s << u"1:朝2 2:昼"_s << u"1:朝 2:昼 3:夜"_s << u"1:朝2 2:昼 3:夜"_s;
        QTest::newRow("the copy lacks a page")
            << true << u"1:朝 2:昼"_s << u"1:朝 2:昼"_s << u"1:朝"_s << u"1:朝 2:昼"_s;
        QTest::newRow("both changed, theirs lacks a page")
            << false << u"1:朝 2:昼"_s << u"1:朝2 2:昼"_s << u"1:朝"_s << u"1:朝2 2:昼"_s;
    }
    void SettlesAlikeAndKeepsWhatTheyLack()
    {
        QFETCH(bool, copy);
        QFETCH(QString, base);
        QFETCH(QString, ours);
        QFETCH(QString, theirs);
        QFETCH(QString, merged);
        RecordFile oursFile, theirsFile, baseFile;
        PageDigests oursDigests, theirsDigests, baseDigests;
        QVERIFY(Digest(u"ours.DAT"_s, ours, oursFile, oursDigests));
        QVERIFY(Digest(u"theirs.DAT"_s, theirs, theirsFile, theirsDigests));
        QVERIFY(Digest(u"base.DAT"_s, base, baseFile, baseDigests));
        const MergeResult result = PageMerge::Merge(oursDigests, theirsDigests, &baseDigests, copy);
        QVERIFY(result.Conflicts().empty());
        QByteArray records;
        FileError error;
        QCOMPARE(
            MergedRecords::Read(result.Resolve(), {oursFile, oursDigests}, {theirsFile, theirsDigests}, records, error),
            MergedRecords::Outcome::Read);
        QCOMPARE(records, VersionOf(merged).Bytes());
    }

    // A version the sync tool replaced between the merge and the write is
    // never written half old, half new.
    void VersionChangedSinceTheMergeIsNotMixedIn()
    {
        RecordFile ours, theirs;
        PageDigests oursDigests, theirsDigests;
        QVERIFY(Digest(u"ours.DAT"_s, u"1:朝"_s, ours, oursDigests));
        QVERIFY(Digest(u"theirs.DAT"_s, u"1:朝 2:昼"_s, theirs, theirsDigests));
        const MergeResult result = PageMerge::Merge(oursDigests, theirsDigests, &oursDigests);
        QVERIFY(!theirs.WriteRecord(2, VersionOf(u"2:夜"_s).Bytes()));
        QByteArray records;
        FileError error;
        QCOMPARE(MergedRecords::Read(result.Resolve(), {ours, oursDigests}, {theirs, theirsDigests}, records, error),
                 MergedRecords::Outcome::Changed);
    }
};

SORAFUMI_TEST(PageMergeTest)
#include "PageMergeTest.moc"
