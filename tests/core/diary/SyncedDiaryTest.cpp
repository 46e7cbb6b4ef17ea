#include "ScratchStoreTest.h"
#include "TestRegistry.h"

#include <QDir>
#include <QFile>

using namespace StoreFixture;

namespace {

const QString Diary = QStringLiteral("diary.dat");

QByteArray Page(int day, const QString& body = QStringLiteral("本文"))
{
    return DiaryBuilder::Page({QStringLiteral("2001年5月%1日").arg(day), QStringLiteral("月曜日"), QStringLiteral("0"),
                               QStringLiteral("山田太郎"), QStringLiteral("午前 9:00:00"), {}, body})
        .ToBytes();
}

// A sync tool's delivery: a new file renamed over the diary.
void Deliver(const QString& path, const QByteArray& bytes)
{
    QFile temp(path + QStringLiteral(".tmp"));
    QVERIFY(temp.open(QIODevice::WriteOnly));
    temp.write(bytes);
    temp.close();
    QVERIFY(::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(path).constData()) == 0);
}

} // namespace

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
        QVERIFY(ReadBytes(path) == Page(1) + Page(2, QStringLiteral("こちらの編集")) +
                                       Page(9, QStringLiteral("あちらの新しいページ")));
        QCOMPARE(h_->store.CurrentPage(), 2);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
        QVERIFY(!QFile::exists(scratch_->FilePath(QStringLiteral("~~Tmp~~.Tmp"))));
    }
};

SORAFUMI_TEST(SyncedDiaryTest)
#include "SyncedDiaryTest.moc"
