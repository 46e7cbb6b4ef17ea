#include "ui/dialogs/crypt/LockCommands.h"

#include "core/crypt/DiaryLock.h"
#include "core/platform/Prompter.h"
#include "ui/dialogs/crypt/ChangeKeyWindow.h"
#include "ui/dialogs/crypt/CryptMessages.h"
#include "ui/dialogs/crypt/LockWindow.h"
#include "ui/dialogs/crypt/RecoveryCodeWindow.h"
#include "ui/dialogs/crypt/RemoveKeyWindow.h"

#include <QDir>

LockCommands::LockCommands(DiaryLock& lock, Prompter& prompter, QWidget* parent)
    : lock_(lock), prompter_(prompter), parent_(parent)
{
}

bool LockCommands::LockDiary()
{
    LockWindow window(lock_, prompter_, parent_);
    if (prompter_.ShowModal(window) != QDialog::Accepted)
        return false;
    RecoveryCodeWindow code(window.RecoveryCodeText(), prompter_, 0, parent_);
    prompter_.ShowModal(code);
    OfferToEncryptBackups(window.Password());
    return true;
}

void LockCommands::OfferToEncryptBackups(const QString& password)
{
    const QStringList backups = lock_.PlainBackups();
    if (backups.isEmpty())
        return;
    const Prompter::Answer answer = prompter_.Message(
        {QStringLiteral("鍵をかける前に作られたバックアップ %1 個には、日記が暗号化されずに入っています。\n"
                        "鍵をかけたコピーに置き換えますか？")
             .arg(backups.size()),
         CryptMessages::Title(), Prompter::Buttons::YesNo, Prompter::Icon::Question, Prompter::Answer::Yes});
    if (answer == Prompter::Answer::Yes) {
        if (CryptMessages::Run(
                prompter_, [&] { return lock_.EncryptPlainBackups(password); }, nullptr))
            return;
    }
    // Whatever was not replaced is named, so the user can remove it by hand.
    const QStringList left = lock_.PlainBackups();
    if (left.isEmpty())
        return;
    QStringList names;
    for (const QString& path : left)
        names << QDir::toNativeSeparators(path);
    CryptMessages::Inform(prompter_, QStringLiteral("次のバックアップ %1 個は暗号化されないまま残ります。"
                                                    "これらのファイルを読める人には、日記が読めます。\n\n%2")
                                         .arg(left.size())
                                         .arg(names.join(u'\n')));
}

bool LockCommands::ChangePassword()
{
    ChangeKeyWindow window(lock_, prompter_, parent_);
    if (prompter_.ShowModal(window) != QDialog::Accepted)
        return false;
    CryptMessages::Inform(prompter_, QStringLiteral("鍵のパスワードを変えました。"));
    return true;
}

bool LockCommands::RemoveLock()
{
    const Prompter::Answer answer = prompter_.Message(
        {QStringLiteral("鍵を外すと、日記帳は暗号化されない元の形に戻り、"
                        "このファイルを読める人には誰にでも読めるようになります。\n鍵を外しますか？"),
         CryptMessages::Title(), Prompter::Buttons::YesNo, Prompter::Icon::Question, Prompter::Answer::No});
    if (answer != Prompter::Answer::Yes)
        return false;
    RemoveKeyWindow window(lock_, prompter_, parent_);
    return prompter_.ShowModal(window) == QDialog::Accepted;
}
