#pragma once

#include "core/sync/MergeResult.h"
#include "core/sync/PageDigests.h"

// Merges two versions of one diary page by page. A page both versions hold
// alike is settled wherever it stands; the others are matched by their date
// field as stored, then by their order among the unsettled pages of that date.
// With a base (the diary as this program last left it), a page changed on
// one side only takes that side, a page deleted on one side and unchanged
// on the other goes, and a page added on one side comes in; what both sides
// changed their own way, or one deleted and the other changed, is a
// conflict. Without a base nothing says which side changed a page, so every
// page that differs is a conflict: the newer file never simply wins.
//
// A page the other side lacks is taken as deleted there only when ours is
// still the base: once both have changed, their version may simply never
// have had it (a page another merge brought in). A conflict copy is an older
// version of the diary: it deletes nothing, a page of it found in the base is
// old, and a page of it that differs from ours at its place is asked about.
//
// The merged diary keeps our pages in our order; pages only the other side
// has follow at the end in its order, as the program appends a new page.
class PageMerge
{
public:
    static MergeResult Merge(const PageDigests& ours, const PageDigests& theirs, const PageDigests* base,
                             bool theirsIsCopy = false);
};
