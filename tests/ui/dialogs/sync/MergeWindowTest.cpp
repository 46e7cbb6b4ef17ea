// The merge window asks about the pages both computers changed, from the
// keyboard alone, and hands back exactly what was chosen, or nothing.

#include "DiaryBuilder.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"
#include "ui/dialogs/sync/MergeSide.h"
#include "ui/dialogs/sync/MergeWindow.h"
#include "ui/dialogs/sync/QtMergeChooser.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

namespace {

// Two pages both computers wrote on; the other computer deleted the second.
MergeQuestion TwoConflicts()
{
    MergeQuestion question{QStringLiteral("/home/sora/Sync/日記.sync-conflict-20261202-081500-ABCDEFG.DAT"), 3, 1, {}, {}, {}};
    question.conflicts.push_back({DiaryBuilder::Page({QStringLiteral("2026年12月1日"),
                                                      QStringLiteral("火曜日"),
                                                      QStringLiteral("0"),
                                                      {},
                                                      {},
                                                      QStringLiteral("晴れ"),
                                                      QStringLiteral("朝は寒かった。")}),
                                  DiaryBuilder::Page({QStringLiteral("2026年12月1日"),
                                                      QStringLiteral("火曜日"),
                                                      QStringLiteral("1500"),
                                                      {},
                                                      {},
                                                      QStringLiteral("晴れ"),
                                                      QStringLiteral("朝は寒かった。\r\n昼は本屋へ。")})});
    question.conflicts.push_back(
        {DiaryBuilder::Page(
             {QStringLiteral("2026年12月2日"), {}, QStringLiteral("0"), {}, {}, {}, QStringLiteral("雨")}),
         std::nullopt});
    return question;
}

void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    // A mnemonic presses its button after a short flash.
    QTest::qWait(150);
}

QString Shown(QDialog& window, const char* side, const char* name)
{
    auto* box = window.findChild<QWidget*>(QString::fromLatin1(side))->findChild<QWidget*>(QString::fromLatin1(name));
    if (!box->isVisibleTo(&window))
        return QStringLiteral("(hidden)");
    auto* text = qobject_cast<QPlainTextEdit*>(box);
    return text ? text->toPlainText() : qobject_cast<QLabel*>(box)->text();
}

bool ShowActive(QDialog& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace

class MergeWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A draft weighed against its changed page is named as what it is, not
    // as a page both computers changed.
    void DraftIsNamedAsSuch()
    {
        MergeQuestion question = TwoConflicts();
        question.oursName = QStringLiteral("保存されていない書きかけ");
        question.heading = QStringLiteral("書きかけのページは書き換えられています。");
        MergeWindow window(question);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblMergeHeading"))->text(), question.heading);
        QCOMPARE(window.findChild<QGroupBox*>(QStringLiteral("fraOurs"))->title(), question.oursName);
    }

    void KeysChooseEachPageAndTheSummaryComesFirst()
    {
        ScriptedPrompter prompter;
        QtMergeChooser chooser(prompter, nullptr);
        QStringList seen;
        QString summary;
        prompter.AnswerModal([&](QDialog& window) {
            if (!ShowActive(window))
                return 0;
            seen << Shown(window, "fraOurs", "lblExpense") << Shown(window, "fraTheirs", "lblExpense")
                 << Shown(window, "fraTheirs", "txtBody");
            PressKey(Qt::Key_T, Qt::AltModifier);
            seen << Shown(window, "fraTheirs", "lblDeleted") << Shown(window, "fraTheirs", "txtBody");
            // Enter in the list chooses nothing; Tab goes through the body to the choices.
            PressKey(Qt::Key_Return);
            for (int tab = 0; tab < 4; ++tab)
                PressKey(Qt::Key_Tab);
            PressKey(Qt::Key_Return);
            summary = window.findChild<QLabel*>(QStringLiteral("lblMergeSummary"))->text();
            PressKey(Qt::Key_Return);
            return window.result();
        });

        const std::optional<std::vector<Resolution>> chosen = chooser.Choose(TwoConflicts());

        QCOMPARE(seen,
                 (QStringList{QString(), QStringLiteral("\\1,500"), QStringLiteral("朝は寒かった。\n昼は本屋へ。"),
                              MergeSide::DeletedText(), QStringLiteral("(hidden)")}));
        QCOMPARE(summary,
                 QStringLiteral("統合すると、日記は次のようになります。\n\n"
                                "あちらの版（日記.sync-conflict-20261202-081500-ABCDEFG.DAT）から取り込むページ: "
                                "3 ページ\nこの計算機の版のまま残すページ: 1 ページ\n"
                                "両方で書き換えられたページ:\n　2026年12月1日: あちらを残す\n"
                                "　2026年12月2日: 両方残す\n\n「後で」を押すと、今は何も書き換えません。"));
        QVERIFY(chosen);
        QCOMPARE(*chosen, (std::vector<Resolution>{Resolution::KeepTheirs, Resolution::KeepBoth}));
    }

    // Nothing is merged unless 統合する is pressed, on the summary or before it.
    void PuttingOffMergesNothing_data()
    {
        QTest::addColumn<bool>("chooseFirst");
        QTest::addColumn<bool>("close");
        QTest::newRow("後で at once") << false << false;
        QTest::newRow("後で on the summary") << true << false;
        QTest::newRow("window closed") << false << true;
    }
    void PuttingOffMergesNothing()
    {
        QFETCH(bool, chooseFirst);
        QFETCH(bool, close);
        ScriptedPrompter prompter;
        QtMergeChooser chooser(prompter, nullptr);
        prompter.AnswerModal([&](QDialog& window) {
            if (!ShowActive(window))
                return 0;
            if (chooseFirst) {
                PressKey(Qt::Key_O, Qt::AltModifier);
                PressKey(Qt::Key_O, Qt::AltModifier);
            }
            if (close)
                window.close();
            else
                PressKey(Qt::Key_L, Qt::AltModifier);
            return window.result();
        });
        QVERIFY(!chooser.Choose(TwoConflicts()));
        QVERIFY(prompter.AllAnswered());
    }
};

SORAFUMI_TEST(MergeWindowTest)
#include "MergeWindowTest.moc"
