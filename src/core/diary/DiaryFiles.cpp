#include "core/diary/DiaryFiles.h"

#include "core/crypt/CryptHeader.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/FullTransfer.h"
#include "core/platform/PageJournal.h"
#include "core/platform/Prompter.h"
#include "core/platform/RecordFile.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace {

struct Known
{
    FileError::Code code;
    const char* message;
    Prompter::Buttons buttons;
};

const Known KnownErrors[] = {
    {FileError::BadFileNameOrNumber, "ﾌｧｲﾙ名が正しくありません。", Prompter::Buttons::Ok},
    {FileError::BadFileMode, "このｱｸｾｽ ﾓｰﾄﾞではﾌｧｲﾙを開けません。", Prompter::Buttons::Ok},
    {FileError::FileAlreadyOpen, "ﾌｧｲﾙは既に開いています。", Prompter::Buttons::Ok},
    {FileError::DeviceIO, "ﾃﾞｨｽｸがいっぱいです。", Prompter::Buttons::Ok},
    {FileError::InputPastEnd,
     "このﾌｧｲﾙの EOF 記号が標準と異なります。または EOF 記号を越えてﾃﾞｰﾀを読み込もうとしました。",
     Prompter::Buttons::Ok},
    {FileError::BadFileName, "ﾌｧｲﾙ名が正しくありません。", Prompter::Buttons::Ok},
    {FileError::DeviceUnavailable, "ﾃﾞﾊﾞｲｽが準備されていません。", Prompter::Buttons::RetryCancel},
    {FileError::DiskNotReady, "ﾃﾞｨｽｸが準備されていません。", Prompter::Buttons::Ok},
    {FileError::PathNotFound, "指定されたﾊﾟｽが存在しません。", Prompter::Buttons::Ok},
    {FileError::DamagedPage, "ﾍﾟｰｼﾞが壊れているため読めません。", Prompter::Buttons::Ok},
    {FileError::OtherKey, "この日記帳の鍵では開けないﾌｧｲﾙです。", Prompter::Buttons::Ok},
};

const Known* Find(FileError::Code code)
{
    for (const Known& known : KnownErrors)
        if (known.code == code)
            return &known;
    return nullptr;
}

QString FileName(const QString& path)
{
    const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

} // namespace

QString DiaryFiles::Reason(int systemError)
{
    switch (systemError) {
    case EACCES:
    case EPERM:
        return QStringLiteral("ｱｸｾｽが拒否されました。");
    case EROFS:
        return QStringLiteral("読み取り専用のﾃﾞｨｽｸには書き込めません。");
    case EISDIR:
        return QStringLiteral("ﾌｫﾙﾀﾞが指定されています。");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ﾃﾞｨｽｸがいっぱいです。");
    case EIO:
        return QStringLiteral("ﾃﾞｨｽｸの読み書きに失敗しました。");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているﾌｧｲﾙが多すぎます。");
    default:
        return QStringLiteral("ｴﾗｰ番号 %1：%2")
            .arg(systemError)
            .arg(QString::fromLocal8Bit(std::strerror(systemError)));
    }
}

DiaryFiles::Action DiaryFiles::ReportFileError(Prompter& prompter, const FileError& error)
{
    if (const Known* known = Find(error.code)) {
        const Prompter::Answer answer = prompter.Message(
            {QString::fromUtf8(known->message), Title(), known->buttons, Prompter::Icon::Exclamation, {}});
        return answer == Prompter::Answer::Retry ? Retry : GiveUp;
    }
    if (error.systemError == 0)
        return Unknown;
    // Never silent: a failure the codes do not cover still names its reason.
    prompter.Message({QStringLiteral("ﾌｧｲﾙにｱｸｾｽできません。\r") + Reason(error.systemError),
                      Title(),
                      Prompter::Buttons::Ok,
                      Prompter::Icon::Exclamation,
                      {}});
    return GiveUp;
}

bool DiaryFiles::HasForbiddenCharacter(const QString& name)
{
    for (const QChar c : name)
        if ((c >= u';' && c <= u'?') || c == u'[' || c == u'*' || c == u' ' || c == u']')
            return true;
    return false;
}

QString DiaryFiles::UpperCaseFileName(const QString& path)
{
    const QString name = FileName(path);
    return path.left(path.size() - name.size()) + name.toUpper();
}

