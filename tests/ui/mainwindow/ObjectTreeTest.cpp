#include "FileDiaryLock.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/tips/TipList.h"
#include "ui/browser/BrowserWindow.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/PropertiesDialog.h"
#include "ui/dialogs/RestoreWindow.h"
#include "ui/dialogs/SearchWindow.h"
#include "ui/dialogs/TipWindow.h"
#include "ui/dialogs/WebPanelNotice.h"
#include "ui/dialogs/crypt/ChangeKeyWindow.h"
#include "ui/dialogs/crypt/ForgotPasswordWindow.h"
#include "ui/dialogs/crypt/LockWindow.h"
#include "ui/dialogs/crypt/RecoveryCodeWindow.h"
#include "ui/dialogs/crypt/RemoveKeyWindow.h"
#include "ui/dialogs/crypt/UnlockWindow.h"
#include "ui/dialogs/owner/LoginWindow.h"
#include "ui/dialogs/owner/RegistrationWindow.h"
#include "ui/dialogs/transfer/ExportWindow.h"
#include "ui/dialogs/transfer/ImportWindow.h"
#include "ui/mainwindow/LaunchProgress.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

namespace {

// The Qt class a widget is made of: our own classes may be renamed, what
// the user and the accessibility tools see may not.
QString QtClass(const QObject& object)
{
    const QMetaObject* meta = object.metaObject();
    while (meta && !QByteArray(meta->className()).startsWith('Q'))
        meta = meta->superClass();
    return meta ? QString::fromLatin1(meta->className()) : QString();
}

QString Captions(const QObject& object)
{
    QStringList captions;
    for (const char* name : {"windowTitle", "title", "text", "toolTip", "shortcut", "checked"}) {
        const QVariant value = object.property(name);
        const QString text =
            value.typeId() == QMetaType::QKeySequence ? value.value<QKeySequence>().toString() : value.toString();
        // A widget's tool tip is left to the widget; an action's is its button's.
        if (text.isEmpty() || (QByteArray(name) == "toolTip" && object.isWidgetType()) ||
            (QByteArray(name) == "checked" && !object.property("checkable").toBool()))
            continue;
        // One line per object; the temp folder of the run is not the window's.
        captions << QStringLiteral("%1=%2").arg(QString::fromLatin1(name), text).replace(u'\n', QStringLiteral("\\n"));
    }
    return captions.join(u' ');
}

QString Names(const QList<QAction*>& actions)
{
    QStringList names;
    for (const QAction* action : actions)
        names << (action->isSeparator() ? QStringLiteral("-") : action->objectName() + u'/' + action->text());
    return names.join(u' ');
}

// One line per named object: its named ancestors, Qt class, index and
// caption; then the order of every menu and tool bar. Sorted, so only what
// shows counts and not the order the objects were made in.
QStringList Tree(const QWidget& window)
{
    QStringList lines;
    QList<QObject*> objects = window.findChildren<QObject*>();
    objects.prepend(const_cast<QWidget*>(&window));
    for (const QObject* object : objects) {
        if (object->objectName().isEmpty() || object->objectName().startsWith(QStringLiteral("qt_")))
            continue;
        QStringList path;
        for (const QObject* at = object; at; at = at->parent())
            if (!at->objectName().isEmpty())
                path.prepend(at->objectName());
        const QVariant index = object->property("index");
        lines << QStringLiteral("%1 %2%3 %4")
                     .arg(path.join(u'/'), QtClass(*object),
                          index.isValid() ? QStringLiteral("[%1]").arg(index.toInt()) : QString(), Captions(*object))
                     .trimmed();
        if (const auto* menu = qobject_cast<const QMenu*>(object))
            lines << QStringLiteral("%1 menu: %2").arg(path.join(u'/'), Names(menu->actions()));
        if (const auto* bar = qobject_cast<const QToolBar*>(object))
            lines << QStringLiteral("%1 toolbar: %2").arg(path.join(u'/'), Names(bar->actions()));
        if (const auto* tabs = qobject_cast<const QTabWidget*>(object))
            for (int i = 0; i < tabs->count(); ++i)
                lines << QStringLiteral("%1 tab %2: %3").arg(path.join(u'/')).arg(i).arg(tabs->tabText(i));
    }
    if (const auto* main = qobject_cast<const QMainWindow*>(&window))
        lines << QStringLiteral("%1 menubar: %2").arg(main->objectName(), Names(main->menuBar()->actions()));
    lines.sort();
    return lines;
}

} // namespace

