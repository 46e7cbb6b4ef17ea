#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/backup/DiaryBackup.h"
#include "core/diary/DiaryFiles.h"
#include "core/diary/PageRecords.h"
#include "core/platform/PageJournal.h"
#include "core/platform/RecordFile.h"
#include "core/platform/RecordFileRewriter.h"
#include "core/stats/DiaryTotals.h"
#include "core/stats/TotalsCsv.h"
#include "core/transfer/DiaryExport.h"

#include <QTest>
#include <functional>
#include <memory>

using namespace StoreFixture;

namespace {

// Nobody on the machine: the owner of what another user planted.
constexpr uid_t OtherUser = 4242;
constexpr gid_t Family = 4343;

using Operation = std::function<FileError(RecordFile& diary, const QString& folder)>;

QByteArray TwoPages()
{
    return DiaryBuilder::SampleRecord() + DiaryBuilder::SampleRecord().replace("晴れ", "曇り");
}

} // namespace

Q_DECLARE_METATYPE(Operation)

// A diary in a folder other users can write: what they leave there is neither
// written through, removed, nor played into the diary.
class SharedFolderTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        scratch_ = std::make_unique<ScratchFolder>();
        QVERIFY(scratch_->IsValid());
        folder_ = scratch_->FilePath(QStringLiteral("shared"));
        QVERIFY(QDir().mkpath(folder_));
        diary_ = folder_ + QStringLiteral("/DIARY.DAT");
        QVERIFY(WriteBytes(diary_, TwoPages()));
        victim_ = scratch_->FilePath(QStringLiteral("bashrc"));
        QVERIFY(WriteBytes(victim_, "alias ls='ls -F'\n"));
    }
    void cleanup() { scratch_.reset(); }

    void LinkAtATemporaryNameIsNotWrittenThrough_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Operation>("operation");
        QTest::newRow("rewrite") << RecordFileRewriter::TempFileName()
                                 << Operation([](RecordFile& diary, const QString&) {
                                        return RecordFileRewriter::Rewrite(diary, 2, 1);
                                    });
        QTest::newRow("restore") << RecordFileRewriter::TempFileName()
                                 << Operation([](RecordFile& diary, const QString& folder) {
                                        const QString copy = folder + QStringLiteral("/../copy.DAT");
                                        WriteBytes(copy, DiaryBuilder::SampleRecord());
                                        return DiaryBackup::Replace(diary, copy);
                                    });
        QTest::newRow("statistics") << TotalsCsv::TempFileName() << Operation([](RecordFile&, const QString& folder) {
            return TotalsCsv::Write(folder + QStringLiteral("/totals.csv"), 2026, {}, {}, TotalsCsv::Encoding::Cp932);
        });
    }
    void LinkAtATemporaryNameIsNotWrittenThrough()
    {
        QFETCH(QString, name);
        QFETCH(Operation, operation);
        QVERIFY(QFile::link(victim_, folder_ + u'/' + name));
        RecordFile diary;
        QVERIFY(!diary.Open(diary_, DiaryPage::RecordLength));

        QCOMPARE(operation(diary, folder_).code, FileError::None);
        QCOMPARE(ReadBytes(victim_), QByteArray("alias ls='ls -F'\n"));
    }

    void LinkAtTheExportFolderKeepsTheFilesItLeadsTo()
    {
        const QString elsewhere = scratch_->FilePath(QStringLiteral("photos"));
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(WriteBytes(elsewhere + QStringLiteral("/beach.jpg"), "JPEG"));
        QVERIFY(QFile::link(elsewhere, folder_ + u'/' + DiaryExport::TempFolderName()));
        RecordFile diary;
        QVERIFY(!diary.Open(diary_, DiaryPage::RecordLength));
        ExportRequest request;
        request.folder = folder_;

        QCOMPARE(int(DiaryExport::Run(diary, 2, request, {}).outcome), int(DiaryExport::Outcome::Written));
        QCOMPARE(ReadBytes(elsewhere + QStringLiteral("/beach.jpg")), QByteArray("JPEG"));
    }

    void ReplacedDiaryKeepsItsGroupAndMode_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::newRow("page deleted") << Operation(
            [](RecordFile& diary, const QString&) { return RecordFileRewriter::Rewrite(diary, 2, 1); });
        QTest::newRow("restored") << Operation([](RecordFile& diary, const QString& folder) {
            const QString copy = folder + QStringLiteral("/../copy.DAT");
            WriteBytes(copy, DiaryBuilder::SampleRecord());
            return DiaryBackup::Replace(diary, copy);
        });
    }
    void ReplacedDiaryKeepsItsGroupAndMode()
    {
        QFETCH(Operation, operation);
        if (::geteuid() != 0)
            QSKIP("only root can give the diary a group it is no member of");
        QCOMPARE(::chown(QFile::encodeName(diary_).constData(), uid_t(-1), Family), 0);
        QCOMPARE(::chmod(QFile::encodeName(diary_).constData(), 0640), 0);
        RecordFile diary;
        QVERIFY(!diary.Open(diary_, DiaryPage::RecordLength));

        QCOMPARE(operation(diary, folder_).code, FileError::None);
        struct stat info
        {
        };
        QCOMPARE(::stat(QFile::encodeName(diary_).constData(), &info), 0);
        QCOMPARE(info.st_gid, Family);
        QCOMPARE(info.st_mode & 07777, mode_t(0640));
    }

    void JournalOfAnotherUserIsNotApplied()
    {
        if (::geteuid() != 0)
            QSKIP("only root can plant a file another user owns");
        // Another user's journal would put the first page back as one of theirs.
        const QString journal = PageJournal::PathFor(diary_);
        QVERIFY(WriteBytes(journal, PageJournal::Encode(1, QByteArray(DiaryPage::RecordLength, 'x'))));
        QCOMPARE(::chown(QFile::encodeName(journal).constData(), OtherUser, OtherUser), 0);
        ScriptedPrompter prompter;
        prompter.AnswerMessage(Prompter::Answer::Ok);
        RecordFile diary;

        QCOMPARE(DiaryFiles::OpenDiaryFile(prompter, diary_, false, diary), true);
        QCOMPARE(ReadBytes(diary_), TwoPages());
        QVERIFY(QFile::exists(journal));
        QCOMPARE(prompter.MessageTexts().size(), 1);
        QVERIFY(prompter.MessageTexts().first().contains(journal));
    }

private:
    std::unique_ptr<ScratchFolder> scratch_;
    QString folder_;
    QString diary_;
    QString victim_;
};

SORAFUMI_TEST(SharedFolderTest)

#include "SharedFolderTest.moc"
