#include "core/platform/RecordFile.h"
#include "TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Length = 10090;

// Three records of 'A', 'B' and 'C' and a trailing part of 100 '#'.
QByteArray ThreeRecordsAndTail()
{
    return QByteArray(Length, 'A') + QByteArray(Length, 'B') + QByteArray(Length, 'C') + QByteArray(100, '#');
}

} // namespace

class RecordFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void cleanup() { dir_.reset(); }

    void NewFileIsEmptyAndOwnerOnly()
    {
        // With no umask to help, the mode the program asks for is the mode the
        // file gets.
        const mode_t savedMask = ::umask(0);
        RecordFile file;
        const FileError error = file.Open(Path(QStringLiteral("diary.dat")), Length);
        ::umask(savedMask);
        QCOMPARE(error.code, FileError::None);
        QVERIFY(file.IsOpen());
        QCOMPARE(file.RecordCount(), 0);

        struct stat info
        {
        };
        QCOMPARE(::stat(QFile::encodeName(Path(QStringLiteral("diary.dat"))).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0600));
        QCOMPARE(qint64(info.st_size), qint64(0));
    }

    void RecordCount_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("records");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("one byte short of a record") << Length - 1 << 0;
        QTest::newRow("one record") << Length << 1;
        QTest::newRow("three records and a tail") << Length * 3 + 100 << 3;
    }
    void RecordCount()
    {
        QFETCH(int, bytes);
        QFETCH(int, records);
        const QByteArray content(bytes, 'x');
        WriteFile(QStringLiteral("diary.dat"), content);
        RecordFile file;
        QVERIFY(!file.Open(Path(QStringLiteral("diary.dat")), Length));
        QCOMPARE(file.RecordCount(), records);
        // Opening leaves an existing file as it was.
        QCOMPARE(ReadFile(QStringLiteral("diary.dat")), content);
    }

    void ReadRecord_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("code");
        QTest::addColumn<char>("fill");
        QTest::newRow("first") << 1 << 0 << 'A';
        QTest::newRow("middle") << 2 << 0 << 'B';
        QTest::newRow("last whole record") << 3 << 0 << 'C';
        QTest::newRow("the tail is not a record") << 4 << int(FileError::InputPastEnd) << '\0';
        QTest::newRow("far past the end") << 100 << int(FileError::InputPastEnd) << '\0';
        QTest::newRow("record 0") << 0 << int(FileError::BadRecordNumber) << '\0';
        QTest::newRow("negative record") << -1 << int(FileError::BadRecordNumber) << '\0';
    }
    void ReadRecord()
    {
        QFETCH(int, number);
        QFETCH(int, code);
        QFETCH(char, fill);
        WriteFile(QStringLiteral("diary.dat"), ThreeRecordsAndTail());
        RecordFile file;
        QVERIFY(!file.Open(Path(QStringLiteral("diary.dat")), Length));
        QByteArray record;
        const FileError error = file.ReadRecord(number, record);
        QCOMPARE(int(error.code), code);
        if (code == 0)
            QCOMPARE(record, QByteArray(Length, fill));
    }

    void WriteRecordTouchesOnlyItsPlace_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray a(Length, 'A');
        const QByteArray b(Length, 'B');
        const QByteArray c(Length, 'C');
        const QByteArray tail(100, '#');
        const QByteArray w(Length, 'w');
        QTest::newRow("first") << 1 << w + b + c + tail;
        QTest::newRow("middle") << 2 << a + w + c + tail;
        QTest::newRow("last") << 3 << a + b + w + tail;
        QTest::newRow("appended over the tail") << 4 << a + b + c + w;
    }
    void WriteRecordTouchesOnlyItsPlace()
    {
        QFETCH(int, number);
        QFETCH(QByteArray, expected);
        WriteFile(QStringLiteral("diary.dat"), ThreeRecordsAndTail());
        RecordFile file;
        QVERIFY(!file.Open(Path(QStringLiteral("diary.dat")), Length));
        QCOMPARE(file.WriteRecord(number, QByteArray(Length, 'w')).code, FileError::None);
        QCOMPARE(file.Flush().code, FileError::None);
        const QByteArray bytes = ReadFile(QStringLiteral("diary.dat"));
        QCOMPARE(bytes.size(), expected.size());
        QVERIFY(bytes == expected);

        QByteArray back;
        QVERIFY(!file.ReadRecord(number, back));
        QVERIFY(back == QByteArray(Length, 'w'));
    }

    void RefusedWrites_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("code");
        QTest::newRow("record 0") << 0 << Length << int(FileError::BadRecordNumber);
        QTest::newRow("short record") << 1 << Length - 1 << int(FileError::BadFileMode);
        QTest::newRow("long record") << 1 << Length + 1 << int(FileError::BadFileMode);
    }
    void RefusedWrites()
    {
        QFETCH(int, number);
        QFETCH(int, size);
        QFETCH(int, code);
        WriteFile(QStringLiteral("diary.dat"), ThreeRecordsAndTail());
        RecordFile file;
        QVERIFY(!file.Open(Path(QStringLiteral("diary.dat")), Length));
        QCOMPARE(int(file.WriteRecord(number, QByteArray(size, 'w')).code), code);
        QVERIFY(ReadFile(QStringLiteral("diary.dat")) == ThreeRecordsAndTail());
    }

    void ClosedFileRefusesEverything()
    {
        RecordFile file;
        QByteArray record;
        QCOMPARE(file.ReadRecord(1, record).code, FileError::BadFileNameOrNumber);
        QCOMPARE(file.WriteRecord(1, QByteArray(Length, 'w')).code, FileError::BadFileNameOrNumber);
        QCOMPARE(file.Flush().code, FileError::BadFileNameOrNumber);
        QCOMPARE(file.RecordCount(), 0);
    }

    void TruncateKeepsWholeRecords()
    {
        WriteFile(QStringLiteral("diary.dat"), ThreeRecordsAndTail());
        RecordFile file;
        QVERIFY(!file.Open(Path(QStringLiteral("diary.dat")), Length));
        QVERIFY(!file.Truncate(2));
        QCOMPARE(file.RecordCount(), 2);
        QVERIFY(ReadFile(QStringLiteral("diary.dat")) == QByteArray(Length, 'A') + QByteArray(Length, 'B'));
    }

    void OpenFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("systemError");
        QTest::newRow("a folder") << QStringLiteral("folder") << int(FileError::PathFileAccess) << EISDIR;
        QTest::newRow("in a missing folder")
            << QStringLiteral("missing/diary.dat") << int(FileError::PathNotFound) << ENOENT;
        QTest::newRow("under a file") << QStringLiteral("plain/diary.dat") << int(FileError::PathNotFound) << ENOTDIR;
        QTest::newRow("name too long") << QString(300, u'a') << int(FileError::BadFileName) << ENAMETOOLONG;
        QTest::newRow("a pipe") << QStringLiteral("pipe") << int(FileError::BadFileName) << EINVAL;
    }
    void OpenFailures()
    {
        QFETCH(QString, name);
        QFETCH(int, code);
        QFETCH(int, systemError);
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("folder")));
        WriteFile(QStringLiteral("plain"), "x");
        QCOMPARE(::mkfifo(QFile::encodeName(Path(QStringLiteral("pipe"))).constData(), 0600), 0);

        RecordFile file;
        // Whatever an earlier call left behind must not become the reason.
        errno = ENOENT;
        const FileError error = file.Open(Path(name), Length);
        QCOMPARE(int(error.code), code);
        QCOMPARE(error.systemError, systemError);
        QVERIFY(!file.IsOpen());
        QVERIFY(!QFile::exists(Path(QStringLiteral("missing"))));
    }

    void EmptyNameIsRefused()
    {
        RecordFile file;
        QCOMPARE(file.Open(QString(), Length).code, FileError::BadFileName);
        QVERIFY(!file.IsOpen());
    }

    void ReadOnlyFileIsRefused()
    {
        if (::geteuid() == 0)
            QSKIP("root may write to any file");
        WriteFile(QStringLiteral("diary.dat"), QByteArray(Length, 'A'));
        QVERIFY(QFile::setPermissions(Path(QStringLiteral("diary.dat")), QFileDevice::ReadOwner));
        RecordFile file;
        const FileError error = file.Open(Path(QStringLiteral("diary.dat")), Length);
        QCOMPARE(error.code, FileError::PathFileAccess);
        QCOMPARE(error.systemError, EACCES);
        QVERIFY(!file.IsOpen());
    }

    void FromErrno_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("code");
        QTest::newRow("none") << 0 << int(FileError::None);
        QTest::newRow("disk full") << ENOSPC << int(FileError::DeviceIO);
        QTest::newRow("quota") << EDQUOT << int(FileError::DeviceIO);
        QTest::newRow("input/output") << EIO << int(FileError::DeviceIO);
        QTest::newRow("no such file") << ENOENT << int(FileError::PathNotFound);
        QTest::newRow("not a folder") << ENOTDIR << int(FileError::PathNotFound);
        QTest::newRow("name too long") << ENAMETOOLONG << int(FileError::BadFileName);
        QTest::newRow("no such device") << ENXIO << int(FileError::DeviceUnavailable);
        QTest::newRow("no medium") << ENOMEDIUM << int(FileError::DiskNotReady);
        QTest::newRow("bad handle") << EBADF << int(FileError::BadFileNameOrNumber);
        QTest::newRow("busy") << EBUSY << int(FileError::FileAlreadyOpen);
        QTest::newRow("permission") << EACCES << int(FileError::PathFileAccess);
        QTest::newRow("read-only file system") << EROFS << int(FileError::PathFileAccess);
        QTest::newRow("a folder") << EISDIR << int(FileError::PathFileAccess);
    }
    void FromErrno()
    {
        QFETCH(int, error);
        QFETCH(int, code);
        const FileError mapped = FileError::FromErrno(error);
        QCOMPARE(int(mapped.code), code);
        QCOMPARE(bool(mapped), code != 0);
        // The real reason stays with the code, for the message.
        QCOMPARE(mapped.systemError, code == 0 ? 0 : error);
    }

private:
    QString Path(const QString& name) const { return dir_->filePath(name); }
    void WriteFile(const QString& name, const QByteArray& bytes) const
    {
        QFile out(Path(name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(bytes), bytes.size());
    }
    QByteArray ReadFile(const QString& name) const
    {
        QFile in(Path(name));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    std::unique_ptr<QTemporaryDir> dir_;
};

SORAFUMI_TEST(RecordFileTest)
#include "RecordFileTest.moc"
