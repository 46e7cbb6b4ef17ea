#include "DiaryBuilder.h"
#include "FileDiaryLock.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/crypt/EncryptedRecordFile.h"
#include "core/crypt/RecoveryCode.h"
#include "ui/dialogs/crypt/LockCommands.h"
#include "ui/dialogs/crypt/LockWindow.h"
#include "ui/dialogs/crypt/PasswordStrength.h"
#include "ui/dialogs/crypt/RecoveryCodeWindow.h"
#include "ui/dialogs/crypt/UnlockWindow.h"
#include "ui/dialogs/transfer/ExportWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Password = QStringLiteral("合言葉は sora-2026");

QByteArray OnePage()
{
    return DiaryBuilder().AddRaw(DiaryBuilder::SampleRecord()).Bytes();
}

bool WriteDiary(const QString& path)
{
    return DiaryBuilder().AddRaw(DiaryBuilder::SampleRecord()).WriteTo(path);
}

void Type(QDialog& window, const char* box, const QString& text)
{
    window.findChild<QLineEdit*>(QString::fromLatin1(box))->setText(text);
}

void Press(QDialog& window, const char* button)
{
    window.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

// A one-page diary locked with Password.
struct LockedDiary
{
    QTemporaryDir dir;
    FileDiaryLock lock{dir.filePath(QStringLiteral("DIARY.DAT"))};
    QString code;
    bool ok = WriteDiary(dir.filePath(QStringLiteral("DIARY.DAT"))) && !lock.Lock(Password, code);
};

// A lock that answers "encrypted" without a file behind it, for the windows
// that only ask.
struct EncryptedOnPaper : FileDiaryLock
{
    EncryptedOnPaper() : FileDiaryLock(QStringLiteral("/nonexistent/DIARY.DAT")) {}
    bool IsEncrypted() const override { return true; }
};

} // namespace

