#pragma once

#include "core/platform/FileError.h"

#include <QString>

class Prompter;

// What the user is told when a copy of the diary cannot be made.
class BackupMessages
{
public:
    // Tells the user that no copy was made, why, and that the diary is saved.
    static void ReportFailure(Prompter& prompter, const FileError& error, const QString& folder);
    // Tells the user that the diary could not be kept before a restore, and
    // that it was left as it is.
    static void ReportRestoreRefused(Prompter& prompter, const FileError& error, const QString& folder);
    // A merge of two versions is not written without a copy of each.
    static void ReportMergeRefused(Prompter& prompter, const FileError& error, const QString& folder);
};
