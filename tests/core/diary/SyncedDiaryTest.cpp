#include "ScratchStoreTest.h"
#include "ScriptedMergeChooser.h"
#include "TestRegistry.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace StoreFixture;

namespace {

const QString Diary = QStringLiteral("diary.dat");

QByteArray Page(int day, const QString& body = QStringLiteral("本文"))
{
    return DiaryBuilder::Page({QStringLiteral("2001年5月%1日").arg(day),
                               QStringLiteral("月曜日"),
                               QStringLiteral("0"),
                               QStringLiteral("山田太郎"),
                               QStringLiteral("午前 9:00:00"),
                               {},
                               body})
        .ToBytes();
}

// A sync tool's delivery: a new file renamed over the diary.
void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void Deliver(const QString& path, const QByteArray& bytes)
{
    QFile temp(path + QStringLiteral(".tmp"));
    QVERIFY(temp.open(QIODevice::WriteOnly));
    temp.write(bytes);
    temp.close();
    QVERIFY(::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(path).constData()) == 0);
}

} // namespace

Q_DECLARE_METATYPE(Resolution)

class SyncedDiaryTest : public ScratchStoreTest
{
    Q_OBJECT
private Q_SLOTS:
    // Without edits the new version is shown on the same day, and the next
    // store goes into it, never into the file it replaced.
    void ReplacedWithoutEditsIsReopened()
    {
        const QString path = scratch_->FilePath(Diary);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Page(1) + Page(2) + Page(3));
        file.close();
        h_->Start(path);
        h_->Show(2);
        Deliver(path, Page(1) + Page(1, QStringLiteral("別の日記")) + Page(2) + Page(3));
        QVERIFY(h_->store.DiaryFileChanged());
        QCOMPARE(h_->store.PageCount(), 4);
        QCOMPARE(h_->store.CurrentPage(), 3);
        QCOMPARE(h_->view.status, QStringLiteral("同期されたファイルからページを読み込みました。"));
        h_->view.fields[int(EntryField::Body)] = QStringLiteral("書き足し");
        QVERIFY(h_->store.StorePage());
        QVERIFY(ReadBytes(path).mid(2 * DiaryPage::RecordLength, DiaryPage::RecordLength) ==
                Page(2, QStringLiteral("書き足し")));
    }

    // Edits on one day and the other computer's new page on another: both
    // kept, nobody asked.
    void EditsMergeWithTheDeliveredPages()
    {
        const QString path = scratch_->FilePath(Diary);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Page(1) + Page(2));
        file.close();
        h_->Start(path);
        h_->view.fields[int(EntryField::Body)] = QStringLiteral("こちらの編集");
        h_->store.MarkChanged();
        Deliver(path, Page(1) + Page(2) + Page(9, QStringLiteral("あちらの新しいページ")));
        QVERIFY(h_->store.StorePage());
        QVERIFY(ReadBytes(path) ==
                Page(1) + Page(2, QStringLiteral("こちらの編集")) + Page(9, QStringLiteral("あちらの新しいページ")));
        QCOMPARE(h_->store.CurrentPage(), 2);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
        QVERIFY(!QFile::exists(scratch_->FilePath(QStringLiteral("~~Tmp~~.Tmp"))));
    }

    // The same day changed on both computers: the user is asked, and 両方残す
    // keeps both versions as two pages of that day, ours first.
    void BothChangedAskAndKeepBoth()
    {
        const QString path = scratch_->FilePath(Diary);
        Write(path, Page(1) + Page(2));
        ScriptedMergeChooser chooser;
        chooser.answer = std::vector{Resolution::KeepBoth};
        h_->store.SetMergeChooser(&chooser);
        h_->Start(path);
        h_->view.fields[int(EntryField::Body)] = QStringLiteral("こちら");
        h_->store.MarkChanged();
        Deliver(path, Page(1) + Page(2, QStringLiteral("あちら")));
        QVERIFY(h_->store.StorePage());
        QCOMPARE(chooser.asked.size(), size_t(1));
        QCOMPARE(chooser.asked[0].conflicts.size(), size_t(1));
        QVERIFY(ReadBytes(path) == Page(1) + Page(2, QStringLiteral("こちら")) + Page(2, QStringLiteral("あちら")));
    }

    // The other computer locked the diary: this one is told once, and
    // writes nothing into the encrypted file.
    void LockedOnTheOtherComputer()
    {
        const QString path = scratch_->FilePath(Diary);
        Write(path, Page(1));
        h_->Start(path);
        QVERIFY(QFile::rename(path, scratch_->FilePath(QStringLiteral("diary.sfk"))));
        h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        QVERIFY(!h_->store.DiaryFileChanged());
        QVERIFY(h_->prompter.LastMessage().text.startsWith(
            QStringLiteral("この日記帳には他のコンピュータで鍵がかけられました。")));
        h_->view.fields[int(EntryField::Body)] = QStringLiteral("こちらの編集");
        h_->store.MarkChanged();
        QVERIFY(!h_->store.StorePage());
        QVERIFY(h_->prompter.AllAnswered());
    }

    // Between a sync tool's steps the diary's name is missing or names an
    // empty file for a moment: nothing is created there, no page is taken as
    // deleted, and the version that follows is merged with the edits.
    void NameEmptyForAMoment_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::newRow("moved aside") << true;
        QTest::newRow("empty") << false;
    }
    void NameEmptyForAMoment()
    {
        QFETCH(bool, missing);
        const QString path = scratch_->FilePath(Diary);
        Write(path, Page(1) + Page(2));
        h_->Start(path);
        QVERIFY(QFile::rename(path, path + QStringLiteral(".aside")));
        if (!missing)
            Write(path, {});
        h_->view.fields[int(EntryField::Body)] = QStringLiteral("こちらの編集");
        h_->store.MarkChanged();
        QVERIFY(!h_->store.DiaryFileChanged());
        QCOMPARE(QFileInfo(path).exists(), !missing);
        // A store meanwhile is refused aloud, and the edits stay.
        h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        QVERIFY(!h_->store.StorePage());
        QVERIFY(h_->prompter.LastMessage().text.startsWith(QStringLiteral("日記ファイルが見つからないため")));
        Deliver(path, Page(1) + Page(2) + Page(9, QStringLiteral("あちら")));
        QVERIFY(h_->store.StorePage());
        QVERIFY(ReadBytes(path) ==
                Page(1) + Page(2, QStringLiteral("こちらの編集")) + Page(9, QStringLiteral("あちら")));
    }

    // The other side wrote the very page being edited into the file itself:
    // こちらを残す puts the edits in its place, 両方残す keeps both.
    void EditedPageChangedInPlace_data()
    {
        QTest::addColumn<Resolution>("resolution");
        QTest::addColumn<QByteArray>("kept");
        QTest::newRow("ours") << Resolution::KeepOurs << Page(1) + Page(2, QStringLiteral("こちら"));
        QTest::newRow("both") << Resolution::KeepBoth
                              << Page(1) + Page(2, QStringLiteral("あちら")) + Page(2, QStringLiteral("こちら"));
        QTest::newRow("theirs") << Resolution::KeepTheirs << Page(1) + Page(2, QStringLiteral("あちら"));
    }
    void EditedPageChangedInPlace()
    {
        QFETCH(Resolution, resolution);
        QFETCH(QByteArray, kept);
        const QString path = scratch_->FilePath(Diary);
        Write(path, Page(1) + Page(2));
        ScriptedMergeChooser chooser;
        chooser.answer = std::vector{resolution};
        h_->store.SetMergeChooser(&chooser);
        h_->Start(path);
        h_->view.fields[int(EntryField::Body)] = QStringLiteral("こちら");
        h_->store.MarkChanged();
        Write(path, Page(1) + Page(2, QStringLiteral("あちら")));
        QVERIFY(h_->store.StorePage());
        QVERIFY(chooser.asked.at(0).conflicts.at(0).theirs.has_value());
        QVERIFY(ReadBytes(path) == kept);
    }

    // A sync tool touches the file in place after a store (sets its time to
    // the other computer's): the stored page is no edit of ours the file
    // lost, so nobody is asked and it is not stored twice.
    void StoredPageThenFileTouchedInPlace()
    {
        const QString path = scratch_->FilePath(Diary);
        Write(path, Page(1) + Page(2));
        ScriptedMergeChooser chooser;
        chooser.answer = std::vector{Resolution::KeepBoth};
        h_->store.SetMergeChooser(&chooser);
        h_->Start(path);
        h_->view.fields[int(EntryField::Body)] = QStringLiteral("こちら");
        h_->store.MarkChanged();
        QVERIFY(h_->store.StorePage());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(h_->store.DiaryFileChanged());
        QVERIFY(chooser.asked.empty());
        QVERIFY(ReadBytes(path) == Page(1) + Page(2, QStringLiteral("こちら")));
    }

    // A sync tool's conflict copy is offered at open; merged, it leaves the
    // diary's folder for the backups, and its pages are in the diary.
    void ConflictCopyMergedAndMovedToBackups()
    {
        const QString path = scratch_->FilePath(Diary);
        const QString copy = scratch_->FilePath(QStringLiteral("diary.sync-conflict-20261202-081500-K3QXW7A.dat"));
        Write(path, Page(1));
        Write(copy, Page(1) + Page(5, QStringLiteral("あちらで書いた")));
        h_->app.BackupFolder = scratch_->FilePath(QStringLiteral("backups"));
        // With no earlier state of the diary, a page only the copy has is asked about.
        ScriptedMergeChooser chooser;
        chooser.answer = std::vector{Resolution::KeepBoth};
        h_->store.SetMergeChooser(&chooser);
        h_->prompter.AnswerMessage(Prompter::Answer::Yes);
        h_->Start(path);
        QVERIFY(ReadBytes(path) == Page(1) + Page(5, QStringLiteral("あちらで書いた")));
        QVERIFY(!QFile::exists(copy));
        QStringList kept;
        for (QDirIterator it(h_->app.BackupFolder, QDir::Files); it.hasNext();)
            kept << it.next();
        QVERIFY2(
            kept.contains(h_->app.BackupFolder + QStringLiteral("/diary.sync-conflict-20261202-081500-K3QXW7A.dat")),
            qPrintable(kept.join(u' ')));
    }
};

SORAFUMI_TEST(SyncedDiaryTest)
#include "SyncedDiaryTest.moc"
