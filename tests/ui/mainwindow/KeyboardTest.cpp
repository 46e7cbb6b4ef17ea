// The whole main window from the keyboard alone: Tab and Shift+Tab walk every
// control, the body lets Tab go like the other boxes, and every menu opens
// from its access key or the arrows.

#include "DiaryBuilder.h"
#include "ProgramTexts.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

namespace {

constexpr int Body = 6;

std::unique_ptr<MainWindow> Shown(TestApp& test)
{
    test.RegisterOwner();
    std::unique_ptr<MainWindow> form = StartProgram(test.context);
    if (form && !QTest::qWaitForWindowActive(form.get()))
        return nullptr;
    return form;
}

// The control that has the focus, or the named control it belongs to (the
// calendar's focus sits on its inner table); a toolbar button by its key.
QString FocusName(const MainWindow& form)
{
    if (auto* button = qobject_cast<QToolButton*>(QApplication::focusWidget()); button && button->defaultAction())
        return button->defaultAction()->objectName();
    for (QWidget* widget = QApplication::focusWidget(); widget && widget != &form; widget = widget->parentWidget()) {
        if (widget->objectName() == QStringLiteral("FieldBoxes"))
            return QStringLiteral("field %1").arg(widget->property("index").toInt());
        if (widget->objectName() == QStringLiteral("Calendar") || widget->objectName() == QStringLiteral("Slider1") ||
            widget->objectName() == QStringLiteral("FontSizeSetText"))
            return widget->objectName();
    }
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// Presses the key until the focus is back in the date field: the names of
// the controls passed, one per stop.
QStringList Walk(const MainWindow& form, Qt::KeyboardModifiers modifiers)
{
    QStringList stops;
    for (int step = 0; step < 40; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        const QString name = FocusName(form);
        if (name == QStringLiteral("field 0"))
            return stops;
        stops << name;
    }
    return stops << QStringLiteral("(never back at the date)");
}

} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void TabWalksEveryControlInOrder_data()
    {
        QTest::addColumn<bool>("backwards");
        QTest::newRow("Tab") << false;
        QTest::newRow("Shift+Tab") << true;
    }
    void TabWalksEveryControlInOrder()
    {
        QFETCH(bool, backwards);
        TestApp test;
        const std::unique_ptr<MainWindow> form = Shown(test);
        QVERIFY(form);
        EntryBox(*form, 0)->setFocus();
        const QString bodyText = qobject_cast<QPlainTextEdit*>(EntryBox(*form, Body))->toPlainText();

        QStringList stops = Walk(*form, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        if (backwards)
            std::reverse(stops.begin(), stops.end());

        // The entry fields come first, in their order, then the rest of the
        // window, each control once.
        QStringList fields;
        for (int index = 1; index <= Body; ++index)
            fields << QStringLiteral("field %1").arg(index);
        QCOMPARE(stops.mid(0, Body), fields);
        // The toolbar is one stop, on its first button.
        QVERIFY(!stops.contains(QStringLiteral("削除")));
        for (const char* name : {"FontSizeSetText", "Calendar", "Slider1", "ZN"})
            QVERIFY2(stops.contains(QString::fromLatin1(name)), qPrintable(stops.join(u", ")));
        QCOMPARE(stops.removeDuplicates(), 0);
        // Passing through the body typed nothing into it.
        QCOMPARE(qobject_cast<QPlainTextEdit*>(EntryBox(*form, Body))->toPlainText(), bodyText);
    }

    // The toolbar's buttons by keyboard: Tab comes to the first, the arrows
    // go along them, Enter or Space presses one; 削除 asks as it does when
    // clicked.
    void ToolbarByKeyboard_data()
    {
        QTest::addColumn<int>("press");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void ToolbarByKeyboard()
    {
        QFETCH(int, press);
        TestApp test;
        DiaryBuilder diary;
        for (const QString& date : {QStringLiteral("2026年12月1日"), QStringLiteral("2026年12月2日")})
            diary.Add({date, {}, {}, {}, {}, {}, {}});
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form && QTest::qWaitForWindowActive(form.get()));
        form->findChild<QWidget*>(QStringLiteral("FontSizeSetText"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(FocusName(*form), QStringLiteral("ZN"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QCOMPARE(FocusName(*form), QStringLiteral("説明"));
        for (int step = 0; step < 6; ++step)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(FocusName(*form), QStringLiteral("削除"));

        test.prompter.AnswerMessage(Prompter::Answer::Yes);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(press));

        QCOMPARE(test.prompter.LastMessage().title, QStringLiteral("ページ削除の問い合わせ"));
        QCOMPARE(PageStatus(*form), StatusLine(1, 1));
        QCOMPARE(test.DiaryBytes().size(), 10090);
    }

    // Alt with a menu's key opens it; the arrows go on to the menus without one.
    void EveryMenuFromTheKeyboard()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = Shown(test);
        QVERIFY(form);
        QMenuBar* bar = form->menuBar();
        const QList<QAction*> menus = bar->actions();
        QCOMPARE(menus.size(), 6);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
        QTRY_COMPARE(bar->activeAction(), menus[0]);
        QTRY_VERIFY(menus[0]->menu()->isVisible());
        for (int next = 1; next < menus.size(); ++next) {
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
            QTRY_COMPARE(bar->activeAction(), menus[next]);
            QTRY_VERIFY(menus[next]->menu()->isVisible());
        }
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!menus.last()->menu()->isVisible());

        for (const auto& [key, index] : {std::pair{Qt::Key_S, 1}, std::pair{Qt::Key_O, 2}, std::pair{Qt::Key_T, 3}}) {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
            QTRY_VERIFY(menus[index]->menu()->isVisible());
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
            QTRY_VERIFY(!menus[index]->menu()->isVisible());
        }
    }
};

SORAFUMI_TEST(KeyboardTest)
#include "KeyboardTest.moc"
