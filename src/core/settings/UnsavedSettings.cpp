#include "core/settings/UnsavedSettings.h"

#include "core/platform/Prompter.h"

namespace {

void Report(Prompter& prompter, const QString& fileName, const QString& consequence)
{
    prompter.Message({QStringLiteral("設定を次のファイルに保存できませんでした。\r") + fileName + u'\r' + consequence +
                          QStringLiteral("\rフォルダーとファイルに書き込めるか確かめてください。"),
                      QStringLiteral("設定の保存"),
                      Prompter::Buttons::Ok,
                      Prompter::Icon::Exclamation,
                      {}});
}

} // namespace

void UnsavedSettings::ReportChange(Prompter& prompter, const QString& fileName)
{
    Report(prompter, fileName,
           QStringLiteral("変更した設定はプログラムを終了するまで使われますが、次回の起動には引き継がれません。"));
}

void UnsavedSettings::ReportShutDown(Prompter& prompter, const QString& fileName)
{
    Report(
        prompter, fileName,
        QStringLiteral("ウィンドウの位置と大きさ、日記のファイル名、フォントサイズは次回の起動に引き継がれません。"));
}
