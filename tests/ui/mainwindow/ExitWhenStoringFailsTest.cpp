#include "StoreFixture.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
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
        QTest::newRow("No stays with the page") << Prompter::Answer::No;
        QTest::newRow("Yes ends without it") << Prompter::Answer::Yes;
    }
    void ExitAsksWhetherToEndWithoutThePage()
    {
        QFETCH(Prompter::Answer, answer);
        if (::geteuid() != 0)
            QSKIP("only root can make the diary refuse a page to root");
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        auto* body = qobject_cast<QPlainTextEdit*>(EntryBox(*form, 6));
        body->setPlainText(QStringLiteral("消えてほしくない一行"));
        if (!StoreFixture::SetImmutable(test.DiaryPath(), true))
            QSKIP("the file system cannot make a file immutable");
        immutable_ = test.DiaryPath();
        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        test.prompter.AnswerMessage(answer);

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
    }

private:
    QString immutable_;
};

SORAFUMI_TEST(ExitWhenStoringFailsTest)
#include "ExitWhenStoringFailsTest.moc"
