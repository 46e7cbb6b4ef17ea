#include "ScratchStoreTest.h"
#include "TestRegistry.h"
#include "core/crypt/EncryptedRecordFile.h"
#include "core/platform/Cp932.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

using namespace StoreFixture;

namespace {

const QString Password = QStringLiteral("合言葉");

QByteArray Page(int day, const QString& body)
{
    return DiaryBuilder::Page({QStringLiteral("2001年5月%1日").arg(day),
                               QStringLiteral("火曜日"),
                               QStringLiteral("0"),
                               QStringLiteral("山田太郎"),
                               QStringLiteral("午前 9:00:00"),
                               {},
                               body})
        .ToBytes();
}

// Every file under the folder that holds `text` as the diary stores it.
QStringList FilesHolding(const QString& folder, const QString& text)
{
    const QByteArray stored = Cp932::Encode(text);
    QStringList found;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (ReadBytes(path).contains(stored))
            found << path;
    }
    return found;
}

} // namespace

class LockedDiaryTest : public ScratchStoreTest
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        ScratchStoreTest::init();
        h_->app.BackupFolder = scratch_->FilePath(QStringLiteral("backups"));
        h_->app.BackupDaily = 7;
        QVERIFY(WriteBytes(scratch_->FilePath(QStringLiteral("DIARY.DAT")),
                           Page(1, QStringLiteral("桜の花が咲いた")) + Page(2, QStringLiteral("雨の一日"))));
        h_->Start(QStringLiteral("DIARY.DAT"));
        // A day's first change leaves a plain copy in the backups.
        h_->view.fields[int(EntryField::Body)] = QStringLiteral("雨のち晴れ");
        h_->store.MarkChanged();
        QVERIFY(h_->store.StorePage());
        QString code;
        QVERIFY(!h_->store.Lock(Password, code));
        QVERIFY(!code.isEmpty());
    }

    // Locked, written, searched, restarted with the password: the pages are
    // all there, and no page's text is anywhere on the disk, backups included
    // once the user lets them be replaced.
    void LockedDiaryKeepsWorkingAndShowsNothing()
    {
        QCOMPARE(h_->app.UserDataFile, QStringLiteral("DIARY.sfk"));
        QVERIFY(h_->store.IsEncrypted());
        QCOMPARE(h_->store.PlainBackups().size(), 1);
        QVERIFY(!h_->store.EncryptPlainBackups(Password));
        QVERIFY(h_->store.PlainBackups().isEmpty());
        h_->view.fields[int(EntryField::Body)] = QStringLiteral("鍵をかけた日");
        h_->store.MarkChanged();
        QVERIFY(h_->store.StorePage());
        QVERIFY(h_->store.AppendPages(Page(3, QStringLiteral("取り込んだ日"))));
        for (const QString& text :
             {QStringLiteral("桜の花"), QStringLiteral("鍵をかけた日"), QStringLiteral("取り込んだ")})
            QVERIFY2(FilesHolding(scratch_->Path(), text).isEmpty(), qPrintable(text));
        h_->store.Release();

        h_ = std::make_unique<StoreHarness>();
        h_->app.UserDataFile = QStringLiteral("DIARY.sfk");
        QVERIFY(h_->store.IsEncrypted());
        QCOMPARE(h_->store.Unlock(QStringLiteral("違う")).kind, CryptResult::WrongSecret);
        QVERIFY(!h_->store.Unlock(Password));
        h_->Start(QStringLiteral("DIARY.sfk"));
        QCOMPARE(h_->store.PageCount(), 3);
        QCOMPARE(h_->store.FindInBodies(QStringLiteral("鍵をかけた"), 1), std::optional<qint32>(2));
        QCOMPARE(h_->store.PageDaysOf(2001, 5), std::optional<QList<int>>(QList<int>{1, 2, 3}));
    }

    // A page the other computer added to the locked diary comes in without
    // a question: the sealed base tells it new, not deleted here.
    void DeliveredPageOfTheLockedDiaryComesIn()
    {
        QVERIFY(!h_->store.EncryptPlainBackups(Password));
        const QString path = scratch_->FilePath(QStringLiteral("DIARY.sfk"));
        const QString theirs = path + QStringLiteral(".tmp");
        QVERIFY(QFile::copy(path, theirs));
        {
            EncryptedRecordFile other;
            QVERIFY(!other.Open(theirs, Password));
            QVERIFY(!other.WriteRecord(3, Page(3, QStringLiteral("あちらの新しい日"))));
        }
        QVERIFY(::rename(QFile::encodeName(theirs).constData(), QFile::encodeName(path).constData()) == 0);
        QVERIFY(h_->store.DiaryFileChanged());
        QCOMPARE(h_->store.PageCount(), 3);
        QVERIFY(FilesHolding(scratch_->Path(), QStringLiteral("2001年5月")).isEmpty());
    }

    // A new password opens it and the old one no longer does; the lock
    // taken off gives back the plain diary, page for page.
    void PasswordChangedThenLockRemoved()
    {
        QCOMPARE(h_->store.ChangePassword(QStringLiteral("違う"), QStringLiteral("新")).kind, CryptResult::WrongSecret);
        QVERIFY(!h_->store.ChangePassword(Password, QStringLiteral("新しい合言葉")));
        EncryptedRecordFile check;
        QCOMPARE(check.Open(scratch_->FilePath(QStringLiteral("DIARY.sfk")), Password).kind, CryptResult::WrongSecret);
        QVERIFY(!h_->store.RemoveLock(QStringLiteral("新しい合言葉")));
        QCOMPARE(h_->app.UserDataFile, QStringLiteral("DIARY.DAT"));
        QVERIFY(!QFile::exists(scratch_->FilePath(QStringLiteral("DIARY.sfk"))));
        QVERIFY(ReadBytes(scratch_->FilePath(QStringLiteral("DIARY.DAT"))) ==
                Page(1, QStringLiteral("桜の花が咲いた")) + Page(2, QStringLiteral("雨のち晴れ")));
    }

    // A diary reached through a link is locked beside the file itself, and
    // named by that file from then on: the next start finds it.
    void LinkedDiaryLockedBesideItsFile()
    {
        QVERIFY(!h_->store.RemoveLock(Password));
        h_->store.Release();
        QVERIFY(QDir(scratch_->Path()).mkdir(QStringLiteral("real")));
        QVERIFY(QFile::rename(scratch_->FilePath(QStringLiteral("DIARY.DAT")),
                              scratch_->FilePath(QStringLiteral("real/DIARY.DAT"))));
        QVERIFY(QFile::link(scratch_->FilePath(QStringLiteral("real/DIARY.DAT")),
                            scratch_->FilePath(QStringLiteral("LINK.DAT"))));
        h_ = std::make_unique<StoreHarness>();
        h_->Start(QStringLiteral("LINK.DAT"));
        QString code;
        QVERIFY(!h_->store.Lock(Password, code));
        QVERIFY(h_->store.IsOpen());
        QCOMPARE(QFileInfo(h_->app.UserDataFile).canonicalFilePath(),
                 scratch_->FilePath(QStringLiteral("real/DIARY.sfk")));
        QCOMPARE(h_->store.PageCount(), 2);
    }

    // One changed byte in a page: that page is named, the others open.
    void DamagedPageIsNamedAndTheRestOpen()
    {
        h_->store.Release();
        const QString path = scratch_->FilePath(QStringLiteral("DIARY.sfk"));
        QByteArray bytes = ReadBytes(path);
        const qint64 at = EncryptedRecordFile::Offset(1, DiaryPage::RecordLength) + 100;
        bytes[at] = char(bytes[at] ^ 0x20);
        QVERIFY(WriteBytes(path, bytes));
        h_ = std::make_unique<StoreHarness>();
        h_->app.UserDataFile = QStringLiteral("DIARY.sfk");
        QVERIFY(!h_->store.Unlock(Password));
        h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        h_->Start(QStringLiteral("DIARY.sfk"));
        QCOMPARE(h_->store.PageDaysOf(2001, 5), std::optional<QList<int>>(QList<int>{2}));
        QVERIFY(
            h_->prompter.LastMessage().text.contains(QStringLiteral("次のページは壊れているため読めません。\r1\r")));
        h_->Show(2);
        QCOMPARE(h_->view.fields[int(EntryField::Body)], QStringLiteral("雨のち晴れ"));
    }
};

SORAFUMI_TEST(LockedDiaryTest)
#include "LockedDiaryTest.moc"
