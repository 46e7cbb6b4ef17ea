#include "TestRegistry.h"
#include "ui/platform/ClearPlacement.h"
#include "ui/platform/OnScreenPlace.h"

#include <QTest>

namespace {

const QRect Screen(0, 0, 1280, 1024);
const QRect RightScreen(1280, 0, 1920, 1080);

} // namespace

class WindowPlaceTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A stored place the title bar could not be taken hold of at moves onto the nearest screen.
    void TitleBarStaysOnScreen_data()
    {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QPoint>("shown");
        const QList<QRect> one{Screen};
        const QList<QRect> two{Screen, RightScreen};
        QTest::newRow("on the screen") << QPoint(100, 100) << one << QPoint(100, 100);
        QTest::newRow("far to the right") << QPoint(3000, 0) << one << QPoint(744, 0);
        QTest::newRow("above the top") << QPoint(-3, -30) << one << QPoint(0, 0);
        QTest::newRow("below the bottom") << QPoint(100, 1010) << one << QPoint(100, 543);
        QTest::newRow("across two screens") << QPoint(1000, 100) << two << QPoint(1000, 100);
        QTest::newRow("beyond the second screen") << QPoint(4000, 100) << two << QPoint(2664, 100);
    }
    void TitleBarStaysOnScreen()
    {
        QFETCH(QPoint, stored);
        QFETCH(QList<QRect>, screens);
        QFETCH(QPoint, shown);
        QCOMPARE(OnScreenPlace::FrameCorner(stored, QSize(520, 433), screens), shown);
    }

    // A window beside the main window keeps off the program's other windows and the body.
    void NewWindowTakesAFreePlace_data()
    {
        QTest::addColumn<QRect>("mainFrame");
        QTest::addColumn<QList<QRect>>("taken");
        QTest::addColumn<QPoint>("place");
        const QRect main(0, 0, 540, 480);
        QTest::newRow("room to the right") << main << QList<QRect>{} << QPoint(540, 0);
        QTest::newRow("right taken: below it") << main << QList<QRect>{{540, 0, 400, 150}} << QPoint(540, 150);
        QTest::newRow("right column full: beside it") << main << QList<QRect>{{540, 0, 400, 900}} << QPoint(940, 0);
        QTest::newRow("right full: to the left")
            << QRect(400, 0, 540, 480) << QList<QRect>{{940, 0, 340, 900}} << QPoint(100, 0);
        QTest::newRow("no room: calendar side") << QRect(Screen) << QList<QRect>{} << QPoint(980, 0);
    }
    void NewWindowTakesAFreePlace()
    {
        QFETCH(QRect, mainFrame);
        QFETCH(QList<QRect>, taken);
        QFETCH(QPoint, place);
        const QRect body(mainFrame.left() + 10, 200, 500, 270);
        QCOMPARE(ClearPlacement::FramePlace({300, 200}, mainFrame, body, Screen, taken), place);
    }
};

SORAFUMI_TEST(WindowPlaceTest)
#include "WindowPlaceTest.moc"
