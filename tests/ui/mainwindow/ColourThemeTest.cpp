#include "ui/platform/ColourTheme.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QTest>

namespace {

bool ShowsActiveColours(QWidget* box)
{
    return box->palette().color(QPalette::Base) == QColor(Qt::black) &&
           box->palette().color(QPalette::Text) == QColor(Qt::red);
}

void Focus(QWidget* widget)
{
    widget->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
}

} // namespace

class ColourThemeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    // Red on black, as the properties dialog stores it, follows the focus.
    void ActiveColoursFollowTheFocus()
    {
        TestApp test;
        test.RegisterOwner();
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QApplication::setActiveWindow(form.get());
        test.context.app.ActiveFontColor = 255;
        test.context.app.ActiveCtrlColor = 0;

        Focus(EntryBox(*form, 2));
        QVERIFY(ShowsActiveColours(EntryBox(*form, 2)));
        for (int index : {0, 1, 3, 4, 5, 6})
            QVERIFY2(!ShowsActiveColours(EntryBox(*form, index)), qPrintable(QString::number(index)));

        Focus(EntryBox(*form, 4));
        QVERIFY(ShowsActiveColours(EntryBox(*form, 4)));
        QVERIFY(!ShowsActiveColours(EntryBox(*form, 2)));
        QCOMPARE(EntryBox(*form, 2)->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));

        // Another kind of control takes the focus: the last box keeps the colours.
        Focus(form->findChild<QCalendarWidget*>(QStringLiteral("Calendar")));
        QVERIFY(ShowsActiveColours(EntryBox(*form, 4)));
    }

    void DefaultColoursLookLikeTheOthers()
    {
        TestApp test;
        test.RegisterOwner();
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QApplication::setActiveWindow(form.get());
        Focus(EntryBox(*form, 1));
        QCOMPARE(EntryBox(*form, 1)->palette().color(QPalette::Base),
                 EntryBox(*form, 0)->palette().color(QPalette::Base));
        QCOMPARE(EntryBox(*form, 1)->palette().color(QPalette::Text),
                 EntryBox(*form, 0)->palette().color(QPalette::Text));
    }

    // Only boxes of these names take part; others keep their own colours.
    void OnlyNamedBoxesTakePart()
    {
        QWidget window;
        AppSettings app;
        app.ActiveFontColor = 255;
        app.ActiveCtrlColor = 0;
        auto* combo = new QLineEdit(&window);
        combo->setObjectName(QStringLiteral("Combo"));
        auto* rich = new QLineEdit(&window);
        rich->setObjectName(QStringLiteral("RichTextBox"));
        auto* other = new QLineEdit(&window);
        other->setObjectName(QStringLiteral("fieldboxes"));
        window.show();
        QApplication::setActiveWindow(&window);
        Focus(other);
        ColourTheme::ApplyActiveColors(window, app);
        QVERIFY(!ShowsActiveColours(other));
        Focus(rich);
        ColourTheme::ApplyActiveColors(window, app);
        QVERIFY(ShowsActiveColours(rich));
        Focus(combo);
        ColourTheme::ApplyActiveColors(window, app);
        QVERIFY(ShowsActiveColours(combo));
        QVERIFY(!ShowsActiveColours(rich));
    }
};

SORAFUMI_TEST(ColourThemeTest)
#include "ColourThemeTest.moc"
