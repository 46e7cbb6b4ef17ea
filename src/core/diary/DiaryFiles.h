#pragma once

#include "core/platform/FileError.h"
#include "core/platform/RecordFile.h"

#include <QString>

class Prompter;
class RecordFile;

// Opening diary files with their checks and confirmations, and the program's
// file error messages.
class DiaryFiles
{
public:
    // What the caller of a failed step is to do.
    enum Action : short { Retry = 0, Ignore = 1, GiveUp = 2, Unknown = 3 };

    static QString Title() { return QStringLiteral("ﾌｧｲﾙ ｴﾗｰ"); }

    // Shows the message for the error and returns what to do. An error
    // without a code of its own is shown with its reason.
    static Action ReportFileError(Prompter& prompter, const FileError& error);

    // Opens the diary's record file: checks the name, asks before making a
    // new file when confirm is set, and claims the file for this copy of the
    // program. False when nothing was opened; openElsewhere tells whether that
    // was because another copy holds the file, which the user has been told.
    static bool OpenDiaryFile(Prompter& prompter, const QString& name, bool confirm, RecordFile& file,
                              bool* openElsewhere = nullptr,
                              RecordFile::IfMissing ifMissing = RecordFile::IfMissing::Create);

    // Asks for a file name; the answer without surrounding spaces. A file that
    // exists under the name as typed is taken as typed; otherwise its file
    // name (not its folders) goes into capitals. Empty when cancelled.
    static QString AskFileName(Prompter& prompter, const QString& prompt);
    static QString ExistingOrUpperCase(const QString& typed);

    // The name contains ; < = > ? [ * ] or a space.
    static bool HasForbiddenCharacter(const QString& name);
    // Capitals for the file name only: folders on a case-sensitive system
    // keep their names.
    static QString UpperCaseFileName(const QString& path);
    // The file is held by another copy of the program.
    static bool IsOpenElsewhere(const FileError& error);
    static void ReportOpenElsewhere(Prompter& prompter, const QString& name);
    // Names a journal beside the diary that is not the user's own, which was
    // left alone and not applied; says nothing when there is none.
    static void ReportForeignJournal(Prompter& prompter, const QString& diaryPath);
    // Closes an encrypted diary opened without its key (OtherKey).
    static FileError RefuseEncryptedAsPlain(RecordFile& file);
    // The reason behind an error of the system, in a few words.
    static QString Reason(int systemError);
};
