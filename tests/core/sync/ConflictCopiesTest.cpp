#include "core/sync/ConflictCopies.h"
#include "TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

// The copies sync tools leave beside the diary are found by their names,
// and nothing else in the folder is taken for one.
class ConflictCopiesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void FoundByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("tool"); // -1: not a copy of this diary
        QTest::addColumn<QDateTime>("written");
        const auto at = [](int y, int m, int d, int h = 0, int min = 0, int s = 0) {
            return QDateTime(QDate(y, m, d), QTime(h, min, s));
        };
        const int none = -1;
        QTest::newRow("Syncthing") << QStringLiteral("日記.sync-conflict-20261208-101530-ABCD234.DAT")
                                   << int(ConflictCopy::Tool::Syncthing) << at(2026, 12, 8, 10, 15, 30);
        QTest::newRow("Nextcloud") << QStringLiteral("日記 (conflicted copy 2026-12-08 101530).DAT")
                                   << int(ConflictCopy::Tool::Nextcloud) << at(2026, 12, 8, 10, 15, 30);
        QTest::newRow("Dropbox") << QStringLiteral("日記 (Taro's conflicted copy 2026-12-08).DAT")
                                 << int(ConflictCopy::Tool::Dropbox) << at(2026, 12, 8);
        QTest::newRow("Dropbox, second of the day")
            << QStringLiteral("日記 (ノートPC's conflicted copy 2026-12-09 (1)).DAT")
            << int(ConflictCopy::Tool::Dropbox) << at(2026, 12, 9);
        QTest::newRow("the diary itself") << QStringLiteral("日記.DAT") << none << QDateTime();
        QTest::newRow("its journal") << QStringLiteral("日記.DAT-journal") << none << QDateTime();
        QTest::newRow("the rewrite's file") << QStringLiteral("~~Tmp~~.Tmp") << none << QDateTime();
        QTest::newRow("another diary's copy")
            << QStringLiteral("日記2.sync-conflict-20261208-101530-ABCD234.DAT") << none << QDateTime();
        QTest::newRow("another ending") << QStringLiteral("日記.sync-conflict-20261208-101530-ABCD234.txt") << none
                                        << QDateTime();
        QTest::newRow("other case") << QStringLiteral("日記.sync-conflict-20261208-101530-ABCD234.dat") << none
                                    << QDateTime();
        QTest::newRow("a day that never was")
            << QStringLiteral("日記 (conflicted copy 2026-02-30 101530).DAT") << none << QDateTime();
        QTest::newRow("the journal's copy")
            << QStringLiteral("日記.DAT.sync-conflict-20261208-101530-ABCD234.DAT-journal") << none << QDateTime();
    }
    void FoundByName()
    {
        QFETCH(QString, name);
        QFETCH(int, tool);
        QFETCH(QDateTime, written);
        QTemporaryDir folder;
        const QString diary = folder.filePath(QStringLiteral("日記.DAT"));
        for (const QString& file : {diary, folder.filePath(name)}) {
            QFile made(file);
            QVERIFY(made.open(QIODevice::WriteOnly));
        }
        const std::vector<ConflictCopy> copies = ConflictCopies::Beside(diary);
        QCOMPARE(int(copies.size()), tool == -1 ? 0 : 1);
        if (tool != -1) {
            QCOMPARE(copies[0].path, folder.filePath(name));
            QCOMPARE(int(copies[0].tool), tool);
            QCOMPARE(copies[0].written, written);
        }
    }

    // A link, a folder or another user's file under a copy's name is never
    // read; the copies come oldest first.
    void OnlyRealFilesOldestFirst()
    {
        QTemporaryDir folder;
        const QString newer = folder.filePath(QStringLiteral("d (conflicted copy 2026-12-08 101530).DAT"));
        const QString older = folder.filePath(QStringLiteral("d.sync-conflict-20261207-235959-ABCD234.DAT"));
        for (const QString& file : {newer, older}) {
            QFile made(file);
            QVERIFY(made.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link(older, folder.filePath(QStringLiteral("d.sync-conflict-20261201-000000-LINK234.DAT"))));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("d.sync-conflict-20261202-000000-DIRS234.DAT")));
        // Only root can give a file away; for anyone else there is none.
        const QByteArray foreign =
            QFile::encodeName(folder.filePath(QStringLiteral("d (x's conflicted copy 2026-12-03).DAT")));
        if (::geteuid() == 0) {
            QFile made(QFile::decodeName(foreign));
            QVERIFY(made.open(QIODevice::WriteOnly));
            QCOMPARE(::chown(foreign.constData(), 65534, 65534), 0);
        }
        const std::vector<ConflictCopy> copies = ConflictCopies::Beside(folder.filePath(QStringLiteral("d.DAT")));
        QCOMPARE(int(copies.size()), 2);
        QCOMPARE(copies[0].path, older);
        QCOMPARE(copies[1].path, newer);
    }
};

SORAFUMI_TEST(ConflictCopiesTest)
#include "ConflictCopiesTest.moc"