// Every window of the program, as the user, the tests and a user's
// automation know it: the names, kinds and captions may not drift when the
// code behind them changes.
class ObjectTreeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void EveryWindowAsListed()
    {
        TestApp test;
        test.RegisterOwner();
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QStringList trees = Tree(*form);

        form->Commands().ShowSearchWindow();
        QVERIFY(form->Commands().OpenSearchWindow());
        trees << Tree(*form->Commands().OpenSearchWindow());
        form->Commands().ShowSameDayWindow();
        QVERIFY(form->Commands().OpenSameDayWindow());
        trees << Tree(*form->Commands().OpenSameDayWindow());
        form->Commands().ShowStatsWindow();
        QVERIFY(form->Commands().OpenStatsWindow());
        trees << Tree(*form->Commands().OpenStatsWindow());
        ExportWindow exportWindow(form->Store(), test.prompter, test.context.clock);
        trees << Tree(exportWindow).replaceInStrings(ExportWindow::DefaultFolder(), QStringLiteral("<documents>"));
        ImportWindow importWindow(form->Store(), test.prompter);
        trees << Tree(importWindow).replaceInStrings(ExportWindow::DefaultFolder(), QStringLiteral("<documents>"));
        RestoreWindow restore(form->Store(), test.prompter);
        trees << Tree(restore);

        PropertiesDialog options(test.settings, test.context.app, test.prompter, test.context.folder, test.launcher,
                                 [] {});
        trees << Tree(options);
        RegistrationWindow registration(test.settings, test.prompter);
        trees << Tree(registration);
        LoginWindow login(test.settings, test.context.app, test.prompter, [] {});
        trees << Tree(login);
        TipList tips;
        TipWindow tip(tips, test.settings, test.context.folder);
        trees << Tree(tip);
        AboutBox about(test.context.app, test.prompter);
        trees << Tree(about);
        BrowserWindow browser;
        trees << Tree(browser);
        WebPanelNotice notice(test.context.app, [] {});
        trees << Tree(notice);
        LaunchProgress progress(test.context, form->Exiting(), *form);
        trees << Tree(progress);
        FileDiaryLock lock(test.DiaryPath());
        LockWindow lockWindow(lock, test.prompter);
        trees << Tree(lockWindow);
        RecoveryCodeWindow code(QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ"), test.prompter, 2);
        trees << Tree(code);
        ChangeKeyWindow changeKey(lock, test.prompter);
        trees << Tree(changeKey);
        RemoveKeyWindow removeKey(lock, test.prompter);
        trees << Tree(removeKey);
        UnlockWindow unlock(test.context.app.UserName, lock, test.prompter, [] {});
        trees << Tree(unlock);
        ForgotPasswordWindow forgot(lock, test.prompter);
        trees << Tree(forgot);

        trees.replaceInStrings(test.profile.ProgramFolder(), QStringLiteral("<program folder>"));
        const QString listed = QStringLiteral(SORAFUMI_OBJECT_TREE);
        if (qEnvironmentVariableIsSet("SORAFUMI_WRITE_OBJECT_TREE")) {
            QFile file(listed);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write((trees.join(u'\n') + u'\n').toUtf8());
        }
        QFile file(listed);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < qMax(expected.size(), trees.size()); ++i)
            QCOMPARE(trees.value(i), expected.value(i));
    }
};

SORAFUMI_TEST(ObjectTreeTest)
#include "ObjectTreeTest.moc"
