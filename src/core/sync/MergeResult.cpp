#include "core/sync/MergeResult.h"

void MergeResult::AddConflict(const MergeConflict& conflict)
{
    places_.push_back({{}, int(conflicts_.size())});
    conflicts_.push_back(conflict);
}

std::vector<PageSource> MergeResult::Resolve(const std::vector<Resolution>& resolutions) const
{
    std::vector<PageSource> pages;
    pages.reserve(places_.size() + conflicts_.size());
    for (const Place& place : places_) {
        if (place.conflict == NoConflict) {
            pages.push_back(place.source);
            continue;
        }
        const auto index = size_t(place.conflict);
        AddResolved(conflicts_[index], index < resolutions.size() ? resolutions[index] : Resolution::KeepBoth, pages);
    }
    return pages;
}

void MergeResult::AddResolved(const MergeConflict& conflict, Resolution resolution, std::vector<PageSource>& pages)
{
    // Keeping a version that has no such page keeps it deleted.
    if (resolution != Resolution::KeepTheirs && conflict.oursPage != 0)
        pages.push_back({PageSource::Ours, conflict.oursPage});
    if (resolution != Resolution::KeepOurs && conflict.theirsPage != 0)
        pages.push_back({PageSource::Theirs, conflict.theirsPage});
}
