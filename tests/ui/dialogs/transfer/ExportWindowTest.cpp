#include "ui/dialogs/transfer/ExportWindow.h"
#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray TwoPages()
{
    DiaryBuilder diary;
    for (const QString& date : {QStringLiteral("2001年5月14日"), QStringLiteral("2001年6月1日")})
        diary.Add({date, QStringLiteral("月曜日"), QStringLiteral("0"), QStringLiteral("空野太郎"),
                   QStringLiteral("午後 9:00:00"), QStringLiteral("晴れ"), QStringLiteral("本文")});
    return diary.Bytes();
}

} // namespace

// The export as the user reaches it: ツール → 書き出し, fill in, press 書き出し.
class ExportWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ExportsTheChosenRangeFromTheMenu_data()
    {
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("whole diary") << true
                                     << QStringList{QStringLiteral("2001-05-14.txt"), QStringLiteral("2001-06-01.txt"),
                                                    QStringLiteral("page-order.lst")};
        QTest::newRow("June") << false
                              << QStringList{QStringLiteral("2001-06-01.txt"), QStringLiteral("page-order.lst")};
    }
    void ExportsTheChosenRangeFromTheMenu()
    {
        QFETCH(bool, whole);
        QFETCH(QStringList, files);
        QTemporaryDir out;
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(TwoPages());
        QVERIFY(form);
        QString status;
        test.prompter.AnswerModal([&](QDialog& window) {
            window.findChild<QLineEdit*>(QStringLiteral("txtFolder"))->setText(out.path());
            window.findChild<QCheckBox*>(QStringLiteral("chkWholeDiary"))->setChecked(whole);
            window.findChild<QDateEdit*>(QStringLiteral("dtpFrom"))->setDate(QDate(2001, 6, 1));
            window.findChild<QPushButton*>(QStringLiteral("cmdExport"))->click();
            status = window.findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
            return int(QDialog::Rejected);
        });

        form->findChild<QAction*>(QStringLiteral("menuTool_Export"))->trigger();

        QCOMPARE(QDir(out.path()).entryList(QDir::Files), files);
        QCOMPARE(status, QStringLiteral("%1 個のﾌｧｲﾙを書き出しました。").arg(files.size() - 1));
    }

    // The page being written is exported as it stands. A folder chosen with
    // 参照 and written to is where the next export and the next import start,
    // and is kept for the next run.
    void TheFolderWrittenToIsOfferedAgain()
    {
        QTemporaryDir out;
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(TwoPages());
        QVERIFY(form);
        EntryBody(*form)->setPlainText(QStringLiteral("書いたばかり"));
        test.prompter.AnswerModal([&](QDialog& window) {
            test.prompter.AnswerFolder(out.path());
            window.findChild<QPushButton*>(QStringLiteral("cmdChooseFolder"))->click();
            window.findChild<QPushButton*>(QStringLiteral("cmdExport"))->click();
            return int(QDialog::Rejected);
        });
        form->findChild<QAction*>(QStringLiteral("menuTool_Export"))->trigger();
        QCOMPARE(QDir(out.path()).entryList({QStringLiteral("*.txt")}, QDir::Files).size(), 2);
        QFile last(QDir(out.path()).filePath(QStringLiteral("2001-06-01.txt")));
        QVERIFY(last.open(QIODevice::ReadOnly) && last.readAll().endsWith("\r\n\r\n書いたばかり"));

        QStringList offered;
        const auto folderShown = [&](QDialog& window) {
            offered << window.findChild<QLineEdit*>(QStringLiteral("txtFolder"))->text();
            return int(QDialog::Rejected);
        };
        test.prompter.AnswerModal(folderShown);
        test.prompter.AnswerModal(folderShown);
        form->findChild<QAction*>(QStringLiteral("menuTool_Export"))->trigger();
        form->findChild<QAction*>(QStringLiteral("menuTool_Import"))->trigger();
        QCOMPARE(offered, QStringList({out.path(), out.path()}));
        QCOMPARE(test.context.app.ExportFolder, out.path());
    }

    // A folder that is not there, perhaps a disk not mounted now, is made
    // only when the user says so.
    void AMissingFolderIsMadeOnlyOnYes()
    {
        QTemporaryDir out;
        const QString folder = QDir(out.path()).filePath(QStringLiteral("新しい"));
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(TwoPages());
        QVERIFY(form);
        ExportWindow window(form->Store(), test.prompter, test.context.clock);
        window.findChild<QLineEdit*>(QStringLiteral("txtFolder"))->setText(folder);
        test.prompter.AnswerMessage(Prompter::Answer::No);
        window.findChild<QPushButton*>(QStringLiteral("cmdExport"))->click();
        QVERIFY(!QFileInfo::exists(folder));

        test.prompter.AnswerMessage(Prompter::Answer::Yes);
        window.findChild<QPushButton*>(QStringLiteral("cmdExport"))->click();
        QCOMPARE(QDir(folder).entryList({QStringLiteral("*.txt")}, QDir::Files).size(), 2);
    }

    // Characters a UTF-8 file would bring back with other codes are named
    // before anything is written, with the encoding that keeps them.
    void CharactersWithTwoCodesAreNamedInUtf8Only_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("asked");
        QTest::newRow("UTF-8") << 0
                               << QStringLiteral("次のﾍﾟｰｼﾞは、そのままの形では書き出せません。\r"
                                                 "2 ﾍﾟｰｼﾞ目 (2001年6月1日): ≒∵ は取り込むと別のｺｰﾄﾞになります\r\r"
                                                 "≒∵ などは、文字ｺｰﾄﾞを ｼﾌﾄJIS (CP932) にして書き出せば、そのまま"
                                                 "残ります。\r\rこのまま書き出しますか？");
        QTest::newRow("CP932") << 1 << QString();
    }
    void CharactersWithTwoCodesAreNamedInUtf8Only()
    {
        QFETCH(int, encoding);
        QFETCH(QString, asked);
        QTemporaryDir out;
        QByteArray diary = TwoPages();
        diary.replace(DiaryPage::RecordLength + DiaryPage::Fields[DiaryPage::PageBody].offset, 4, "\x87\x90\xFA\x5B");
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary);
        QVERIFY(form);
        ExportWindow window(form->Store(), test.prompter, test.context.clock);
        window.findChild<QLineEdit*>(QStringLiteral("txtFolder"))->setText(out.path());
        window.findChild<QComboBox*>(QStringLiteral("cboEncoding"))->setCurrentIndex(encoding);
        if (!asked.isEmpty())
            test.prompter.AnswerMessage(Prompter::Answer::No);
        const qsizetype before = test.prompter.MessageTexts().size();

        window.findChild<QPushButton*>(QStringLiteral("cmdExport"))->click();

        QCOMPARE(test.prompter.MessageTexts().mid(before), asked.isEmpty() ? QStringList() : QStringList{asked});
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), asked.isEmpty() ? 3 : 0);
    }

    void AnExistingFileIsKeptOnNo()
    {
        QTemporaryDir out;
        const QString mine = QDir(out.path()).filePath(QStringLiteral("2001-06-01.txt"));
        QFile file(mine);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("mine") == 4);
        file.close();
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(TwoPages());
        QVERIFY(form);
        ExportWindow window(form->Store(), test.prompter, test.context.clock);
        window.findChild<QLineEdit*>(QStringLiteral("txtFolder"))->setText(out.path());
        test.prompter.AnswerMessage(Prompter::Answer::No);

        window.findChild<QPushButton*>(QStringLiteral("cmdExport"))->click();

        const Prompter::Box& box = test.prompter.LastMessage();
        QCOMPARE(box.text,
                 QStringLiteral("書き出し先に同じ名前のﾌｧｲﾙが 1 個あります。\r2001-06-01.txt\r\r上書きしますか？"));
        QCOMPARE(box.defaultButton, Prompter::Answer::No);
        QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("2001-06-01.txt")});
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == "mine");
    }
};

SORAFUMI_TEST(ExportWindowTest)
#include "ExportWindowTest.moc"
