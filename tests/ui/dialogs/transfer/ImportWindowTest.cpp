#include "ui/dialogs/transfer/ImportWindow.h"
#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/diary/DiaryStore.h"
#include "core/platform/Cp932.h"
#include "ui/mainwindow/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// Exported text files taken back in: ツール → 取り込み, preview, 取り込み.
class ImportWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void PreviewsThenAppendsInDateOrder()
    {
        QTemporaryDir in;
        for (const auto& [name, date] :
             {std::pair{"2001-06-02.txt", "2001年6月2日"}, {"2001-05-14.txt", "2001年5月14日"}}) {
            QFile file(QDir(in.path()).filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("日付:") + date + "\r\n天候:" + QByteArray(20, 'x') + "\r\n\r\n本文");
        }
        QFile(QDir(in.path()).filePath(QStringLiteral("notes.txt"))).open(QIODevice::WriteOnly);
        DiaryBuilder diary;
        diary.Add(DiaryBuilder::Fields{QStringLiteral("2026年12月7日"), {}, QStringLiteral("0"), {}, {}, {}, {}});
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);
        QString preview;
        QString status;
        test.prompter.AnswerModal([&](QDialog& window) {
            window.findChild<QLineEdit*>(QStringLiteral("txtFolder"))->setText(in.path());
            window.findChild<QPushButton*>(QStringLiteral("cmdPreview"))->click();
            preview = window.findChild<QPlainTextEdit*>(QStringLiteral("txtPreview"))->toPlainText();
            window.findChild<QPushButton*>(QStringLiteral("cmdImport"))->click();
            status = window.findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
            return int(QDialog::Rejected);
        });

        form->findChild<QAction*>(QStringLiteral("menuTool_Import"))->trigger();

        QCOMPARE(preview, QStringLiteral("取り込むページ: 2 ページ\n期間: 2001年5月14日 ～ 2001年6月2日\n\n"
                                         "取り込まないファイル:\nnotes.txt: 見出しの後の空行がありません\n\n"
                                         "長すぎて後ろを切る項目:\n2001-05-14.txt: 天候\n2001-06-02.txt: 天候"));
        QCOMPARE(status, QStringLiteral("2 ページを日記の最後に取り込みました。"));
        QCOMPARE(form->Store().PageCount(), 3);
        QCOMPARE(form->Store().CurrentPage(), 3);
        const QByteArray file = ReadDiary(test);
        QCOMPARE(file.size(), 3 * DiaryPage::RecordLength);
        QVERIFY(DiaryBuilder::RecordOf(file, 2).startsWith(Cp932::Encode(QStringLiteral("2001年5月14日"))));
    }

    // The order file of an export keeps the diary's order, and the preview says so.
    void AnExportedFolderKeepsItsOrder()
    {
        QTemporaryDir in;
        const QDir folder(in.path());
        for (const auto& [name, date] :
             {std::pair{"2001-06-02.txt", "2001年6月2日"}, {"2001-05-14.txt", "2001年5月14日"}}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray("日付:") + date + "\r\n\r\n") > 0);
        }
        QFile order(folder.filePath(QStringLiteral("page-order.lst")));
        QVERIFY(order.open(QIODevice::WriteOnly) && order.write("2001-06-02.txt\r\n2001-05-14.txt\r\n") > 0);
        order.close();
        TestApp test;
        DiaryBuilder diary;
        diary.Add(DiaryBuilder::Fields{QStringLiteral("2026年12月7日"), {}, QStringLiteral("0"), {}, {}, {}, {}});
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);
        ImportWindow window(form->Store(), test.prompter);
        window.SetFolder(in.path());

        window.findChild<QPushButton*>(QStringLiteral("cmdPreview"))->click();
        window.findChild<QPushButton*>(QStringLiteral("cmdImport"))->click();

        QCOMPARE(window.findChild<QPlainTextEdit*>(QStringLiteral("txtPreview"))->toPlainText(),
                 QStringLiteral("取り込むページ: 2 ページ\n期間: 2001年5月14日 ～ 2001年6月2日\n"
                                "並び順: 書き出したときの日記の順 (page-order.lst)"));
        QVERIFY(DiaryBuilder::RecordOf(ReadDiary(test), 2).startsWith(Cp932::Encode(QStringLiteral("2001年6月2日"))));
    }

private:
    static QByteArray ReadDiary(TestApp& test)
    {
        QFile file(test.DiaryPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

SORAFUMI_TEST(ImportWindowTest)
#include "ImportWindowTest.moc"
