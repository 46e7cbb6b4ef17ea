#include "core/diary/DiaryFiles.h"
#include "DiaryBuilder.h"
#include "ProgramTexts.h"
#include "ScriptedPrompter.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/platform/RecordFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>

using namespace StoreFixture;

namespace {

constexpr short RecordLength = 10090;

const QString BadName = QStringLiteral("ﾌｧｲﾙ名が正しくありません。");
const QString NoPath = QStringLiteral("指定されたﾊﾟｽが存在しません。");
const QString DeviceNotReady = QStringLiteral("ﾃﾞﾊﾞｲｽが準備されていません。");
const QString NoAccess = QStringLiteral("ﾌｧｲﾙにｱｸｾｽできません。\r");

QString CreationBox(const QString& name)
{
    return Message(name + QStringLiteral("という名前でファイルを作成します。\rこの名前でファイルを作成しますか？"),
                   QStringLiteral("ファイル名確認"), Prompter::Buttons::OkCancel, Prompter::Icon::Information);
}

// Answers like ScriptedPrompter, and lets a test change the world while a box
// is up, as a user who plugs a device back in before pressing Retry.
class HookedPrompter : public ScriptedPrompter
{
public:
    Answer Message(const Box& box) override
    {
        const Answer answer = ScriptedPrompter::Message(box);
        if (whileShown)
            whileShown(box);
        return answer;
    }
    std::function<void(const Box&)> whileShown;
};

// A socket file: a name that exists but is no device anyone can open.
int MakeSocketFile(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    if (fd < 0 || size_t(native.size()) >= sizeof(address.sun_path))
        return -1;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

class DiaryFilesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        scratch_ = std::make_unique<ScratchFolder>();
        QVERIFY(scratch_->IsValid());
    }
    void cleanup() { scratch_.reset(); }

