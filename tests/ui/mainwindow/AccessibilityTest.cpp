#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QAccessible>
#include <QAction>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

QString AccessibleName(QWidget* widget)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

} // namespace

// A screen reader finds every control of the main window by its caption.
class AccessibilityTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void EntryFieldsByTheirLabels()
    {
        TestApp test;
        test.RegisterOwner();
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        const QStringList captions = {QStringLiteral("日付"),      QStringLiteral("時間"), QStringLiteral("曜日"),
                                      QStringLiteral("天候"),      QStringLiteral("出費"), QStringLiteral("署名"),
                                      QStringLiteral("日記の内容")};
        for (int index = 0; index < captions.size(); ++index)
            QCOMPARE(AccessibleName(EntryBox(*form, index)), captions[index]);
        QCOMPARE(AccessibleName(form->findChild<QWidget*>(QStringLiteral("FontSizeSetText"))),
                 QStringLiteral("フォントサイズ"));
        QCOMPARE(AccessibleName(form->findChild<QWidget*>(QStringLiteral("Calendar"))), QStringLiteral("カレンダー"));
        QCOMPARE(AccessibleName(form->findChild<QWidget*>(QStringLiteral("Slider1"))), QStringLiteral("ページ"));
    }

    void ToolbarButtonsByTheirKeys()
    {
        TestApp test;
        test.RegisterOwner();
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        auto* toolbar = form->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        for (QAction* action : toolbar->actions()) {
            if (action->isSeparator())
                continue;
            QCOMPARE(AccessibleName(toolbar->widgetForAction(action)), action->text());
        }
    }
};

SORAFUMI_TEST(AccessibilityTest)
#include "AccessibilityTest.moc"
