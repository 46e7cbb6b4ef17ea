#include "ui/dialogs/crypt/PlainCopyWarning.h"

#include "core/crypt/DiaryLock.h"
#include "core/platform/Prompter.h"

bool PlainCopyWarning::Confirm(Prompter& prompter, const DiaryLock* lock, const QString& title)
{
    if (!lock || !lock->IsEncrypted())
        return true;
    return prompter.Message({QStringLiteral("この日記帳には鍵がかかっていますが、書き出すファイルは暗号化されません。\n"
                                            "ファイルを読める人には、その中身が読めます。よろしいですか？"),
                             title, Prompter::Buttons::OkCancel, Prompter::Icon::Exclamation,
                             Prompter::Answer::Cancel}) == Prompter::Answer::Ok;
}
