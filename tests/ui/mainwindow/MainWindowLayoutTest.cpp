#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/BackgroundTiler.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/PictureSurface.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/SafeWebView.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>
#include <QToolBar>
#include <QWebEngineView>

namespace {

QWidget* ArrayMember(const MainWindow& form, const QString& name, int index)
{
    for (QWidget* widget : form.findChildren<QWidget*>(name))
        if (widget->property("index").toInt() == index)
            return widget;
    return nullptr;
}

// Sizes the main window so that its inside, below the menu bar, is w × h.
void SetInnerSize(MainWindow& form, int w, int h)
{
    const QWidget* surface = form.centralWidget();
    form.resize(w + form.width() - surface->width(), h + form.height() - surface->height());
    QCOMPARE(surface->size(), QSize(w, h));
}

} // namespace

class MainWindowLayoutTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    // In twips at 96 dpi, 15 to the pixel.
    void DesignPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<QRect>("place");
        // Below the band strip, grown to the toolbar's captions, ending where designed.
        QTest::newRow("Calendar") << QStringLiteral("Calendar") << -1 << QRect(324, 51, 155, 129);
        QTest::newRow("date") << QStringLiteral("FieldBoxes") << 0 << QRect(44, 67, 113, 21);
        QTest::newRow("time") << QStringLiteral("FieldBoxes") << 1 << QRect(196, 67, 113, 21);
        QTest::newRow("weekday") << QStringLiteral("FieldBoxes") << 2 << QRect(44, 95, 113, 21);
        QTest::newRow("weather") << QStringLiteral("FieldBoxes") << 3 << QRect(196, 95, 97, 21);
        QTest::newRow("expense") << QStringLiteral("FieldBoxes") << 4 << QRect(44, 123, 113, 21);
        QTest::newRow("signature") << QStringLiteral("FieldBoxes") << 5 << QRect(196, 123, 113, 21);
        QTest::newRow("weather spinner") << QStringLiteral("UpDown1") << -1 << QRect(293, 95, 16, 21);
        QTest::newRow("font size") << QStringLiteral("FontSizeSetText") << -1 << QRect(260, 150, 33, 21);
        QTest::newRow("font size spinner") << QStringLiteral("UpDown2") << -1 << QRect(293, 150, 16, 21);
        QTest::newRow("background holder") << QStringLiteral("Image1") << -1 << QRect(456, 68, 64, 64);
    }
    void DesignPlaces()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QRect, place);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        QWidget* control = index < 0 ? form->findChild<QWidget*>(name) : ArrayMember(*form, name, index);
        QVERIFY(control);
        QCOMPARE(control->geometry(), place);
    }

    void LabelsAtTheirPlaces_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("0") << 0 << QStringLiteral("日付") << QPoint(16, 71);
        QTest::newRow("1") << 1 << QStringLiteral("時間") << QPoint(168, 71);
        QTest::newRow("2") << 2 << QStringLiteral("曜日") << QPoint(16, 99);
        QTest::newRow("3") << 3 << QStringLiteral("天候") << QPoint(168, 99);
        QTest::newRow("4") << 4 << QStringLiteral("出費") << QPoint(16, 127);
        QTest::newRow("5") << 5 << QStringLiteral("署名") << QPoint(168, 127);
        QTest::newRow("6") << 6 << QStringLiteral("日記の内容") << QPoint(12, 164);
        QTest::newRow("9") << 9 << QStringLiteral("フォントサイズ") << QPoint(168, 154);
    }
    void LabelsAtTheirPlaces()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        QFETCH(QPoint, place);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        auto* label = qobject_cast<QLabel*>(ArrayMember(*form, QStringLiteral("Label"), index));
        QVERIFY(label);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->pos(), place);
    }

    // The window as it is made, before its start-up fills it.
    void InitialTexts()
    {
        TestApp test;
        const auto form = std::make_unique<MainWindow>(test.context);
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("PageLabel"))->text(), QStringLiteral("データ保留中"));
        QCOMPARE(form->FieldText(EntryField::Weather), QStringLiteral("晴れ"));
        QCOMPARE(ArrayMember(*form, QStringLiteral("FieldBoxes"), 4)->toolTip(),
                 QStringLiteral("整数のみ入力可\"\\\"や\"，\"は自動記入されます"));
        QVERIFY(!form->findChild<QWidget*>(QStringLiteral("znBaseFrm"))->isVisible());
        QVERIFY(!form->findChild<QWidget*>(QStringLiteral("Image1"))->isVisible());
        QCOMPARE(form->findChild<QSlider*>(QStringLiteral("Slider1"))->minimum(), 0);
    }

    void ToolbarKeys()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        const QList<QAction*> buttons = form->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions();
        QCOMPARE(buttons.size(), 15);
        QStringList keys;
        for (const QAction* button : buttons) {
            if (button->isSeparator())
                continue;
            QCOMPARE(button->toolTip(), button->text());
            keys << button->text();
        }
        QCOMPARE(keys, QStringList({QStringLiteral("ZN"), QStringLiteral("新規"), QStringLiteral("開く"),
                                    QStringLiteral("保存"), QStringLiteral("印刷"), QStringLiteral("削除"),
                                    QStringLiteral("前日"), QStringLiteral("後日"), QStringLiteral("設定"),
                                    QStringLiteral("説明")}));
    }

    // Inner sizes in pixels; at 15 twips to the pixel the body is 220 twips
    // narrower (15 px after rounding) and 2950 twips lower (197 px).
    void ResizeRules_data()
    {
        QTest::addColumn<QSize>("inner");
        QTest::addColumn<QSize>("body");
        QTest::addColumn<int>("statusTop");
        QTest::newRow("design") << QSize(565, 393) << QSize(550, 196) << 378;
        QTest::newRow("large") << QSize(900, 700) << QSize(885, 503) << 685;
        // The web panel starts lower than this: its height stays as it was.
        QTest::newRow("just above 3000 twips") << QSize(600, 201) << QSize(585, 4) << 186;
    }
    void ResizeRules()
    {
        QFETCH(QSize, inner);
        QFETCH(QSize, body);
        QFETCH(int, statusTop);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        const int panelHeight = form->findChild<QWidget*>(QStringLiteral("znBaseFrm"))->height();
        SetInnerSize(*form, inner.width(), inner.height());

        QCOMPARE(ArrayMember(*form, QStringLiteral("FieldBoxes"), 6)->size(), body);
        QCOMPARE(form->findChild<QWidget*>(QStringLiteral("PageLabel"))->y(), statusTop);
        const QWidget* band = form->findChild<QWidget*>(QStringLiteral("CoolBar1"));
        const QWidget* box = form->findChild<QWidget*>(QStringLiteral("PictureBox"));
        QCOMPARE(box->geometry(), QRect(inner.width() - band->height(), 0, band->height(), band->height()));
        QCOMPARE(band->width(), inner.width() - box->width());
        const QWidget* panel = form->findChild<QWidget*>(QStringLiteral("znBaseFrm"));
        QCOMPARE(panel->width(), inner.width() - panel->x());
        const int below = inner.height() - panel->y();
        QCOMPARE(panel->height(), below >= 0 ? below : panelHeight);
    }

    void LowWindowKeepsBodyAndStatusLine()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        SetInnerSize(*form, 700, 500);
        const QRect body = ArrayMember(*form, QStringLiteral("FieldBoxes"), 6)->geometry();
        const int statusTop = form->findChild<QWidget*>(QStringLiteral("PageLabel"))->y();

        SetInnerSize(*form, 640, 200); // exactly 3000 twips high
        QCOMPARE(ArrayMember(*form, QStringLiteral("FieldBoxes"), 6)->geometry(), body);
        QCOMPARE(form->findChild<QWidget*>(QStringLiteral("PageLabel"))->y(), statusTop);
        QCOMPARE(form->findChild<QWidget*>(QStringLiteral("CoolBar1"))->width(),
                 640 - form->findChild<QWidget*>(QStringLiteral("PictureBox"))->width());
    }

    void TilePlaces()
    {
        const std::vector<QPoint> places = BackgroundTiler::TilePlaces(QSize(100, 100), QSize(1000, 550));
        QCOMPARE(places.size(), size_t(66));
        QCOMPARE(places.front(), QPoint(0, 0));
        QCOMPARE(places.back(), QPoint(1000, 500));
        QVERIFY(BackgroundTiler::TilePlaces(QSize(), QSize(1000, 550)).empty());
    }

    void BackgroundTiledUnlessSwitchedOff_data()
    {
        QTest::addColumn<QString>("switchValue");
        QTest::addColumn<bool>("tiled");
        QTest::newRow("default") << QString() << true;
        QTest::newRow("0") << QStringLiteral("0") << true;
        QTest::newRow("1") << QStringLiteral("1") << false;
        QTest::newRow("not a number") << QStringLiteral("off") << false;
    }
    void BackgroundTiledUnlessSwitchedOff()
    {
        QFETCH(QString, switchValue);
        QFETCH(bool, tiled);
        TestApp test;
        QImage red(30, 20, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(test.profile.ProgramFile(QStringLiteral("red.png"))));
        test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("BackMapPath"), QStringLiteral("red.png"));
        if (!switchValue.isEmpty())
            test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("BackMapOoOff"), switchValue);
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        SetInnerSize(*form, 611, 431);

        const QImage& canvas = form->findChild<PictureSurface*>(QStringLiteral("MainSurface"))->Canvas();
        QCOMPARE(canvas.size(), QSize(611, 431));
        // The far corner is covered by the overhanging last tile.
        for (const QPoint corner : {QPoint(0, 0), QPoint(610, 430)})
            QCOMPARE(canvas.pixelColor(corner) == QColor(Qt::red), tiled);
    }

    void WebPanelTogglesTwice()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        test.context.app.ZnURL = QStringLiteral("about:blank");
        test.context.app.ZnMSG = true;
        QVERIFY(!form->findChild<QWebEngineView*>());
        const QList<QAction*> buttons = form->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions();
        auto* slider = form->findChild<QSlider*>(QStringLiteral("Slider1"));
        auto* panel = form->findChild<QWidget*>(QStringLiteral("znBaseFrm"));

        buttons.front()->trigger();
        QVERIFY(panel->isVisible());
        const QWidget* band = form->findChild<QWidget*>(QStringLiteral("CoolBar1"));
        QCOMPARE(panel->pos(), QPoint(band->x(), band->height()));
        QCOMPARE(panel->size(),
                 QSize(form->centralWidget()->width() - panel->x(), form->centralWidget()->height() - panel->y()));
        for (int i = 0; i < buttons.size(); ++i)
            QCOMPARE(buttons[i]->isEnabled(), i == 0 || i == buttons.size() - 1);
        QVERIFY(!slider->isEnabled());
        auto* view = form->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"));
        QVERIFY(qobject_cast<SafeWebView*>(view));
        QCOMPARE(view->url(), QUrl(QStringLiteral("about:blank")));

        buttons.front()->trigger();
        QVERIFY(!panel->isVisible());
        for (const QAction* button : buttons)
            QVERIFY(button->isEnabled());
        QVERIFY(slider->isEnabled());
    }

    // The body's line breaks are CR LF for the diary and LF in the box.
    void BodyLineBreaks()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary();
        form->SetFieldText(EntryField::Body, QStringLiteral("一行目\r\n二行目\r\n"));
        auto* body = qobject_cast<QPlainTextEdit*>(ArrayMember(*form, QStringLiteral("FieldBoxes"), 6));
        QCOMPARE(body->toPlainText(), QStringLiteral("一行目\n二行目\n"));
        QCOMPARE(form->FieldText(EntryField::Body), QStringLiteral("一行目\r\n二行目\r\n"));
    }
};

SORAFUMI_TEST(MainWindowLayoutTest)
#include "MainWindowLayoutTest.moc"
