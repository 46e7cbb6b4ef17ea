#include "core/sync/PageMerge.h"

#include "core/sync/DatedPages.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>

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

// A conflict copy is an older version of the diary: the state this program
// last left is none it shares, only one it may be older than. A page of the
// copy this program had (known) is old; one it never had is new there, and
// asked about when ours differs at that place.
Take DecideCopy(Hash ours, Hash theirs, bool known)
{
    if (ours == theirs || !theirs || known)
        return Take::Ours;
    return ours ? Take::Conflict : Take::Theirs;
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

// The pages of a version not settled by a page alike in the other, with
// where each stands in the whole version.
struct Unsettled
{
    PageDigests digests;
    std::vector<qint32> indexes;

    void Add(const PageDigest& digest, qint32 index)
    {
        digests.push_back(digest);
        indexes.push_back(index);
    }
};

// Pairs the pages both versions hold alike, each page once; true at the
// index of every page of `ours` so paired.
std::vector<bool> PairAlike(const PageDigests& ours, const PageDigests& theirs, std::vector<bool>& theirsPaired)
{
    std::unordered_multimap<quint64, qint32> theirsByHash;
    for (qint32 index = 0; index < qint32(theirs.size()); ++index)
        theirsByHash.emplace(theirs[size_t(index)].hash, index);
    std::vector<bool> paired(ours.size(), false);
    theirsPaired.assign(theirs.size(), false);
    for (qint32 index = 0; index < qint32(ours.size()); ++index) {
        const auto found = theirsByHash.find(ours[size_t(index)].hash);
        if (found == theirsByHash.end())
            continue;
        paired[size_t(index)] = true;
        theirsPaired[size_t(found->second)] = true;
        theirsByHash.erase(found);
    }
    return paired;
}

Unsettled Remaining(const PageDigests& digests, const std::vector<bool>& paired)
{
    Unsettled rest;
    for (qint32 index = 0; index < qint32(digests.size()); ++index)
        if (!paired[size_t(index)])
            rest.Add(digests[size_t(index)], index);
    return rest;
}

// The base without the pages both versions still hold alike.
PageDigests BaseRemaining(const PageDigests& base, const PageDigests& ours, const std::vector<bool>& paired)
{
    std::unordered_multiset<quint64> settled;
    for (size_t index = 0; index < ours.size(); ++index)
        if (paired[index])
            settled.insert(ours[index].hash);
    PageDigests rest;
    for (const PageDigest& digest : base) {
        const auto found = settled.find(digest.hash);
        if (found == settled.end())
            rest.push_back(digest);
        else
            settled.erase(found);
    }
    return rest;
}

} // namespace

MergeResult PageMerge::Merge(const PageDigests& ours, const PageDigests& theirs, const PageDigests* base,
                             bool theirsIsCopy)
{
    std::vector<bool> theirsPaired;
    const std::vector<bool> oursPaired = PairAlike(ours, theirs, theirsPaired);
    const Unsettled ourRest = Remaining(ours, oursPaired);
    const Unsettled theirRest = Remaining(theirs, theirsPaired);
    const PageDigests baseRest = base ? BaseRemaining(*base, ours, oursPaired) : PageDigests();
    const bool keepWhatTheyLack = theirsIsCopy || (base && ours != *base);

    const DatedPages ourPlaces(ourRest.digests);
    const DatedPages theirPlaces(theirRest.digests);
    const DatedPages basePlaces(baseRest);
    const auto baseHash = [&](const DatedPages::Key& key) {
        return base ? HashAt(baseRest, basePlaces.Find(key)) : std::nullopt;
    };
    std::unordered_set<quint64> known;
    if (base && theirsIsCopy)
        for (const PageDigest& digest : *base)
            known.insert(digest.hash);
    const auto decide = [&](Hash our, Hash their, const DatedPages::Key& key) {
        if (theirsIsCopy)
            return DecideCopy(our, their, their && known.contains(*their));
        if (!their && keepWhatTheyLack)
            return Take::Ours;
        return Decide(our, their, base, baseHash(key));
    };
    MergeResult result;
    std::vector<bool> matched(theirRest.digests.size(), false);
    qint32 rest = 0;
    for (qint32 index = 0; index < qint32(ours.size()); ++index) {
        if (oursPaired[size_t(index)]) {
            result.AddPage({PageSource::Ours, index + 1});
            continue;
        }
        const DatedPages::Key& key = ourPlaces.KeyAt(rest++);
        const std::optional<qint32> their = theirPlaces.Find(key);
        if (their)
            matched[size_t(*their)] = true;
        const Take take = decide(ours[size_t(index)].hash, HashAt(theirRest.digests, their), key);
        Place(result, take, key.date, index + 1, their ? theirRest.indexes[size_t(*their)] + 1 : 0);
    }
    for (qint32 index = 0; index < qint32(theirRest.digests.size()); ++index) {
        if (matched[size_t(index)])
            continue;
        const DatedPages::Key& key = theirPlaces.KeyAt(index);
        Place(result, decide(std::nullopt, theirRest.digests[size_t(index)].hash, key), key.date, 0,
              theirRest.indexes[size_t(index)] + 1);
    }
    return result;
}
