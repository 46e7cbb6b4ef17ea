#include "core/platform/RecordFileRewriter.h"
#include "ProgramTexts.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/platform/RecordFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <memory>

using namespace StoreFixture;

namespace {

constexpr int Length = 10090;

// Records named by letters: "ABC" is a record of 'A', one of 'B', one of 'C'.
QByteArray Records(const QByteArray& letters)
{
    QByteArray bytes;
    for (const char letter : letters)
        bytes += QByteArray(Length, letter);
    return bytes;
}

// Record n of a long file (n below 256): every byte of it tells its number.
QByteArray Numbered(int n)
{
    return QByteArray(Length, char(n));
}

QByteArray NumberedRecords(const QList<int>& numbers)
{
    QByteArray bytes;
    for (const int n : numbers)
        bytes += Numbered(n);
    return bytes;
}

QList<int> Without(int count, int drop)
{
    QList<int> numbers;
    for (int n = 1; n <= count; ++n)
        if (n != drop)
            numbers << n;
    return numbers;
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name);
}

} // namespace

class RecordFileRewriterTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        scratch_ = std::make_unique<ScratchFolder>();
        QVERIFY(scratch_->IsValid());
        QVERIFY(QDir(scratch_->Path()).mkdir(QStringLiteral("diary")));
        QVERIFY(QDir(scratch_->Path()).mkdir(QStringLiteral("elsewhere")));
        // The current folder is not the file's: a temporary file there is
        // somebody else's.
        folder_ = std::make_unique<CurrentFolder>(scratch_->FilePath(QStringLiteral("elsewhere")));
        QVERIFY(WriteBytes(TempName, "not ours"));
        path_ = scratch_->FilePath(QStringLiteral("diary/DIARY.DAT"));
    }
    void cleanup()
    {
        folder_.reset();
        scratch_.reset();
    }

    void Rewrite_data()
    {
        QTest::addColumn<int>("keep");
        QTest::addColumn<int>("drop");
        QTest::addColumn<QByteArray>("left");
        QTest::newRow("all five, without the tail") << 5 << 0 << QByteArray("ABCDE");
        QTest::newRow("without the first") << 5 << 1 << QByteArray("BCDE");
        QTest::newRow("without the middle one") << 5 << 3 << QByteArray("ABDE");
        QTest::newRow("without the last") << 5 << 5 << QByteArray("ABCD");
        QTest::newRow("the first three") << 3 << 0 << QByteArray("ABC");
        QTest::newRow("a drop past the kept ones") << 3 << 5 << QByteArray("ABC");
        QTest::newRow("none") << 0 << 0 << QByteArray();
    }
    void Rewrite()
    {
        QFETCH(int, keep);
        QFETCH(int, drop);
        QFETCH(QByteArray, left);
        QVERIFY(WriteBytes(path_, Records("ABCDE") + QByteArray(100, '#')));
        QVERIFY(QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        // A leftover of an earlier run, longer than the result.
        QVERIFY(WriteBytes(scratch_->FilePath(QStringLiteral("diary/") + TempName), Records("ZZZZZZZ")));
        RecordFile file;
        QVERIFY(!file.Open(path_, Length));

        const FileError error = RecordFileRewriter::Rewrite(file, keep, drop);

        QCOMPARE(error.code, FileError::None);
        QVERIFY(ReadBytes(path_) == Records(left));
        QCOMPARE(Entries(scratch_->FilePath(QStringLiteral("diary"))), QStringList{QStringLiteral("DIARY.DAT")});
        QCOMPARE(ReadBytes(TempName), QByteArray("not ours"));
        QCOMPARE(StampOf(path_).mode, mode_t(0640));
        // The file stays open, on what was written.
        QVERIFY(file.IsOpen());
        QCOMPARE(file.RecordCount(), int(left.size()));
        if (!left.isEmpty()) {
            QByteArray first;
            QVERIFY(!file.ReadRecord(1, first));
            QVERIFY(first == QByteArray(Length, left[0]));
            QVERIFY(!file.WriteRecord(1, QByteArray(Length, 'N')));
            QVERIFY(ReadBytes(path_).left(Length) == QByteArray(Length, 'N'));
        }
    }

    // A diary kept elsewhere and reached through a link: the file it points to
    // is rewritten, the link stays a link.
    void LinkedFileRewrittenWhereItLives()
    {
        QVERIFY(QDir(scratch_->Path()).mkdir(QStringLiteral("real")));
        const QString real = scratch_->FilePath(QStringLiteral("real/DIARY.DAT"));
        QVERIFY(WriteBytes(real, Records("ABCDE")));
        QVERIFY(QFile::link(QStringLiteral("../real/DIARY.DAT"), path_));
        RecordFile file;
        QVERIFY(!file.Open(path_, Length));

        QCOMPARE(RecordFileRewriter::Rewrite(file, 5, 1).code, FileError::None);

        QVERIFY(QFileInfo(path_).isSymLink());
        QVERIFY(ReadBytes(real) == Records("BCDE"));
        QCOMPARE(Entries(scratch_->FilePath(QStringLiteral("real"))), QStringList{QStringLiteral("DIARY.DAT")});
        QCOMPARE(Entries(scratch_->FilePath(QStringLiteral("diary"))), QStringList{QStringLiteral("DIARY.DAT")});
        QVERIFY(!file.WriteRecord(1, QByteArray(Length, 'N')));
        QVERIFY(ReadBytes(path_).left(Length) == QByteArray(Length, 'N'));
    }

    void LongFileCopiedInRuns_data()
    {
        // About a megabyte is copied at a time: 103 records of this length.
        QTest::addColumn<int>("keep");
        QTest::addColumn<int>("drop");
        QTest::newRow("all") << 250 << 0;
        QTest::newRow("the last of the first run") << 250 << 103;
        QTest::newRow("the first of the second run") << 250 << 104;
        QTest::newRow("the very last") << 250 << 250;
        QTest::newRow("fewer kept than there are") << 206 << 104;
    }
    void LongFileCopiedInRuns()
    {
        QFETCH(int, keep);
        QFETCH(int, drop);
        QVERIFY(WriteBytes(path_, NumberedRecords(Without(250, 0))));
        RecordFile file;
        QVERIFY(!file.Open(path_, Length));
        QCOMPARE(RecordFileRewriter::Rewrite(file, keep, drop).code, FileError::None);
        const QByteArray expected = NumberedRecords(Without(keep, drop));
        const QByteArray disk = ReadBytes(path_);
        QCOMPARE(disk.size(), expected.size());
        QVERIFY(disk == expected);
    }

    void FailureLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("systemError");
        QTest::newRow("more records than the file holds")
            << QStringLiteral("short") << int(FileError::InputPastEnd) << 0;
        QTest::newRow("a closed file") << QStringLiteral("closed") << int(FileError::BadFileNameOrNumber) << EBADF;
        QTest::newRow("a full disk") << QStringLiteral("full") << int(FileError::DeviceIO) << ENOSPC;
        QTest::newRow("an immutable folder") << QStringLiteral("immutable") << int(FileError::PathFileAccess) << EPERM;
    }
    void FailureLeavesTheFileAsItWas()
    {
        QFETCH(QString, failure);
        QFETCH(int, code);
        QFETCH(int, systemError);
        QString path = path_;
        if (failure == QStringLiteral("full")) {
            if (const QString why = scratch_->MountSmallDisk(64); !why.isEmpty())
                QSKIP(qPrintable(why));
            // 13 of the disk's 16 pages of memory: no room for a copy.
            path = scratch_->Disk().FilePath(QStringLiteral("DIARY.DAT"));
        }
        const QString folder = QFileInfo(path).absolutePath();
        const QByteArray bytes = Records("ABCDE") + QByteArray(100, '#');
        QVERIFY(WriteBytes(path, bytes));
        RecordFile file;
        QVERIFY(!file.Open(path, Length));
        int keep = 5;
        if (failure == QStringLiteral("short"))
            keep = 6;
        if (failure == QStringLiteral("closed"))
            file.Close();
        if (failure == QStringLiteral("immutable")) {
            if (::geteuid() != 0)
                QSKIP("only root can protect a folder from root");
            if (!scratch_->Seal(folder))
                QSKIP("the file system cannot make a folder immutable");
        }

        const FileError error = RecordFileRewriter::Rewrite(file, keep, 2);

        QCOMPARE(int(error.code), code);
        QCOMPARE(error.systemError, systemError);
        QVERIFY(ReadBytes(path) == bytes);
        QCOMPARE(Entries(folder), QStringList{QStringLiteral("DIARY.DAT")});
        QCOMPARE(ReadBytes(TempName), QByteArray("not ours"));
        if (failure != QStringLiteral("closed")) {
            // Still open on the file as it was.
            QCOMPARE(file.RecordCount(), 5);
            QByteArray last;
            QVERIFY(!file.ReadRecord(5, last));
            QVERIFY(last == QByteArray(Length, 'E'));
        }
    }

private:
    std::unique_ptr<ScratchFolder> scratch_;
    std::unique_ptr<CurrentFolder> folder_;
    QString path_;
};

SORAFUMI_TEST(RecordFileRewriterTest)
#include "RecordFileRewriterTest.moc"
