#include "ui/dialogs/owner/OwnerMessages.h"

#include "core/platform/Prompter.h"

void OwnerMessages::NoSuchUser(Prompter& prompter)
{
    prompter.Message({QStringLiteral("そのようなユーザーはいません。\r"),
                      QStringLiteral("警告"),
                      Prompter::Buttons::Ok,
                      Prompter::Icon::Critical,
                      {}});
}

void OwnerMessages::NotConfirmed(Prompter& prompter)
{
    prompter.Message({QStringLiteral("ユーザーを確認できなかったので終了します。"),
                      QStringLiteral("警告"),
                      Prompter::Buttons::Ok,
                      Prompter::Icon::Critical,
                      {}});
}
