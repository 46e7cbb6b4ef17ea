#include "ScratchStoreTest.h"
#include "ScriptedMergeChooser.h"
#include "TestRegistry.h"
#include "core/drafts/DraftFile.h"
#include "core/platform/Cp932.h"

#include <QDir>
#include <cstdio>

using namespace StoreFixture;

namespace {

const QString Diary = QStringLiteral("DIARY.DAT");
const QString Typed = QStringLiteral("保存する前に消えてはいけない一段落");

QByteArray Page(int day, const QString& body)
{
    return DiaryBuilder::Page({QStringLiteral("2026年12月%1日").arg(day), QStringLiteral("木曜日"),
                               QStringLiteral("0"), QStringLiteral("山田太郎"), QStringLiteral("午後 2:00:00"), {},
                               body})
        .ToBytes();
}

QString Question()
{
    return Message(QStringLiteral("保存されていない書きかけがあります（2026年12月10日のページ、9:30）。ページに戻しますか？"),
                   QStringLiteral("日記帳Sorafumi"), Prompter::Buttons::YesNo, Prompter::Icon::Question,
                   Prompter::Answer::Yes);
}

} // namespace

// Words typed and not stored survive the program's end without a store: the
// next start offers them back on their page, and never lays them silently
// over a page that changed since.
class DiaryStoreDraftTest : public ScratchStoreTest
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        ScratchStoreTest::init();
        QVERIFY(WriteBytes(scratch_->FilePath(Diary), Page(9, QStringLiteral("前の日")) + Page(10, QStringLiteral("朝"))));
        StartAndType();
    }

    // The draft is kept after a pause in typing, and a kill then loses
    // nothing: the words come back as the page's unsaved edits.
    void KilledWhileTypingComesBack()
    {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(DraftFile::PathFor(scratch_->FilePath(Diary))), 6000);
        const QByteArray before = ReadBytes(scratch_->FilePath(Diary));
        Restart(Prompter::Answer::Yes);
        QCOMPARE(Shown(h_->prompter), QStringList{Question()});
        QCOMPARE(ReadBytes(scratch_->FilePath(Diary)), before);
        QCOMPARE(h_->store.CurrentPage(), 2);
        QCOMPARE(h_->view.fields[int(EntryField::Body)], Typed);
        QVERIFY(h_->store.StorePage());
        QVERIFY(ReadBytes(scratch_->FilePath(Diary)).contains(Cp932::Encode(Typed)));
        QVERIFY(!h_->store.KeepDraftNow());
        QVERIFY(!QFile::exists(DraftFile::PathFor(scratch_->FilePath(Diary))));
    }

    // いいえ keeps the words as a text file in the backups: a draft is never
    // thrown away without a copy.
    void DeclinedDraftIsKeptInTheBackups()
    {
        QVERIFY(!h_->store.KeepDraftNow());
        Restart(Prompter::Answer::No);
        QCOMPARE(h_->view.fields[int(EntryField::Body)], QStringLiteral("朝"));
        const QStringList copies = QDir(h_->app.BackupFolder).entryList({QStringLiteral("*-draft.txt")});
        QCOMPARE(copies.size(), 1);
        QVERIFY(QString::fromUtf8(ReadBytes(QDir(h_->app.BackupFolder).filePath(copies[0]))).contains(Typed));
        QVERIFY(!QFile::exists(DraftFile::PathFor(scratch_->FilePath(Diary))));
    }

    // The page changed or went after the draft was kept (the other computer,
    // a restore): the merge window weighs the draft against it.
    void ChangedPageGoesThroughTheMerge_data()
    {
        QTest::addColumn<bool>("pageGone");
        QTest::addColumn<int>("answer"); // a Resolution; -1 puts the merge off
        QTest::addColumn<int>("shownPage");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("draftShown");
        const auto keep = [](Resolution r) { return int(r); };
        QTest::newRow("changed, draft kept") << false << keep(Resolution::KeepOurs) << 2 << 2 << true;
        QTest::newRow("changed, both kept") << false << keep(Resolution::KeepBoth) << 3 << 3 << true;
        QTest::newRow("changed, page kept") << false << keep(Resolution::KeepTheirs) << 2 << 2 << false;
        QTest::newRow("gone, draft kept") << true << keep(Resolution::KeepOurs) << 2 << 2 << true;
        QTest::newRow("changed, put off") << false << -1 << 2 << 2 << false;
    }
    void ChangedPageGoesThroughTheMerge()
    {
        QFETCH(bool, pageGone);
        QFETCH(int, answer);
        QFETCH(bool, draftShown);
        QVERIFY(!h_->store.KeepDraftNow());
        h_.reset();
        QVERIFY(WriteBytes(scratch_->FilePath(Diary),
                           Page(9, QStringLiteral("前の日")) + (pageGone ? QByteArray() : Page(10, QStringLiteral("あちらで書いた")))));
        h_ = std::make_unique<StoreHarness>();
        ScriptedMergeChooser chooser;
        if (answer >= 0)
            chooser.answer = std::vector<Resolution>{Resolution(answer)};
        h_->store.SetMergeChooser(&chooser);
        Restart(Prompter::Answer::Yes, false);

        QCOMPARE(chooser.asked.size(), size_t(1));
        QCOMPARE(chooser.asked[0].conflicts[0].theirs.has_value(), !pageGone);
        QTEST(int(h_->store.CurrentPage()), "shownPage");
        QTEST(int(h_->store.PageCount()), "pages");
        QCOMPARE(h_->view.fields[int(EntryField::Body)] == Typed, draftShown);
        QCOMPARE(h_->view.fields[int(EntryField::Date)], QStringLiteral("2026年12月10日"));
        const bool copied = !QDir(h_->app.BackupFolder).entryList({QStringLiteral("*-draft.txt")}).isEmpty();
        QCOMPARE(copied, !draftShown);
    }

    // Killed after the page was stored and before its draft went: nothing
    // is asked, and the draft goes.
    void DraftOfAStoredPageGoesUnasked()
    {
        QVERIFY(!h_->store.KeepDraftNow());
        const QString draft = DraftFile::PathFor(scratch_->FilePath(Diary));
        const QByteArray kept = ReadBytes(draft);
        QVERIFY(h_->store.StorePage());
        QVERIFY(!h_->store.KeepDraftNow());
        QVERIFY(WriteBytes(draft, kept));
        h_.reset();
        h_ = std::make_unique<StoreHarness>();
        h_->Start(Diary);
        h_->store.OfferDraft();
        QVERIFY(h_->prompter.shown.empty());
        QVERIFY(!QFile::exists(draft));
    }

    // A version a sync tool delivers while the words are unsaved goes through
    // the merge; the draft follows what the merge leaves in the fields.
    void DraftFollowsTheMergeOfADeliveredVersion_data()
    {
        QTest::addColumn<bool>("putOff");
        QTest::newRow("their page kept") << false;
        QTest::newRow("merge put off") << true;
    }
    void DraftFollowsTheMergeOfADeliveredVersion()
    {
        QFETCH(bool, putOff);
        ScriptedMergeChooser chooser;
        if (!putOff)
            chooser.answer = std::vector{Resolution::KeepTheirs};
        h_->store.SetMergeChooser(&chooser);
        QVERIFY(!h_->store.KeepDraftNow());
        const QString path = scratch_->FilePath(Diary);
        const QString delivered = path + QStringLiteral(".new");
        QVERIFY(WriteBytes(delivered, Page(9, QStringLiteral("前の日")) + Page(10, QStringLiteral("あちら"))));
        QVERIFY(::rename(QFile::encodeName(delivered).constData(), QFile::encodeName(path).constData()) == 0);
        if (putOff)
            h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        h_->store.DiaryFileChanged();
        QVERIFY(!h_->store.KeepDraftNow());
        QCOMPARE(DraftFile::Read(path, nullptr).draft.Field(EntryField::Body), putOff ? Typed : QString());
    }

    // A draft that cannot be read is moved out of the way, named, and never
    // laid over a page.
    void DamagedDraftIsSetAside()
    {
        QVERIFY(!h_->store.KeepDraftNow());
        h_.reset();
        const QString draft = DraftFile::PathFor(scratch_->FilePath(Diary));
        QByteArray bytes = ReadBytes(draft);
        bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 1);
        QVERIFY(WriteBytes(draft, bytes));
        h_ = std::make_unique<StoreHarness>();
        Restart(Prompter::Answer::Ok, false);
        QVERIFY(h_->prompter.LastMessage().text.startsWith(QStringLiteral("書きかけの控えが壊れていたため")));
        QCOMPARE(h_->view.fields[int(EntryField::Body)], QStringLiteral("朝"));
        QVERIFY(!QFile::exists(draft));
        QCOMPARE(QDir(h_->app.BackupFolder).entryList({QStringLiteral("*-draft.damaged")}).size(), 1);
    }

private:
    void StartAndType()
    {
        h_->app.BackupFolder = scratch_->FilePath(QStringLiteral("backups"));
        h_->Start(Diary);
        h_->store.OfferDraft();
        h_->view.fields[int(EntryField::Body)] = Typed;
        h_->store.MarkChanged();
    }
    // A new run on the same diary, as after a kill: nothing was stored.
    void Restart(Prompter::Answer answer, bool fresh = true)
    {
        if (fresh) {
            h_.reset();
            h_ = std::make_unique<StoreHarness>();
        }
        h_->app.BackupFolder = scratch_->FilePath(QStringLiteral("backups"));
        h_->Start(Diary);
        h_->prompter.AnswerMessage(answer);
        h_->store.OfferDraft();
        QVERIFY(h_->prompter.AllAnswered());
    }
};

SORAFUMI_TEST(DiaryStoreDraftTest)
#include "DiaryStoreDraftTest.moc"