// The windows of the diary's lock, driven as the user does, on real files.
class LockWindowsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void LockingEncryptsDiaryAndBackupsAfterTheCodeIsCheckedBack()
    {
        QTemporaryDir dir;
        const QString diary = dir.filePath(QStringLiteral("DIARY.DAT"));
        QVERIFY(WriteDiary(diary));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("backups")));
        QVERIFY(WriteDiary(dir.filePath(QStringLiteral("backups/DIARY-1.DAT"))));
        FileDiaryLock lock(diary, dir.filePath(QStringLiteral("backups")));
        ScriptedPrompter prompter;
        prompter.AnswerModal([](QDialog& window) {
            Type(window, "txtNewPassword", Password);
            Type(window, "txtConfirmPassword", Password + u'x');
            Press(window, "cmdOK");
            Type(window, "txtConfirmPassword", Password);
            Press(window, "cmdOK");
            return window.result();
        });
        prompter.AnswerMessage(Prompter::Answer::Ok);
        const QString pdf = dir.filePath(QStringLiteral("code.pdf"));
        QString shownCode;
        prompter.AnswerModal([&](QDialog& window) {
            shownCode = window.findChild<QLabel*>(QStringLiteral("lblCode"))->text();
            Press(window, "cmdPrint");
            const int group = static_cast<RecoveryCodeWindow&>(window).AskedGroup();
            Type(window, "txtCheckGroup", group == 1 ? QStringLiteral("ZZZZ") : shownCode.left(4));
            Press(window, "cmdOK");
            if (window.result() == QDialog::Accepted)
                return -1;
            Type(window, "txtCheckGroup", shownCode.section(u'-', group - 1, group - 1).toLower());
            Press(window, "cmdOK");
            return window.result();
        });
        prompter.AnswerPrinter([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        prompter.AnswerMessage(Prompter::Answer::Ok);
        prompter.AnswerMessage(Prompter::Answer::Yes);

        QVERIFY(LockCommands(lock, prompter, nullptr).LockDiary());

        QVERIFY(prompter.AllAnswered());
        QCOMPARE(
            prompter.MessageTexts().mid(0, 2),
            QStringList({QStringLiteral("確認のために入力したパスワードが一致しません。もう一度入力してください !"),
                         QStringLiteral("入力された組が回復コードと一致しません。\n"
                                        "書き写した回復コードを確かめてから、もう一度入力してください。")}));
        QVERIFY(!QFile::exists(diary));
        QVERIFY(lock.PlainBackups().isEmpty());
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("backups/DIARY-1.sfk"))));
        QVERIFY(QFileInfo(pdf).size() > 0);
        EncryptedRecordFile opened;
        QVERIFY(!opened.Open(lock.EncryptedPath(), Password));
        QByteArray page;
        QVERIFY(!opened.ReadRecord(1, page));
        QCOMPARE(page, DiaryBuilder::SampleRecord());
        opened.Close();
        QCOMPARE(shownCode.size(), RecoveryCode::Length + RecoveryCode::Length / RecoveryCode::GroupLength - 1);
        QVERIFY(!opened.OpenWithRecoveryCode(lock.EncryptedPath(), shownCode, Password));
    }

    void NewPasswordRefused_data()
    {
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << QStringLiteral("新しいパスワードを入力してください。");
        QTest::newRow("different") << QStringLiteral("b")
                                   << QStringLiteral(
                                          "確認のために入力したパスワードが一致しません。もう一度入力してください !");
    }
    void NewPasswordRefused()
    {
        QFETCH(QString, again);
        QFETCH(QString, message);
        QTemporaryDir dir;
        FileDiaryLock lock(dir.filePath(QStringLiteral("DIARY.DAT")));
        ScriptedPrompter prompter;
        LockWindow window(lock, prompter);
        Type(window, "txtNewPassword", again.isEmpty() ? QString() : QStringLiteral("a"));
        Type(window, "txtConfirmPassword", again);
        prompter.AnswerMessage(Prompter::Answer::Ok);
        Press(window, "cmdOK");
        QCOMPARE(prompter.MessageTexts(), QStringList(message));
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QVERIFY(!lock.IsEncrypted());
    }

    void StrengthHint_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("hint");
        QTest::newRow("short") << QStringLiteral("abc") << QStringLiteral("強さ: 弱い（3文字、1種類）");
        QTest::newRow("eight, two kinds") << QStringLiteral("abcd1234") << QStringLiteral("強さ: 普通（8文字、2種類）");
        QTest::newRow("kana counts") << QStringLiteral("そらふみ日記Ab12xy")
                                     << QStringLiteral("強さ: 強い（12文字、4種類）");
    }
    void StrengthHint()
    {
        QFETCH(QString, password);
        QFETCH(QString, hint);
        QTemporaryDir dir;
        FileDiaryLock lock(dir.filePath(QStringLiteral("DIARY.DAT")));
        ScriptedPrompter prompter;
        LockWindow window(lock, prompter);
        Type(window, "txtNewPassword", password);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblStrength"))->text(), hint);
    }

    void WrongPasswordSaysSoAndTheRightOneOpens()
    {
        LockedDiary locked;
        QVERIFY(locked.ok);
        FileDiaryLock& lock = locked.lock;
        ScriptedPrompter prompter;
        bool ended = false;
        UnlockWindow window(QStringLiteral("空野太郎"), lock, prompter, [&ended] { ended = true; });
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("txtUserName"))->text(), QStringLiteral("空野太郎"));
        Type(window, "txtPassword", QStringLiteral("合言葉"));
        prompter.AnswerMessage(Prompter::Answer::Ok);
        Press(window, "cmdOK");
        QCOMPARE(prompter.MessageTexts(),
                 QStringList(QStringLiteral("パスワードが正しくありません。もう一度入力してください !")));
        QCOMPARE(window.result(), int(QDialog::Rejected));
        Type(window, "txtPassword", Password);
        Press(window, "cmdOK");
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(lock.Opened().IsOpen());
        QVERIFY(!ended);
    }

    void ForgottenPasswordIsReplacedWithTheCode()
    {
        LockedDiary locked;
        QVERIFY(locked.ok);
        FileDiaryLock& lock = locked.lock;
        ScriptedPrompter prompter;
        UnlockWindow window(QStringLiteral("空野太郎"), lock, prompter, [] {});
        const QString newPassword = QStringLiteral("新しい合言葉");
        prompter.AnswerModal(
            FillAndPress({{QStringLiteral("txtRecoveryCode"), RecoveryCode::Grouped(locked.code).toLower()},
                          {QStringLiteral("txtNewPassword"), newPassword},
                          {QStringLiteral("txtConfirmPassword"), newPassword}},
                         QStringLiteral("cmdOK")));
        prompter.AnswerMessage(Prompter::Answer::Ok);
        Press(window, "cmdForgot");
        QCOMPARE(window.result(), int(QDialog::Accepted));
        EncryptedRecordFile reopened;
        QVERIFY(!reopened.Open(lock.EncryptedPath(), newPassword));
    }

    void EncryptedDiaryAsksItsPasswordInTheLoginsPlace()
    {
        TestApp test;
        test.RegisterOwner();
        EncryptedOnPaper lock;
        test.context.diaryLock = &lock;
        QString shown;
        test.prompter.AnswerModal([&shown](QDialog& window) {
            shown = window.objectName();
            Press(window, "cmdCancel");
            return window.result();
        });
        test.prompter.AnswerMessage(Prompter::Answer::Ok);
        QVERIFY(!StartProgram(test.context));
        QCOMPARE(shown, QStringLiteral("frmUnlock"));
        QVERIFY(test.context.Ended());
    }

    void ToolMenuOffersWhatTheDiarysLockAllows()
    {
        TestApp test;
        FileDiaryLock lock(test.DiaryPath());
        test.context.diaryLock = &lock;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(OnePage());
        QVERIFY(form);
        const auto shown = [&form] {
            QStringList names;
            for (const QAction* entry : form->findChild<QMenu*>(QStringLiteral("menuTool"))->actions())
                if (entry->isVisible() && entry->objectName().contains(QStringLiteral("Key")))
                    names << entry->objectName();
            return names;
        };
        QCOMPARE(shown(), QStringList());
        test.prompter.AnswerModal(FillAndPress(
            {{QStringLiteral("txtNewPassword"), Password}, {QStringLiteral("txtConfirmPassword"), Password}},
            QStringLiteral("cmdOK")));
        test.prompter.AnswerModal([](QDialog& window) {
            const QString code = window.findChild<QLabel*>(QStringLiteral("lblCode"))->text();
            const int group = static_cast<RecoveryCodeWindow&>(window).AskedGroup();
            Type(window, "txtCheckGroup", code.section(u'-', group - 1, group - 1));
            Press(window, "cmdOK");
            return window.result();
        });
        form->findChild<QAction*>(QStringLiteral("menuTool_Lock"))->trigger();
        QVERIFY(test.prompter.AllAnswered());
        QVERIFY(lock.IsEncrypted());
        QCOMPARE(shown(), QStringList({QStringLiteral("menuTool_ChangeKey"), QStringLiteral("menuTool_RemoveKey")}));
        QVERIFY(!form->findChild<QAction*>(QStringLiteral("menuTool_Lock"))->isVisible());
    }

    void ExportOfEncryptedDiaryCancelledWritesNothing()
    {
        QTemporaryDir out;
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(OnePage());
        QVERIFY(form);
        EncryptedOnPaper lock;
        ExportWindow window(form->Store(), test.prompter, test.clock);
        window.WarnOfPlainCopies(&lock);
        Type(window, "txtFolder", out.path());
        test.prompter.AnswerMessage(Prompter::Answer::Cancel);
        Press(window, "cmdExport");
        QCOMPARE(test.prompter.LastMessage().text,
                 QStringLiteral("この日記帳には鍵がかかっていますが、書き出すファイルは暗号化されません。\n"
                                "ファイルを読める人には、その中身が読めます。よろしいですか？"));
        QCOMPARE(QDir(out.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
};

SORAFUMI_TEST(LockWindowsTest)
#include "LockWindowsTest.moc"
