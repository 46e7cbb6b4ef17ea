#include "core/sync/DatedPages.h"

#include "core/sync/PageHash.h"

DatedPages::DatedPages(const PageDigests& digests)
{
    keys_.reserve(digests.size());
    indexes_.reserve(digests.size());
    // Counting on with the key of the first page of each date: a key with
    // ordinal 0 stands for its date alone.
    std::unordered_map<Key, qint32, KeyHash> pagesOfDate;
    for (const PageDigest& digest : digests) {
        const Key key{digest.date, pagesOfDate[{digest.date, 0}]++};
        indexes_.emplace(key, qint32(keys_.size()));
        keys_.push_back(key);
    }
}

std::optional<qint32> DatedPages::Find(const Key& key) const
{
    const auto found = indexes_.find(key);
    if (found == indexes_.end())
        return std::nullopt;
    return found->second;
}

size_t DatedPages::KeyHash::operator()(const Key& key) const
{
    return size_t(PageHash::Of(key.date.data(), qsizetype(key.date.size()), quint64(key.ordinal)));
}
