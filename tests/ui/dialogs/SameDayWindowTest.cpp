#include "ui/dialogs/SameDayWindow.h"
#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/diary/DiaryStore.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

namespace {

QByteArray PagesOn(std::initializer_list<QDate> dates)
{
    DiaryBuilder diary;
    for (const QDate date : dates)
        diary.Add({JapaneseLocale::FormatDate(date), JapaneseLocale::FormatWeekday(date), QStringLiteral("0"),
                   QStringLiteral("空野太郎"), QStringLiteral("午後 9:00:00"), QStringLiteral("晴れ"),
                   QStringLiteral("%1年の日記").arg(date.year())});
    return diary.Bytes();
}

// The program on a diary, showing its last page, with the window opened from
// the ツール menu.
struct Session
{
    explicit Session(const QByteArray& diary) : form(test.StartOwnersDiary(diary))
    {
        if (!form)
            return;
        form->findChild<QAction*>(QStringLiteral("menuTool_SameDay"))->trigger();
        window = form->Commands().OpenSameDayWindow();
    }
    bool Started() const { return window && window->isVisible(); }
    QTreeWidget* List() const { return window->findChild<QTreeWidget*>(QStringLiteral("lstSameDay")); }
    // The years of the rows, top to bottom.
    QString Years() const
    {
        QStringList years;
        for (int row = 0; row < List()->topLevelItemCount(); ++row)
            years << List()->topLevelItem(row)->text(0);
        return years.join(u' ');
    }

    TestApp test;
    std::unique_ptr<MainWindow> form;
    SameDayWindow* window = nullptr;
};

} // namespace

class SameDayWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The pages of other years follow the page shown and the pages on disk;
    // 29 February meets only itself, and says so.
    void FollowsTheMainWindow()
    {
        Session session(PagesOn({QDate(2019, 12, 8), QDate(2025, 12, 8), QDate(2020, 2, 29), QDate(2024, 2, 29),
                                 QDate(2021, 12, 8), QDate(2026, 12, 8)}));
        QVERIFY(session.Started());
        const auto* leapDayNote = session.window->findChild<QLabel*>(QStringLiteral("lblLeapDay"));
        QCOMPARE(session.Years(), QStringLiteral("2025年 2021年 2019年"));
        QVERIFY(!leapDayNote->isVisibleTo(session.window));

        session.form->Store().ShowPage(4);
        QTRY_COMPARE(session.Years(), QStringLiteral("2020年"));
        QVERIFY(leapDayNote->isVisibleTo(session.window));
        session.form->Store().ShowPage(5);
        session.test.prompter.AnswerMessage(Prompter::Answer::Yes);
        session.form->Store().DeletePage();
        // The page of 2026 moved into the place of the one deleted.
        QTRY_COMPARE(session.Years(), QStringLiteral("2025年 2019年"));
    }

    void ARowShowsItsPage_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("double-click") << true;
        QTest::newRow("Enter") << false;
    }
    void ARowShowsItsPage()
    {
        QFETCH(bool, doubleClick);
        Session session(PagesOn({QDate(2019, 12, 8), QDate(2021, 12, 8), QDate(2026, 12, 8)}));
        QVERIFY(session.Started());
        EntryBody(*session.form)->setPlainText(QStringLiteral("書きかけ"));
        QTreeWidgetItem* row = session.List()->topLevelItem(1);
        QCOMPARE(row->text(0), QStringLiteral("2019年"));

        if (doubleClick) {
            const QPoint centre = session.List()->visualItemRect(row).center();
            // A real double-click starts with a click.
            QTest::mouseClick(session.List()->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(session.List()->viewport(), Qt::LeftButton, {}, centre);
        } else {
            session.List()->setCurrentItem(row);
            QTest::keyClick(session.List(), Qt::Key_Return);
        }

        QTRY_COMPARE(session.form->Store().CurrentPage(), 1);
        QCOMPARE(EntryBody(*session.form)->toPlainText(), QStringLiteral("2019年の日記"));
        QVERIFY(session.window->isVisible());
        // The edit of the page left was stored first, as stepping does.
        QVERIFY(
            DiaryBuilder::RecordOf(session.test.DiaryBytes(), 3).contains(Cp932::Encode(QStringLiteral("書きかけ"))));
        QTRY_COMPARE(session.Years(), QStringLiteral("2026年 2021年"));
    }

    // A window gone is told nothing more: the diary goes on showing, adding
    // and storing pages without it.
    void AWindowGoneHearsNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::newRow("same day") << QStringLiteral("menuTool_SameDay") << QStringLiteral("frmSameDay");
        QTest::newRow("statistics") << QStringLiteral("menuTool_Stats") << QStringLiteral("frmStats");
    }
    void AWindowGoneHearsNothing()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        Session session(PagesOn({QDate(2019, 12, 8), QDate(2026, 12, 8)}));
        QVERIFY(session.Started());
        session.form->findChild<QAction*>(command)->trigger();
        QDialog* window = session.form->findChild<QDialog*>(name);
        QVERIFY(window);
        delete window;

        DiaryStore& store = session.form->Store();
        store.ShowPage(1);
        store.AddPage();
        EntryBody(*session.form)->setPlainText(QStringLiteral("後から"));
        QVERIFY(store.StorePage());
        QTest::qWait(0);
        QCOMPARE(store.PageCount(), 3);
    }
};

SORAFUMI_TEST(SameDayWindowTest)
#include "SameDayWindowTest.moc"
