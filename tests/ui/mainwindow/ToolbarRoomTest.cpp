#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QCalendarWidget>
#include <QTest>
#include <QToolBar>

// Run at every scale of the screen by the scaled runs of the suite.
class ToolbarRoomTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every toolbar button, as tall as its icon and caption need, shows whole
    // in its band, and the calendar below covers none of it.
    void ButtonsShowWhole()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        const QWidget* surface = form->centralWidget();
        const auto* toolbar = form->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        const QRect band = form->findChild<QWidget*>(QStringLiteral("CoolBar1"))->geometry();
        const auto* calendarBox = form->findChild<QCalendarWidget*>(QStringLiteral("Calendar"));
        const QRect calendar = calendarBox->geometry();
        // The calendar, lower, still has room for its month.
        QVERIFY(calendar.height() >= calendarBox->minimumSizeHint().height());
        for (QAction* action : toolbar->actions()) {
            const QWidget* button = toolbar->widgetForAction(action);
            if (action->isSeparator() || !button)
                continue;
            const QRect place(button->mapTo(surface, QPoint(0, 0)), button->sizeHint().expandedTo(button->size()));
            QVERIFY2(band.contains(place) && !calendar.intersects(place),
                     qPrintable(action->text() + QStringLiteral(" at %1,%2 %3x%4")
                                                     .arg(place.x())
                                                     .arg(place.y())
                                                     .arg(place.width())
                                                     .arg(place.height())));
        }
    }
};

SORAFUMI_TEST(ToolbarRoomTest)
#include "ToolbarRoomTest.moc"
