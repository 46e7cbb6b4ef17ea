#include "StoreFixture.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/drafts/DraftFile.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTest>

// 終了 with a diary that refuses the page: the user is asked whether to end
// without it, and is never kept in the program against their word.
class ExitWhenStoringFailsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        if (!immutable_.isEmpty())
            StoreFixture::SetImmutable(immutable_, false);
        immutable_.clear();
    }

    void ExitAsksWhetherToEndWithoutThePage_data()
    {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("No stays with the page") << Prompter::Answer::No << false;
        QTest::newRow("Yes ends without it") << Prompter::Answer::Yes << false;
        QTest::newRow("the close box, No stays") << Prompter::Answer::No << true;
        QTest::newRow("the close box, Yes ends") << Prompter::Answer::Yes << true;
    }
    void ExitAsksWhetherToEndWithoutThePage()
    {
        QFETCH(Prompter::Answer, answer);
        QFETCH(bool, closeBox);
        if (::geteuid() != 0)
            QSKIP("only root can make the diary refuse a page to root");
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        auto* body = qobject_cast<QPlainTextEdit*>(EntryBox(*form, 6));
        body->setPlainText(QStringLiteral("消えてほしくない一行"));
        QVERIFY(!form->Store().KeepDraftNow());
        if (!StoreFixture::SetImmutable(test.DiaryPath(), true))
            QSKIP("the file system cannot make a file immutable");
        immutable_ = test.DiaryPath();
        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        test.prompter.AnswerMessage(answer);

        if (closeBox)
            QCOMPARE(form->close(), answer == Prompter::Answer::Yes);
        else
            form->findChild<QAction*>(QStringLiteral("menuCom_Exit"))->trigger();

        const Prompter::Box& question = test.prompter.LastMessage();
        QCOMPARE(question.title, QStringLiteral("終了の確認"));
        QCOMPARE(question.text, QStringLiteral("表示中のページを日記ファイルに保存できませんでした。\r"
                                               "保存せずに終了すると、このページに書いた内容は失われます。\r"
                                               "保存せずに終了しますか？"));
        QCOMPARE(question.buttons, Prompter::Buttons::YesNo);
        QCOMPARE(question.defaultButton, std::optional<Prompter::Answer>(Prompter::Answer::No));
        QCOMPARE(test.context.Ended(), answer == Prompter::Answer::Yes);
        QCOMPARE(body->toPlainText(), QStringLiteral("消えてほしくない一行"));
        QVERIFY(test.prompter.AllAnswered());
        // Stayed with, the words wait in their draft too; given up, they go.
        QCOMPARE(QFile::exists(DraftFile::PathFor(test.DiaryPath())), answer == Prompter::Answer::No);
    }

    // A logout's signal while the page cannot be stored, or while a window
    // waits for an answer in the middle of an operation: nothing waits, the
    // program ends, the diary is left as it is and the draft holds the words.
    void SessionEndKeepsTheDraft_data()
    {
        QTest::addColumn<bool>("questionOpen");
        QTest::newRow("the diary refuses the page") << false;
        QTest::newRow("a question waits") << true;
    }
    void SessionEndKeepsTheDraft()
    {
        QFETCH(bool, questionOpen);
        if (!questionOpen && ::geteuid() != 0)
            QSKIP("only root can make the diary refuse a page to root");
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        EntryBody(*form)->setPlainText(QStringLiteral("ログアウトの間際の言葉"));
        QDialog question(form.get());
        question.setModal(true);
        if (questionOpen)
            question.show();
        else if (!StoreFixture::SetImmutable(test.DiaryPath(), true))
            QSKIP("the file system cannot make a file immutable");
        else
            immutable_ = test.DiaryPath();
        const QByteArray before = test.DiaryBytes();

        form->Exiting().EndForSession();

        QVERIFY(test.context.Ended());
        QVERIFY(test.prompter.silenced);
        QCOMPARE(test.DiaryBytes(), before);
        const DraftFile::Found found = DraftFile::Read(test.DiaryPath(), nullptr);
        QCOMPARE(found.draft.Field(EntryField::Body), QStringLiteral("ログアウトの間際の言葉"));
    }

private:
    QString immutable_;
};

SORAFUMI_TEST(ExitWhenStoringFailsTest)
#include "ExitWhenStoringFailsTest.moc"
