// A screen reader names every control, list, table and chart of the tool
// windows, reads amounts with 円, hears the export's result, and Tab leaves
// the statistics tables.

#include "DiaryBuilder.h"
#include "FileDiaryLock.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/dialogs/transfer/ExportWindow.h"
#include "ui/dialogs/transfer/ImportWindow.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

QString AccessibleText(QObject* object, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->text(text) : QString();
}

// A part of another control (a spin box's edit, a list's viewport) is read
// with the control.
bool InsideAControl(const QWidget& widget)
{
    for (QWidget* parent = widget.parentWidget(); parent && !parent->isWindow(); parent = parent->parentWidget())
        if (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent) ||
            qobject_cast<QAbstractScrollArea*>(parent))
            return true;
    return false;
}

// The controls a screen reader cannot name, as "objectName (class)".
QStringList Unnamed(QWidget& window)
{
    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const bool reads = (widget->focusPolicy() & Qt::TabFocus) || qobject_cast<QAbstractItemView*>(widget) ||
                           qobject_cast<QChartView*>(widget) || qobject_cast<QProgressBar*>(widget);
        // A tab box is read by the captions of its tabs.
        const bool tabs = qobject_cast<QTabBar*>(widget) || qobject_cast<QTabWidget*>(widget);
        if (!reads || tabs || widget->window() != &window || InsideAControl(*widget))
            continue;
        if (AccessibleText(widget).trimmed().isEmpty())
            unnamed << widget->objectName() + QStringLiteral(" (") +
                           QString::fromLatin1(widget->metaObject()->className()) + u')';
    }
    return unnamed;
}

QByteArray OnePage()
{
    DiaryBuilder diary;
    diary.Add({QStringLiteral("2026年12月1日"), {}, QStringLiteral("1500"), {}, {}, {}, QStringLiteral("本文")});
    diary.Add({QStringLiteral("2025年12月1日"), {}, QStringLiteral("1500"), {}, {}, {}, QStringLiteral("本文")});
    return diary.Bytes();
}

// The window a menu command opens, handed to `look` while it is open.
void WithWindow(TestApp& test, MainWindow& form, const QString& command, const std::function<void(QDialog&)>& look)
{
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    bool seen = false;
    test.prompter.AnswerModal([&](QDialog& dialog) {
        seen = true;
        look(dialog);
        return 0;
    });
    form.findChild<QAction*>(command)->trigger();
    if (!seen)
        if (auto* window = form.findChild<QDialog*>(name)) {
            window->show();
            look(*window);
        }
}

} // namespace

class AccessibleNamesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void EveryControlHasAName_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("frmOptions") << QStringLiteral("menuCom_Properties");
        QTest::newRow("frmExport") << QStringLiteral("menuTool_Export");
        QTest::newRow("frmImport") << QStringLiteral("menuTool_Import");
        QTest::newRow("frmRestore") << QStringLiteral("menuTool_Restore");
        QTest::newRow("frmSameDay") << QStringLiteral("menuTool_SameDay");
        QTest::newRow("frmStats") << QStringLiteral("menuTool_Stats");
        QTest::newRow("frmLock") << QStringLiteral("menuTool_Lock");
    }
    void EveryControlHasAName()
    {
        QFETCH(QString, command);
        TestApp test;
        FileDiaryLock lock(test.DiaryPath());
        test.context.diaryLock = &lock;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(OnePage());
        QVERIFY(form);
        QStringList unnamed{QStringLiteral("(never opened)")};
        WithWindow(test, *form, command, [&](QDialog& window) { unnamed = Unnamed(window); });
        QCOMPARE(unnamed.join(u", "), QString());
    }

    // The amounts read as yen, not as a backslash before a number.
    void AmountsAreReadInYen_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("view");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("frmStats") << QStringLiteral("menuTool_Stats") << QStringLiteral("grdMonthExpense") << 11 << 1;
        QTest::newRow("frmSameDay") << QStringLiteral("menuTool_SameDay") << QStringLiteral("lstSameDay") << 0 << 3;
    }
    void AmountsAreReadInYen()
    {
        QFETCH(QString, command);
        QFETCH(QString, view);
        QFETCH(int, row);
        QFETCH(int, column);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(OnePage());
        QVERIFY(form);
        QString shown;
        QString read;
        WithWindow(test, *form, command, [&](QDialog& window) {
            auto* list = window.findChild<QAbstractItemView*>(view);
            shown = list->model()->index(row, column).data().toString();
            QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(list)->tableInterface();
            read = table->cellAt(row, column)->text(QAccessible::Name);
        });
        QCOMPARE(shown, QStringLiteral("\\1,500"));
        QCOMPARE(read, QStringLiteral("1,500円"));
    }

    // Tab, Shift+Tab and Ctrl+Tab leave a table of the statistics at once.
    void TabLeavesTheStatisticsTable_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Tab") << int(Qt::NoModifier);
        QTest::newRow("Shift+Tab") << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Tab") << int(Qt::ControlModifier);
    }
    void TabLeavesTheStatisticsTable()
    {
        QFETCH(int, modifiers);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(OnePage());
        QVERIFY(form);
        form->findChild<QAction*>(QStringLiteral("menuTool_Stats"))->trigger();
        QDialog* stats = form->Commands().OpenStatsWindow();
        stats->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(stats));
        auto* table = stats->findChild<QTableWidget*>(QStringLiteral("grdMonthExpense"));
        table->setFocus(Qt::TabFocusReason);
        table->setCurrentCell(12, 0);
        QTest::keyClick(table, Qt::Key_Tab, Qt::KeyboardModifiers(modifiers));
        QVERIFY(QApplication::focusWidget() != table);
    }

    // The count of pages a preview finds is heard at once; the events that
    // carry it are not seen on the offscreen platform, which has no
    // accessibility bridge.
    void ThePreviewIsSummedUpForTheScreenReader()
    {
        QTemporaryDir out;
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(OnePage());
        QVERIFY(form);
        ExportWindow exporter(form->Store(), test.prompter, test.context.clock);
        exporter.findChild<QLineEdit*>(QStringLiteral("txtFolder"))->setText(out.path());
        exporter.findChild<QPushButton*>(QStringLiteral("cmdExport"))->click();
        ImportWindow importer(form->Store(), test.prompter);
        importer.findChild<QLineEdit*>(QStringLiteral("txtFolder"))->setText(out.path());
        importer.findChild<QPushButton*>(QStringLiteral("cmdPreview"))->click();
        QCOMPARE(AccessibleText(importer.findChild<QWidget*>(QStringLiteral("txtPreview")), QAccessible::Description),
                 QStringLiteral("取り込むページ: 2 ページ"));
    }
};

SORAFUMI_TEST(AccessibleNamesTest)
#include "AccessibleNamesTest.moc"
