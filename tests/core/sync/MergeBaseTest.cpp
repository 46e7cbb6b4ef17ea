#include "core/sync/MergeBase.h"
#include "TestRegistry.h"
#include "core/platform/StateFolder.h"
#include "core/sync/PageHash.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The base a merge starts from lives in the user's state folder, and a
// damaged one is no base at all: never a crash, never a wrong answer.
class MergeBaseTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir state_;
    const QString diary_ = QStringLiteral("/synced/日記.DAT");

    static PageDigests TwoPages()
    {
        PageDigests digests(2);
        digests[0].date.fill('1');
        digests[0].hash = 0x0123456789abcdefULL;
        digests[1].date.fill('2');
        digests[1].hash = 42;
        return digests;
    }

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_STATE_HOME", QFile::encodeName(state_.path())); }

    void KeptInTheStateFolderAndReadBack()
    {
        QVERIFY(!MergeBase::Save(diary_, TwoPages()));
        QVERIFY(MergeBase::PathFor(diary_).startsWith(StateFolder::Path() + u'/'));
        QCOMPARE(MergeBase::Load(diary_), std::optional<PageDigests>(TwoPages()));
        QCOMPARE(MergeBase::Load(QStringLiteral("/synced/other.DAT")), std::nullopt);
        // Which file it was taken from: another state of it is hashed again.
        const FileIdentity of{1, 2, 20180, 1764662400000000000};
        QVERIFY(!MergeBase::Save(diary_, TwoPages(), of));
        QVERIFY(MergeBase::IsOf(diary_, of));
        QVERIFY(!MergeBase::IsOf(diary_, {1, 2, 20180, 1764662400000000001}));
    }

    // The hashes kept from an earlier run must still match: were they to
    // change, every page would read as changed on both sides.
    void HashesStayTheSame()
    {
        QByteArray record(10090, Qt::Uninitialized);
        for (int at = 0; at < record.size(); ++at)
            record[at] = char(at * 7 + 3);
        QCOMPARE(PageHash::Of(record.constData(), record.size()), 0xf3dd835808d2bceeULL);
    }

    void DamagedIsNoBase_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = MergeBase::Encode(TwoPages());
        QByteArray flipped = good;
        flipped[20] = char(flipped[20] ^ 1);
        QByteArray counted = good;
        counted[8] = 3;
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("cut short") << good.left(good.size() - 1);
        QTest::newRow("a byte changed") << flipped;
        QTest::newRow("wrong page count") << counted;
        QTest::newRow("another file") << QByteArray("SFJRNL01 and more bytes than a header");
    }
    void DamagedIsNoBase()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!MergeBase::Save(diary_, TwoPages()));
        QFile file(MergeBase::PathFor(diary_));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        QCOMPARE(MergeBase::Load(diary_), std::nullopt);
    }
};

SORAFUMI_TEST(MergeBaseTest)
#include "MergeBaseTest.moc"
