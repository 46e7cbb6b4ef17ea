#include "ui/dialogs/RestoreWindow.h"
#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/backup/BackupGenerations.h"
#include "core/diary/DiaryStore.h"
#include "core/platform/JapaneseLocale.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

QByteArray PagesOn(std::initializer_list<int> days)
{
    DiaryBuilder diary;
    for (const int day : days) {
        const QDate date(2026, 12, day);
        diary.Add({JapaneseLocale::FormatDate(date), JapaneseLocale::FormatWeekday(date), QStringLiteral("0"),
                   QStringLiteral("空野太郎"), QStringLiteral("午後 9:00:00"), QStringLiteral("晴れ"),
                   QStringLiteral("%1日の日記").arg(day)});
    }
    return diary.Bytes();
}

QString Rows(const QTreeWidget& list)
{
    QStringList rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list.topLevelItem(row);
        rows << item->text(0) + u' ' + item->text(1) + u' ' + item->text(2);
    }
    return rows.join(u'|');
}

} // namespace

class RestoreWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A page deleted by mistake today comes back with yesterday's copy,
    // chosen from the ツール menu; the diary as it was is kept as a copy.
    void YesterdaysCopyBringsBackADeletedPage()
    {
        TestApp test;
        std::unique_ptr<MainWindow> form = test.StartOwnersDiary(PagesOn({1, 2, 3}));
        QVERIFY(form);
        const QByteArray yesterday = test.DiaryBytes();
        test.clock.Set(QDateTime(QDate(2026, 12, 6), QTime(22, 0)));
        form->Store().AddPage();
        test.clock.Set(QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
        form->Store().ShowPage(2);
        test.prompter.AnswerMessage(Prompter::Answer::Yes);
        form->Store().DeletePage();
        QCOMPARE(form->Store().PageCount(), 3);

        QString listed;
        test.prompter.AnswerModal([&](QDialog& dialog) {
            auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lstBackups"));
            listed = Rows(*list);
            list->setCurrentItem(list->topLevelItem(1));
            dialog.findChild<QPushButton*>(QStringLiteral("cmdRestore"))->click();
            return dialog.result();
        });
        test.prompter.AnswerMessage(Prompter::Answer::Yes);
        form->findChild<QAction*>(QStringLiteral("menuTool_Restore"))->trigger();

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(listed, QStringLiteral("2026/12/07 4 2026年12月6日|2026/12/06 3 2026年12月3日"));
        QCOMPARE(test.DiaryBytes(), yesterday);
        QCOMPARE(form->Store().PageCount(), 3);
        QCOMPARE(form->Store().CurrentPage(), 3);
        QCOMPARE(test.prompter.LastMessage().text,
                 QStringLiteral("2026/12/06 のバックアップで日記を置き換えます。\r"
                                "今の日記はバックアップの場所に残します。\r復元しますか？"));
        const QDir backups(form->Store().BackupFolder());
        const QString diary = form->Store().DiaryFile().Path();
        const QString today = BackupGenerations::CopyName(diary, QDate(2026, 12, 7));
        QCOMPARE(backups.entryList(QDir::Files),
                 QStringList({BackupGenerations::CopyName(diary, QDate(2026, 12, 6)),
                              QString(today).replace(QStringLiteral(".DAT"), QStringLiteral("-093000.DAT")), today}));
    }
};

SORAFUMI_TEST(RestoreWindowTest)
#include "RestoreWindowTest.moc"
