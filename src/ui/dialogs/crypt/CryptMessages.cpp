#include "ui/dialogs/crypt/CryptMessages.h"

#include "core/diary/DiaryFiles.h"
#include "core/platform/Prompter.h"

#include <QGuiApplication>
#include <QLineEdit>

void CryptMessages::Warn(Prompter& prompter, const QString& text)
{
    prompter.Message({text, Title(), Prompter::Buttons::Ok, Prompter::Icon::Exclamation, {}});
}

void CryptMessages::Inform(Prompter& prompter, const QString& text)
{
    prompter.Message({text, Prompter::ProgramTitle(), Prompter::Buttons::Ok, Prompter::Icon::Information, {}});
}

void CryptMessages::Report(Prompter& prompter, const CryptResult& result, Secret secret)
{
    const auto fail = [&prompter](const QString& text) {
        prompter.Message({text, DiaryFiles::Title(), Prompter::Buttons::Ok, Prompter::Icon::Critical, {}});
    };
    switch (result.kind) {
    case CryptResult::Done:
    case CryptResult::Told:
        return;
    case CryptResult::WrongSecret:
        Warn(prompter, secret == Secret::Password
                           ? QStringLiteral("パスワードが正しくありません。もう一度入力してください !")
                           : QStringLiteral("回復コードが正しくありません。もう一度入力してください !"));
        return;
    case CryptResult::NotEncrypted:
        fail(QStringLiteral("この日記帳には鍵がかかっていません。"));
        return;
    case CryptResult::NewerVersion:
        fail(QStringLiteral("この日記帳は新しいバージョンの日記帳Sorafumiで鍵をかけられたため、開けません。"));
        return;
    case CryptResult::DamagedHeader:
        fail(QStringLiteral("日記帳の鍵の部分が壊れているため、開けません。\nバックアップから復元してください。"));
        return;
    case CryptResult::NoSecureMemory:
        fail(QStringLiteral("鍵を置くメモリーを確保できませんでした。\n"
                            "ほかのプログラムを終了してから、もう一度お試しください。"));
        return;
    case CryptResult::FileFailed:
        DiaryFiles::ReportFileError(prompter, result.file);
        return;
    }
}

bool CryptMessages::Run(Prompter& prompter, const std::function<CryptResult()>& step, QLineEdit* retry, Secret secret)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const CryptResult result = step();
    QGuiApplication::restoreOverrideCursor();
    if (!result)
        return true;
    Report(prompter, result, secret);
    if (retry) {
        retry->setFocus();
        retry->selectAll();
    }
    return false;
}