    void ReportFileErrorShowsTheMessageOfItsCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("systemError");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("action");
        const int ok = int(Prompter::Answer::Ok);
        QTest::newRow("bad file name or number")
            << int(FileError::BadFileNameOrNumber) << 0 << ok << FileErrorBox(BadName) << 2;
        QTest::newRow("bad file mode") << int(FileError::BadFileMode) << 0 << ok
                                       << FileErrorBox(QStringLiteral("このｱｸｾｽ ﾓｰﾄﾞではﾌｧｲﾙを開けません。")) << 2;
        QTest::newRow("already open") << int(FileError::FileAlreadyOpen) << 0 << ok
                                      << FileErrorBox(QStringLiteral("ﾌｧｲﾙは既に開いています。")) << 2;
        QTest::newRow("device input/output") << int(FileError::DeviceIO) << 0 << ok << FileErrorBox(DiskFull) << 2;
        QTest::newRow("from a full disk keeps its own message")
            << int(FileError::DeviceIO) << ENOSPC << ok << FileErrorBox(DiskFull) << 2;
        QTest::newRow("past the end") << int(FileError::InputPastEnd) << 0 << ok
                                      << FileErrorBox(QStringLiteral(
                                             "このﾌｧｲﾙの EOF 記号が標準と異なります。または EOF 記号を越えてﾃﾞｰﾀを"
                                             "読み込もうとしました。"))
                                      << 2;
        QTest::newRow("bad file name") << int(FileError::BadFileName) << 0 << ok << FileErrorBox(BadName) << 2;
        QTest::newRow("device unavailable, Retry")
            << int(FileError::DeviceUnavailable) << 0 << int(Prompter::Answer::Retry)
            << FileErrorBox(DeviceNotReady, Prompter::Buttons::RetryCancel) << 0;
        QTest::newRow("device unavailable, Cancel")
            << int(FileError::DeviceUnavailable) << ENXIO << int(Prompter::Answer::Cancel)
            << FileErrorBox(DeviceNotReady, Prompter::Buttons::RetryCancel) << 2;
        QTest::newRow("disk not ready") << int(FileError::DiskNotReady) << 0 << ok
                                        << FileErrorBox(QStringLiteral("ﾃﾞｨｽｸが準備されていません。")) << 2;
        QTest::newRow("path not found") << int(FileError::PathNotFound) << ENOENT << ok << FileErrorBox(NoPath) << 2;
    }
    void ReportFileErrorShowsTheMessageOfItsCode()
    {
        QFETCH(int, code);
        QFETCH(int, systemError);
        QFETCH(int, answer);
        QFETCH(QString, line);
        QFETCH(int, action);
        ScriptedPrompter prompter;
        prompter.AnswerMessage(Prompter::Answer(answer));
        QCOMPARE(int(DiaryFiles::ReportFileError(prompter, {FileError::Code(code), systemError})), action);
        QCOMPARE(Shown(prompter), QStringList{line});
    }

    void ReportFileErrorWithoutACodeShowsNothing_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("bad record number") << int(FileError::BadRecordNumber);
        QTest::newRow("access refused without a reason") << int(FileError::PathFileAccess);
        QTest::newRow("no code at all") << 0;
        QTest::newRow("an unknown number") << 999;
    }
    void ReportFileErrorWithoutACodeShowsNothing()
    {
        QFETCH(int, code);
        ScriptedPrompter prompter;
        QCOMPARE(int(DiaryFiles::ReportFileError(prompter, {FileError::Code(code), 0})), 3);
        QCOMPARE(Shown(prompter), QStringList());
    }

    void ReportFileErrorNamesTheReason_data()
    {
        QTest::addColumn<int>("systemError");
        QTest::addColumn<QString>("reason");
        QTest::newRow("permission denied") << EACCES << QStringLiteral("ｱｸｾｽが拒否されました。");
        QTest::newRow("operation not permitted") << EPERM << QStringLiteral("ｱｸｾｽが拒否されました。");
        QTest::newRow("read-only file system") << EROFS << QStringLiteral("読み取り専用のﾃﾞｨｽｸには書き込めません。");
        QTest::newRow("a folder") << EISDIR << QStringLiteral("ﾌｫﾙﾀﾞが指定されています。");
    }
    void ReportFileErrorNamesTheReason()
    {
        QFETCH(int, systemError);
        QFETCH(QString, reason);
        ScriptedPrompter prompter;
        prompter.AnswerMessage(Prompter::Answer::Ok);
        QCOMPARE(int(DiaryFiles::ReportFileError(prompter, FileError::FromErrno(systemError))), 2);
        QCOMPARE(Shown(prompter), QStringList{FileErrorBox(NoAccess + reason)});
    }

    void ForbiddenCharactersAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("semicolon") << QStringLiteral("DIARY;1.DAT");
        QTest::newRow("less than") << QStringLiteral("A<B.DAT");
        QTest::newRow("equals") << QStringLiteral("A=B.DAT");
        QTest::newRow("greater than") << QStringLiteral("A>B.DAT");
        QTest::newRow("question mark") << QStringLiteral("DIARY?.DAT");
        QTest::newRow("opening bracket") << QStringLiteral("DIARY[1.DAT");
        QTest::newRow("star") << QStringLiteral("*.DAT");
        QTest::newRow("closing bracket") << QStringLiteral("DIARY]1.DAT");
        QTest::newRow("inner space") << QStringLiteral("MY DIARY.DAT");
        QTest::newRow("trailing space") << QStringLiteral("DIARY.DAT ");
    }
    void ForbiddenCharactersAreRefused()
    {
        QFETCH(QString, name);
        ScriptedPrompter prompter;
        prompter.AnswerMessage(Prompter::Answer::Ok);
        RecordFile file;
        // Refused before any question about creating the file.
        QCOMPARE(DiaryFiles::OpenDiaryFile(prompter, name, true, file), false);
        QCOMPARE(Shown(prompter), QStringList{FileErrorBox(BadName)});
        QVERIFY(!file.IsOpen());
        QCOMPARE(QDir(scratch_->Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void AllowedNamesAreCreatedAsGiven_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << QStringLiteral("DIARY.DAT");
        QTest::newRow("drive and folders are part of the name") << QStringLiteral("c:\\data\\MYDIARY.DAT");
        QTest::newRow("japanese") << QStringLiteral("日記帳.DAT");
        QTest::newRow("dash, underscore, parentheses") << QStringLiteral("my-diary_(2026).dat");
    }
    void AllowedNamesAreCreatedAsGiven()
    {
        QFETCH(QString, name);
        ScriptedPrompter prompter;
        RecordFile file;
        QCOMPARE(DiaryFiles::OpenDiaryFile(prompter, name, false, file), true);
        QCOMPARE(Shown(prompter), QStringList());
        QCOMPARE(QDir(scratch_->Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{name});
        const Stamp stamp = StampOf(scratch_->FilePath(name));
        QCOMPARE(stamp.size, qint64(0));
        // Nobody but the owner reads a diary.
        QCOMPARE(stamp.mode & 0077, mode_t(0));
    }

    void CreationIsConfirmed_data()
    {
        QTest::addColumn<bool>("absolute");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("opened");
        QTest::newRow("OK creates an empty file") << false << int(Prompter::Answer::Ok) << true;
        QTest::newRow("Cancel creates nothing") << false << int(Prompter::Answer::Cancel) << false;
        QTest::newRow("the box names the whole path") << true << int(Prompter::Answer::Ok) << true;
    }
    void CreationIsConfirmed()
    {
        QFETCH(bool, absolute);
        QFETCH(int, answer);
        QFETCH(bool, opened);
        const QString name = absolute ? scratch_->FilePath(QStringLiteral("NEW.DAT")) : QStringLiteral("NEW.DAT");
        ScriptedPrompter prompter;
        prompter.AnswerMessage(Prompter::Answer(answer));
        RecordFile file;
        QCOMPARE(DiaryFiles::OpenDiaryFile(prompter, name, true, file), opened);
        QCOMPARE(Shown(prompter), QStringList{CreationBox(name)});
        const Stamp stamp = StampOf(scratch_->FilePath(QStringLiteral("NEW.DAT")));
        QCOMPARE(stamp.exists, opened);
        QCOMPARE(stamp.size, qint64(0));
        QCOMPARE(file.IsOpen(), opened);
    }

    void ExistingFileOpensWithoutABox()
    {
        const QByteArray diary =
            DiaryBuilder()
                .Add({QStringLiteral("2026年12月5日"), QStringLiteral("土曜日"), {}, {}, {}, {}, {}})
                .Add({QStringLiteral("2026年12月6日"), QStringLiteral("日曜日"), {}, {}, {}, {}, {}})
                .Bytes();
        QVERIFY(WriteBytes(scratch_->FilePath(QStringLiteral("DIARY.DAT")), diary));
        ScriptedPrompter prompter;
        RecordFile file;
        QCOMPARE(DiaryFiles::OpenDiaryFile(prompter, QStringLiteral("DIARY.DAT"), true, file), true);
        QCOMPARE(Shown(prompter), QStringList());
        QCOMPARE(file.RecordCount(), 2);
        QVERIFY(ReadBytes(scratch_->FilePath(QStringLiteral("DIARY.DAT"))) == diary);
    }

    void OpenFailuresAreExplained_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("lines");
        const QString folder = FileErrorBox(NoAccess + QStringLiteral("ﾌｫﾙﾀﾞが指定されています。"));
        QTest::newRow("a folder as the name") << QStringLiteral("SUB") << false << QStringList{folder};
        // A search for a normal file does not find a folder, so creating it is
        // offered first.
        QTest::newRow("a folder as the name, confirmed")
            << QStringLiteral("SUB") << true << QStringList{CreationBox(QStringLiteral("SUB")), folder};
        QTest::newRow("a missing folder")
            << QStringLiteral("NOWHERE/DIARY.DAT") << false << QStringList{FileErrorBox(NoPath)};
        QTest::newRow("a missing folder, confirmed")
            << QStringLiteral("NOWHERE/DIARY.DAT") << true
            << QStringList{CreationBox(QStringLiteral("NOWHERE/DIARY.DAT")), FileErrorBox(NoPath)};
        QTest::newRow("a file taken for a folder")
            << QStringLiteral("PLAIN/DIARY.DAT") << false << QStringList{FileErrorBox(NoPath)};
    }
    void OpenFailuresAreExplained()
    {
        QFETCH(QString, name);
        QFETCH(bool, confirm);
        QFETCH(QStringList, lines);
        QVERIFY(QDir(scratch_->Path()).mkdir(QStringLiteral("SUB")));
        QVERIFY(WriteBytes(scratch_->FilePath(QStringLiteral("PLAIN")), "x"));
        ScriptedPrompter prompter;
        for (int i = 0; i < lines.size(); ++i)
            prompter.AnswerMessage(Prompter::Answer::Ok);
        RecordFile file;
        QCOMPARE(DiaryFiles::OpenDiaryFile(prompter, name, confirm, file), false);
        QCOMPARE(Shown(prompter), lines);
        QVERIFY(!file.IsOpen());
        QCOMPARE(QDir(scratch_->Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 (QStringList{QStringLiteral("PLAIN"), QStringLiteral("SUB")}));
        QCOMPARE(QDir(scratch_->FilePath(QStringLiteral("SUB"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }

    void RetryOpensAgainWithoutAskingAgain_data()
    {
        QTest::addColumn<int>("retries");
        QTest::addColumn<bool>("deviceBack");
        QTest::newRow("Cancel gives up") << 0 << false;
        QTest::newRow("Retry, then Cancel") << 1 << false;
        QTest::newRow("Retry after the name is free again") << 1 << true;
    }
    void RetryOpensAgainWithoutAskingAgain()
    {
        QFETCH(int, retries);
        QFETCH(bool, deviceBack);
        const QString name = QStringLiteral("SOCKET.DAT");
        const int socket = MakeSocketFile(scratch_->FilePath(name));
        QVERIFY(socket >= 0);
        HookedPrompter prompter;
        prompter.AnswerMessage(Prompter::Answer::Ok);
        QStringList lines{CreationBox(name)};
        for (int i = 0; i < retries; ++i) {
            prompter.AnswerMessage(Prompter::Answer::Retry);
            lines << FileErrorBox(DeviceNotReady, Prompter::Buttons::RetryCancel);
        }
        if (!deviceBack) {
            prompter.AnswerMessage(Prompter::Answer::Cancel);
            lines << FileErrorBox(DeviceNotReady, Prompter::Buttons::RetryCancel);
        } else {
            prompter.whileShown = [&](const Prompter::Box& box) {
                if (box.text == DeviceNotReady)
                    QFile::remove(scratch_->FilePath(name));
            };
        }
        RecordFile file;
        const bool opened = DiaryFiles::OpenDiaryFile(prompter, name, true, file);
        ::close(socket);
        QCOMPARE(opened, deviceBack);
        QCOMPARE(Shown(prompter), lines);
        QCOMPARE(StampOf(scratch_->FilePath(name)).size, qint64(0));
        QCOMPARE(file.IsOpen(), deviceBack);
    }

    void ProtectedDiaryIsExplained_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only disk") << QStringLiteral("read-only")
                                        << QStringLiteral("読み取り専用のﾃﾞｨｽｸには書き込めません。");
        QTest::newRow("immutable file") << QStringLiteral("immutable") << QStringLiteral("ｱｸｾｽが拒否されました。");
    }
    void ProtectedDiaryIsExplained()
    {
        QFETCH(QString, how);
        QFETCH(QString, reason);
        if (::geteuid() != 0)
            QSKIP("only root can mount a disk or protect a file from root");
        if (const QString why = scratch_->MountSmallDisk(64); !why.isEmpty())
            QSKIP(qPrintable(why));
        const QString path = scratch_->Disk().FilePath(QStringLiteral("DIARY.DAT"));
        const QByteArray diary =
            DiaryBuilder().Add({QStringLiteral("2026年12月6日"), QStringLiteral("日曜日"), {}, {}, {}, {}, {}}).Bytes();
        QVERIFY(WriteBytes(path, diary));
        if (how == QStringLiteral("read-only")) {
            QVERIFY(scratch_->Disk().RemountReadOnly());
        } else {
            if (!scratch_->Seal(path))
                QSKIP("the file system cannot make a file immutable");
        }
        ScriptedPrompter prompter;
        prompter.AnswerMessage(Prompter::Answer::Ok);
        RecordFile file;
        QCOMPARE(DiaryFiles::OpenDiaryFile(prompter, path, true, file), false);
        QCOMPARE(Shown(prompter), QStringList{FileErrorBox(NoAccess + reason)});
        QVERIFY(ReadBytes(path) == diary);
    }

    void AskFileName_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("existing");
        QTest::newRow("a plain name in capitals")
            << false << QStringLiteral("diary.dat") << QStringLiteral("DIARY.DAT") << QString();
        // A diary brought from Windows is found under the name it has.
        QTest::newRow("an existing diary as typed")
            << false << QStringLiteral(" old.dat ") << QStringLiteral("old.dat") << QStringLiteral("old.dat");
        QTest::newRow("an existing diary in capitals")
            << false << QStringLiteral("old.dat") << QStringLiteral("OLD.DAT") << QStringLiteral("OLD.DAT");
        QTest::newRow("surrounding spaces go")
            << false << QStringLiteral("  diary.dat  ") << QStringLiteral("DIARY.DAT") << QString();
        QTest::newRow("folders keep their case")
            << false << QStringLiteral("/tmp/x/mydiary.dat") << QStringLiteral("/tmp/x/MYDIARY.DAT") << QString();
        QTest::newRow("drive and backslashes")
            << false << QStringLiteral("c:\\data\\mydiary.dat") << QStringLiteral("c:\\data\\MYDIARY.DAT") << QString();
        QTest::newRow("japanese folders") << false << QStringLiteral("/home/taro/日記/my diary.dat")
                                          << QStringLiteral("/home/taro/日記/MY DIARY.DAT") << QString();
        QTest::newRow("only spaces") << false << QStringLiteral("   ") << QString() << QString();
        QTest::newRow("empty") << false << QString() << QString() << QString();
        QTest::newRow("Cancel") << true << QString() << QString() << QString();
    }
    void AskFileName()
    {
        QFETCH(bool, cancel);
        QFETCH(QString, typed);
        QFETCH(QString, answer);
        QFETCH(QString, existing);
        if (!existing.isEmpty())
            QVERIFY(WriteBytes(existing, {}));
        const QString prompt = QStringLiteral("名前は？\r二行目");
        ScriptedPrompter prompter;
        prompter.AnswerInput(cancel ? std::nullopt : std::optional<QString>(typed));
        QCOMPARE(DiaryFiles::AskFileName(prompter, prompt), answer);
        QCOMPARE(Shown(prompter), QStringList{Input(prompt, QStringLiteral("ファイル名の入力"))});
    }

private:
    std::unique_ptr<ScratchFolder> scratch_;
};

SORAFUMI_TEST(DiaryFilesTest)
#include "DiaryFilesTest.moc"
