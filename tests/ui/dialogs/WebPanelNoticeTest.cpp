#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QToolBar>
#include <QWebEngineView>

namespace {

// What the notice looked like and what was done in it.
struct NoticeSeen
{
    QString window;
    QString caption;
    QString text;
    QStringList buttons;
    bool ticked = true;
    bool panelShown = false;
    int restingButtons = 0;
    bool sliderEnabled = true;
    QUrl panelAddress;
};

QAbstractButton* Command(QDialog& window, int index)
{
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>(QStringLiteral("cmd")))
        if (button->property("index").toInt() == index)
            return button;
    return nullptr;
}

struct Panel
{
    explicit Panel(MainWindow& form)
        : buttons(form.findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions()),
          slider(form.findChild<QSlider*>(QStringLiteral("Slider1"))),
          frame(form.findChild<QWidget*>(QStringLiteral("znBaseFrm")))
    {
    }
    int RestingButtons() const
    {
        int resting = 0;
        for (const QAction* button : buttons)
            resting += button->isEnabled() ? 0 : 1;
        return resting;
    }
    QAction* ZN() const { return buttons.front(); }

    QList<QAction*> buttons;
    QSlider* slider;
    QWidget* frame;
};

// Notes what the notice shows, ticks its box or not and presses one of its
// two buttons.
ScriptedPrompter::ModalScript Answer(MainWindow& form, NoticeSeen& seen, bool tick, int button)
{
    return [&form, &seen, tick, button](QDialog& window) {
        const Panel panel(form);
        seen.window = window.objectName();
        seen.caption = window.windowTitle();
        seen.text = window.findChild<QLabel*>(QStringLiteral("Label1"))->text();
        seen.buttons = QStringList{Command(window, 0)->text(), Command(window, 1)->text()};
        auto* box = window.findChild<QCheckBox*>(QStringLiteral("Check1"));
        seen.ticked = box->isChecked();
        seen.panelShown = panel.frame->isVisible();
        seen.restingButtons = panel.RestingButtons();
        seen.sliderEnabled = panel.slider->isEnabled();
        seen.panelAddress = form.findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"))->url();
        if (tick)
            box->click();
        Command(window, button)->click();
        return window.result();
    };
}

QAction* ZN(MainWindow& form)
{
    return form.findChild<QAction*>(QStringLiteral("ZN"));
}

std::unique_ptr<MainWindow> Started(TestApp& test)
{
    test.RegisterOwner();
    std::unique_ptr<MainWindow> form = StartProgram(test.context);
    // The panel's page stays on this machine.
    test.context.app.ZnURL = QStringLiteral("about:blank");
    return form;
}

int Notices(const ScriptedPrompter& prompter)
{
    int count = 0;
    for (const ScriptedPrompter::Shown& entry : prompter.shown)
        count += entry.kind == ScriptedPrompter::Shown::Kind::Modal ? 1 : 0;
    return count;
}

} // namespace

class WebPanelNoticeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void Notice_data()
    {
        QTest::addColumn<bool>("tick");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("noticeOff");
        QTest::addColumn<bool>("panelStays");
        QTest::newRow("切替, ticked") << true << 0 << true << true;
        QTest::newRow("切替, not ticked") << false << 0 << false << true;
        QTest::newRow("ｷｬﾝｾﾙ, ticked") << true << 1 << false << false;
        QTest::newRow("ｷｬﾝｾﾙ, not ticked") << false << 1 << false << false;
    }
    void Notice()
    {
        QFETCH(bool, tick);
        QFETCH(int, button);
        QFETCH(bool, noticeOff);
        QFETCH(bool, panelStays);
        TestApp test;
        const std::unique_ptr<MainWindow> form = Started(test);
        QVERIFY(form);
        QVERIFY(!test.context.app.ZnMSG);
        const Panel panel(*form);
        NoticeSeen seen;
        test.prompter.AnswerModal(Answer(*form, seen, tick, button));

        ZN(*form)->trigger();

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(seen.window, QStringLiteral("frmZnMSG"));
        QCOMPARE(seen.caption, QStringLiteral("オンライン切替"));
        QCOMPARE(seen.text, QStringLiteral("このＺＮ機能を使うには、インターネットに接続してからにしてください。"
                                           "もしあなたのコンピュータに、ネットワーク接続できる環境がない場合は、"
                                           "残念ですがこの機能は使えません。"));
        QCOMPARE(seen.buttons, QStringList({QStringLiteral("切替"), QStringLiteral("ｷｬﾝｾﾙ")}));
        QVERIFY(!seen.ticked);
        // The notice comes after the panel is on and its page asked for.
        QVERIFY(seen.panelShown);
        QCOMPARE(seen.restingButtons, int(panel.buttons.size()) - 2);
        QVERIFY(!seen.sliderEnabled);
        QCOMPARE(seen.panelAddress, QUrl(QStringLiteral("about:blank")));

        QCOMPARE(test.context.app.ZnMSG, noticeOff);
        QCOMPARE(panel.frame->isVisible(), panelStays);
        QCOMPARE(panel.RestingButtons(), panelStays ? int(panel.buttons.size()) - 2 : 0);
        QCOMPARE(panel.slider->isEnabled(), !panelStays);
        QCOMPARE(panel.ZN()->isChecked(), panelStays);
        QVERIFY(panel.ZN()->isEnabled());
        QVERIFY(panel.buttons.back()->isEnabled());
        QCOMPARE(test.prompter.MessageTexts(), QStringList());

        // The next switch-on: the notice again unless it was turned off.
        if (panelStays) {
            ZN(*form)->trigger();
            QVERIFY(!panel.frame->isVisible());
        }
        NoticeSeen again;
        if (!noticeOff)
            test.prompter.AnswerModal(Answer(*form, again, false, 0));
        ZN(*form)->trigger();
        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(Notices(test.prompter), noticeOff ? 1 : 2);
        if (!noticeOff)
            QVERIFY(!again.ticked);
        QVERIFY(panel.frame->isVisible());
        QVERIFY(panel.ZN()->isChecked());
        QCOMPARE(test.context.app.ZnMSG, noticeOff);
    }

    // The flag the notice sets lasts: saved at the exit, read at the next
    // start, and no notice there either.
    void NoticeTurnedOffForLaterRuns()
    {
        TestApp test;
        std::unique_ptr<MainWindow> form = Started(test);
        QVERIFY(form);
        NoticeSeen seen;
        test.prompter.AnswerModal(Answer(*form, seen, true, 0));
        ZN(*form)->trigger();
        QVERIFY(test.prompter.AllAnswered());
        QVERIFY(test.context.app.ZnMSG);
        QCOMPARE(test.Read(QStringLiteral("User"), QStringLiteral("ZnMSG")), QString());

        form->findChild<QAction*>(QStringLiteral("menuCom_Exit"))->trigger();

        QVERIFY(test.context.Ended());
        QCOMPARE(test.Read(QStringLiteral("User"), QStringLiteral("ZnMSG")), QStringLiteral("True"));

        form.reset();
        test.prompter.shown.clear();
        AppContext nextRun(test.prompter, test.clock, ProgramFolder(test.profile.ProgramFolder()), test.settings,
                           test.launcher);
        form = StartProgram(nextRun);
        QVERIFY(form);
        QVERIFY(nextRun.app.ZnMSG);
        nextRun.app.ZnURL = QStringLiteral("about:blank");
        ZN(*form)->trigger();
        QVERIFY(form->findChild<QWidget*>(QStringLiteral("znBaseFrm"))->isVisible());
        QCOMPARE(Notices(test.prompter), 0);
    }
};

SORAFUMI_TEST(WebPanelNoticeTest)
#include "WebPanelNoticeTest.moc"
