#include "core/sync/PageMerge.h"

#include "core/sync/DatedPages.h"

#include <optional>

namespace {

using Hash = std::optional<quint64>;

enum class Take { Ours, Theirs, Conflict };

// The merge table, on the hashes of one page in each version (none where a
// version has no such page).
Take Decide(Hash ours, Hash theirs, bool withBase, Hash base)
{
    if (ours == theirs)
        return Take::Ours;
    if (!withBase)
        return Take::Conflict;
    if (ours == base)
        return Take::Theirs;
    if (theirs == base)
        return Take::Ours;
    return Take::Conflict;
}

Hash HashAt(const PageDigests& digests, std::optional<qint32> index)
{
    return index ? Hash(digests[size_t(*index)].hash) : std::nullopt;
}

// Adds what the table decided for one page; page numbers from 1, 0 for none.
void Place(MergeResult& result, Take take, const PageDigest::Date& date, qint32 oursPage, qint32 theirsPage)
{
    if (take == Take::Conflict)
        result.AddConflict({date, oursPage, theirsPage});
    else if (take == Take::Ours && oursPage != 0)
        result.AddPage({PageSource::Ours, oursPage});
    else if (take == Take::Theirs && theirsPage != 0)
        result.AddPage({PageSource::Theirs, theirsPage});
}

} // namespace

MergeResult PageMerge::Merge(const PageDigests& ours, const PageDigests& theirs, const PageDigests* base)
{
    const DatedPages theirPlaces(theirs);
    const DatedPages basePlaces(base ? *base : PageDigests());
    const auto baseHash = [&](const DatedPages::Key& key) {
        return base ? HashAt(*base, basePlaces.Find(key)) : std::nullopt;
    };
    MergeResult result;
    std::vector<bool> matched(theirs.size(), false);
    const DatedPages ourPlaces(ours);
    for (qint32 index = 0; index < qint32(ours.size()); ++index) {
        const DatedPages::Key& key = ourPlaces.KeyAt(index);
        const std::optional<qint32> their = theirPlaces.Find(key);
        if (their)
            matched[size_t(*their)] = true;
        const Take take = Decide(ours[size_t(index)].hash, HashAt(theirs, their), base, baseHash(key));
        Place(result, take, key.date, index + 1, their ? *their + 1 : 0);
    }
    for (qint32 index = 0; index < qint32(theirs.size()); ++index) {
        if (matched[size_t(index)])
            continue;
        const DatedPages::Key& key = theirPlaces.KeyAt(index);
        Place(result, Decide(std::nullopt, theirs[size_t(index)].hash, base, baseHash(key)), key.date, 0, index + 1);
    }
    return result;
}
