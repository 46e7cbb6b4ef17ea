// Tab goes through every newer window's controls as they read: top to bottom,
// left to right, the window's buttons last.

#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QTest>

namespace {

// The control with the focus; an inner part of a control (the edit of a
// combo box, the tab bar of a tab box) counts as the control.
QString FocusName()
{
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        const QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith(QStringLiteral("qt_")))
            return name + widget->property("index").toString();
    }
    return {};
}

// The controls Tab stops at, from the window's first one round to it again.
QStringList TabStops(QWidget& window, const QString& first)
{
    // The period's date boxes take part only while 日記全体 is not ticked.
    if (auto* whole = window.findChild<QCheckBox*>(QStringLiteral("chkWholeDiary")))
        whole->setChecked(false);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; }))
        return {QStringLiteral("(never active)")};
    window.findChild<QWidget*>(first)->setFocus(Qt::TabFocusReason);
    QStringList stops{FocusName()};
    for (int step = 0; step < 40; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        // A date box steps through its parts first.
        if (FocusName() == stops.last())
            continue;
        if (FocusName() == stops.first())
            return stops;
        stops << FocusName();
    }
    return stops << QStringLiteral("(never back at the first)");
}

} // namespace

class TabOrderTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void TabGoesAsTheWindowReads_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("stops");
        const auto row = [](const char* window, const char* command, std::initializer_list<const char*> stops) {
            QStringList names;
            for (const char* name : stops)
                names << QString::fromLatin1(name);
            QTest::newRow(window) << QString::fromLatin1(command) << names;
        };
        row("frmExport", "menuTool_Export",
            {"chkWholeDiary", "dtpFrom", "dtpTo", "cboFormat", "cboEncoding", "txtFolder", "cmdChooseFolder",
             "cmdExport", "cmdClose"});
        row("frmImport", "menuTool_Import",
            {"txtFolder", "cmdChooseFolder", "cboEncoding", "txtPreview", "cmdPreview", "cmdClose"});
        row("frmRestore", "menuTool_Restore", {"lstBackups", "cmdCancel"});
        row("frmSameDay", "menuTool_SameDay", {"lstSameDay", "cmdClose"});
        row("frmStats", "menuTool_Stats",
            {"cboYear", "cboCsvEncoding", "cmdSaveCsv", "tabStats", "grdMonthExpense", "grdYearExpense", "cmdClose"});
        row("frmSeratch", "menuSeratch_FileSeratch", {"cmb", "Opt0", "chkFuzzySearch", "cmd0", "cmd1", "chkListAll"});
    }
    void TabGoesAsTheWindowReads()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, stops);
        const QString window = QString::fromLatin1(QTest::currentDataTag());
        TestApp test;
        DiaryBuilder diary;
        diary.Add({QStringLiteral("2026年12月1日"), {}, QStringLiteral("100"), {}, {}, {}, QStringLiteral("本文")});
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);
        QStringList walked;
        // The windows that stay open beside the main window are not modal.
        const bool modal =
            !QStringList{QStringLiteral("frmStats"), QStringLiteral("frmSameDay"), QStringLiteral("frmSeratch")}
                 .contains(window);
        if (modal)
            test.prompter.AnswerModal([&](QDialog& dialog) {
                walked = TabStops(dialog, stops.first());
                return 0;
            });
        form->findChild<QAction*>(command)->trigger();
        if (!modal)
            walked = TabStops(*form->findChild<QWidget*>(window), stops.first());
        QCOMPARE(walked.join(u", "), stops.join(u", "));
    }
};

SORAFUMI_TEST(TabOrderTest)
#include "TabOrderTest.moc"
