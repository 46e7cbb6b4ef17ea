#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>

namespace {

// The libraries of the web engine, the charts and an OpenGL driver this
// process maps (Qt's windows link only the small OpenGL dispatchers).
QStringList HeavyLibraries()
{
    static const QRegularExpression heavy(
        QStringLiteral("/(libQt6WebEngine|libQt6Charts|libQt6OpenGL|libQt6Quick|libGLX_|libEGL_|libLLVM|\\w+_dri)[^/]*$"));
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return {QStringLiteral("/proc/self/maps cannot be read")};
    QStringList found;
    for (const QString& line : QString::fromUtf8(maps.readAll()).split(u'\n'))
        if (const QRegularExpressionMatch match = heavy.match(line); match.hasMatch())
            found << match.captured(1);
    found.removeDuplicates();
    return found;
}

} // namespace

class LeanStartTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A start maps neither the web engine, the charts nor OpenGL; each comes
    // when its window first opens, and the window works.
    void EnginesComeWithTheirWindows()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(
            DiaryBuilder().Add({QStringLiteral("2001年5月14日"), QStringLiteral("月曜日"), QStringLiteral("1500"), {}, {},
                                {}, QStringLiteral("本文")})
                .Bytes());
        QVERIFY(form);
        QCOMPARE(HeavyLibraries(), QStringList{});

        form->Commands().ShowStatsWindow();
        QVERIFY(form->Commands().OpenStatsWindow() && form->Commands().OpenStatsWindow()->isVisible());
        QVERIFY(HeavyLibraries().contains(QStringLiteral("libQt6Charts")));
        QVERIFY(!HeavyLibraries().contains(QStringLiteral("libQt6WebEngine")));

        test.context.app.ZnURL = QStringLiteral("about:blank");
        test.context.app.ZnMSG = true;
        form->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions().front()->trigger();
        const QWidget* view = form->findChild<QWidget*>(QStringLiteral("WebBrowser1"));
        QVERIFY(view && view->isVisible());
        QCOMPARE(view->property("url").toUrl(), QUrl(QStringLiteral("about:blank")));
        QVERIFY(HeavyLibraries().contains(QStringLiteral("libQt6WebEngine")));
    }
};

SORAFUMI_TEST(LeanStartTest)
#include "LeanStartTest.moc"
