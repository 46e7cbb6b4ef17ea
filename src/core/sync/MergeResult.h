#pragma once

#include "core/sync/PageDigests.h"

#include <vector>

// Where a page of the merged diary comes from: its bytes are copied from
// that version, untouched.
struct PageSource
{
    enum Side : quint8 { Ours, Theirs };

    Side side = Ours;
    qint32 page = 0; // from 1, in that version

    bool operator==(const PageSource& other) const = default;
};

// A page the two versions changed apart, each its own way, or one deleted
// and the other changed. A page number of 0 says that version has no such
// page (deleted there, or never written).
struct MergeConflict
{
    PageDigest::Date date{};
    qint32 oursPage = 0;
    qint32 theirsPage = 0;
};

// The user's choice for one conflict. Both kept are two pages of that day,
// ours first.
enum class Resolution { KeepOurs, KeepTheirs, KeepBoth };

// The merged diary: its pages in order, some of them conflicts that wait for
// the user's choice.
class MergeResult
{
public:
    const std::vector<MergeConflict>& Conflicts() const { return conflicts_; }
    // The merged diary's pages, each conflict resolved by its entry in
    // `resolutions` (by the conflict's index). A conflict without one keeps
    // both, so that nothing is lost by a choice left unmade.
    std::vector<PageSource> Resolve(const std::vector<Resolution>& resolutions = {}) const;

    void AddPage(PageSource source) { places_.push_back({source, NoConflict}); }
    void AddConflict(const MergeConflict& conflict);

private:
    static constexpr int NoConflict = -1;
    struct Place
    {
        PageSource source;
        int conflict = NoConflict;
    };
    static void AddResolved(const MergeConflict& conflict, Resolution resolution, std::vector<PageSource>& pages);

    std::vector<Place> places_;
    std::vector<MergeConflict> conflicts_;
};
