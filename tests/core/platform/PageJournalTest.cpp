#include "core/platform/PageJournal.h"
#include "TestRegistry.h"
#include "core/platform/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int Length = 16;

QByteArray Record(char fill)
{
    return QByteArray(Length, fill);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class PageJournalTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void Crc32OfTheCheckString() { QCOMPARE(PageJournal::Crc32("123456789"), 0xCBF43926u); }

    void EncodedJournalDecodes()
    {
        const QByteArray journal = PageJournal::Encode(3, Record('x'));
        QCOMPARE(journal.size(), 8 + 8 + Length + 4);
        QVERIFY(journal.startsWith("SFJRNL01"));
        QByteArray record;
        QCOMPARE(PageJournal::Decode(journal, Length, record), 3);
        QCOMPARE(record, Record('x'));
    }

    void DamagedJournalsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("journal");
        const QByteArray good = PageJournal::Encode(2, Record('o'));
        QByteArray flipped = good;
        flipped[20] = 'X';
        QTest::newRow("cut short") << good.left(good.size() - 1);
        QTest::newRow("a byte changed") << flipped;
        QTest::newRow("other magic") << QByteArray("XXXXXXXX") + good.mid(8);
        QTest::newRow("other record length") << PageJournal::Encode(2, QByteArray(Length + 1, 'o'));
        QTest::newRow("record 0") << PageJournal::Encode(0, Record('o'));
        QTest::newRow("empty") << QByteArray();
    }
    void DamagedJournalsAreRefused()
    {
        QFETCH(QByteArray, journal);
        QByteArray record;
        QCOMPARE(PageJournal::Decode(journal, Length, record), 0);
    }

    // A crash after the journal was written and while the page was half
    // written: the next opening puts the old page back.
    void RecoveryPutsTheOldPageBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("DIARY.DAT"));
        WriteAll(path, Record('a') + Record('b') + Record('c'));
        RecordFile file;
        QVERIFY(!file.Open(path, Length));
        QString journal;
        QVERIFY(!PageJournal::Begin(file, 2, journal));
        QCOMPARE(journal, PageJournal::PathFor(file.Path()));
        QVERIFY(QFile::exists(journal));
        QVERIFY(!file.WriteRecord(2, QByteArray("NEWNEWNE") + Record('b').left(8)));

        RecordFile reopened;
        QVERIFY(!reopened.Open(path, Length));
        QVERIFY(!PageJournal::Recover(reopened));
        QCOMPARE(ReadAll(path), Record('a') + Record('b') + Record('c'));
        QVERIFY(!QFile::exists(PageJournal::PathFor(reopened.Path())));
    }

    // A diary in a folder that takes no new file keeps its journal in the
    // user's state folder; the next opening finds it there.
    void RecoveryFindsTheJournalInTheStateFolder()
    {
        QTemporaryDir dir;
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));
        const QString path = dir.filePath(QStringLiteral("DIARY.DAT"));
        WriteAll(path, Record('a') + Record('X') + Record('c'));
        const QString journal = PageJournal::StatePathFor(path);
        QVERIFY(journal.startsWith(dir.filePath(QStringLiteral("state/日記帳Sorafumi/DIARY.DAT-"))));
        QVERIFY(QDir().mkpath(QFileInfo(journal).absolutePath()));
        WriteAll(journal, PageJournal::Encode(2, Record('b')));

        RecordFile file;
        QVERIFY(!file.Open(path, Length));
        QVERIFY(!PageJournal::Recover(file));
        QCOMPARE(ReadAll(path), Record('a') + Record('b') + Record('c'));
        QVERIFY(!QFile::exists(journal));
    }

    void EndRemovesTheJournal()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("DIARY.DAT"));
        WriteAll(path, Record('a'));
        RecordFile file;
        QVERIFY(!file.Open(path, Length));
        QString journal;
        QVERIFY(!PageJournal::Begin(file, 1, journal));
        PageJournal::End(journal);
        QVERIFY(!QFile::exists(journal));
        QVERIFY(!PageJournal::Recover(file));
        QCOMPARE(ReadAll(path), Record('a'));
    }

    void InvalidJournalIsOnlyRemoved_data()
    {
        QTest::addColumn<QByteArray>("journal");
        QTest::newRow("garbage") << QByteArray("not a journal at all");
        QTest::newRow("beyond the last record") << PageJournal::Encode(5, Record('z'));
    }
    void InvalidJournalIsOnlyRemoved()
    {
        QFETCH(QByteArray, journal);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("DIARY.DAT"));
        WriteAll(path, Record('a') + Record('b'));
        WriteAll(PageJournal::PathFor(path), journal);
        RecordFile file;
        QVERIFY(!file.Open(path, Length));
        QVERIFY(!PageJournal::Recover(file));
        QCOMPARE(ReadAll(path), Record('a') + Record('b'));
        QVERIFY(!QFile::exists(PageJournal::PathFor(path)));
    }
};

SORAFUMI_TEST(PageJournalTest)
#include "PageJournalTest.moc"