QString DiaryFiles::AskFileName(Prompter& prompter, const QString& prompt)
{
    const std::optional<QString> answer = prompter.Input(prompt, QStringLiteral("ファイル名の入力"), QString());
    if (!answer)
        return {};
    return ExistingOrUpperCase(answer->trimmed());
}

QString DiaryFiles::ExistingOrUpperCase(const QString& typed)
{
    // A diary brought from Windows keeps the case it was saved with, and a
    // case-sensitive file system finds it only under that name.
    if (typed.isEmpty() || QFileInfo(typed).isFile())
        return typed;
    return UpperCaseFileName(typed);
}

bool DiaryFiles::OpenDiaryFile(Prompter& prompter, const QString& name, bool confirm, RecordFile& file,
                               bool* openElsewhere, RecordFile::IfMissing ifMissing)
{
    if (openElsewhere)
        *openElsewhere = false;
    if (HasForbiddenCharacter(name)) {
        ReportFileError(prompter, {FileError::BadFileName, 0});
        return false;
    }
    if (confirm && !QFileInfo(name).isFile()) {
        const Prompter::Answer answer = prompter.Message(
            {name + QStringLiteral("という名前でファイルを作成します。\rこの名前でファイルを作成しますか？"),
             QStringLiteral("ファイル名確認"),
             Prompter::Buttons::OkCancel,
             Prompter::Icon::Information,
             {}});
        if (answer != Prompter::Answer::Ok)
            return false;
    }
    // Retry tries the open again; the user has already agreed to the name.
    for (;;) {
        FileError error = file.Open(name, DiaryPage::RecordLength, ifMissing);
        if (!error)
            error = RefuseEncryptedAsPlain(file);
        if (!error)
            error = file.Lock();
        if (IsOpenElsewhere(error)) {
            // Two copies writing one diary would each put pages where the
            // other does: this one leaves it alone, journal and all.
            file.Close();
            ReportOpenElsewhere(prompter, name);
            if (openElsewhere)
                *openElsewhere = true;
            return false;
        }
        // A page write a crash interrupted is undone as the diary opens.
        if (!error)
            error = PageJournal::Recover(file);
        if (!error) {
            ReportForeignJournal(prompter, file.Path());
            return true;
        }
        if (ReportFileError(prompter, error) != Retry)
            return false;
    }
}

FileError DiaryFiles::RefuseEncryptedAsPlain(RecordFile& file)
{
    if (file.IsSealed())
        return {};
    // Written as plain records, an encrypted diary would lose the page
    // written and hold it unencrypted besides. Its start is read through the
    // file already open: the name may name another file by now.
    const QByteArray magic = CryptHeader::Magic();
    if (file.Length() < magic.size())
        return {};
    QByteArray start(magic.size(), Qt::Uninitialized);
    FileError error = ReadFully(file.Descriptor(), start.data(), start.size(), 0);
    if (!error && start == magic)
        error = {FileError::OtherKey, EBADMSG};
    if (error)
        file.Close();
    return error;
}

void DiaryFiles::ReportForeignJournal(Prompter& prompter, const QString& diaryPath)
{
    const QString journal = PageJournal::ForeignBeside(diaryPath);
    if (journal.isEmpty())
        return;
    prompter.Message({QDir::toNativeSeparators(journal) +
                          QStringLiteral("\rこのｼﾞｬｰﾅﾙは自分のﾌｧｲﾙではないため、日記に適用しませんでした。"
                                         "日記はそのままです。"),
                      Title(),
                      Prompter::Buttons::Ok,
                      Prompter::Icon::Exclamation,
                      {}});
}

bool DiaryFiles::IsOpenElsewhere(const FileError& error)
{
    return error.code == FileError::FileAlreadyOpen && error.systemError == EWOULDBLOCK;
}

void DiaryFiles::ReportOpenElsewhere(Prompter& prompter, const QString& name)
{
    prompter.Message({name + QStringLiteral("は別のウィンドウで開かれています。\r"
                                            "同じ日記を二つのウィンドウで書くとページが失われるため、"
                                            "こちらは終了します。"),
                      Prompter::ProgramTitle(),
                      Prompter::Buttons::Ok,
                      Prompter::Icon::Information,
                      {}});
}
