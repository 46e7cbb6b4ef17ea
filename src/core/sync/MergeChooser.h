#pragma once

#include "core/diary/DiaryPage.h"
#include "core/sync/MergeResult.h"

#include <QString>
#include <optional>
#include <vector>

// One conflict as the user weighs it: the page as this computer has it and as
// the other version has it. A side without a page deleted it (or never had it).
struct ConflictPages
{
    std::optional<DiaryPage> ours;
    std::optional<DiaryPage> theirs;
};

// What a merge asks of the user: where the other version came from, what the
// merge does by itself, and the pages it cannot settle alone.
struct MergeQuestion
{
    QString theirsName;     // the synced file, or the sync tool's conflict copy
    int pagesTaken = 0;     // pages the other version brings, changed or new
    int pagesKept = 0;      // pages only this computer changed or added
    std::vector<ConflictPages> conflicts;
    QString oursName; // what this computer's side is; empty: its version of the diary
    QString heading;  // what the window says first; empty: that both computers changed pages
};

// The store reaches the merge window through this, as it reaches message boxes
// through Prompter: one choice per conflict, in the question's order, or
// nothing when the user puts the merge off (nothing is written then).
class MergeChooser
{
public:
    virtual ~MergeChooser() = default;
    virtual std::optional<std::vector<Resolution>> Choose(const MergeQuestion& question) = 0;
};
