#pragma once

#include "core/sync/PageDigests.h"

#include <optional>
#include <unordered_map>

// The pages of one version by their date and their order among the pages of
// that date: the first page of 2001年5月14日, the second... Two versions of
// a diary name the same page so, wherever it stands in the file.
class DatedPages
{
public:
    struct Key
    {
        PageDigest::Date date{};
        qint32 ordinal = 0;

        bool operator==(const Key& other) const = default;
    };

    explicit DatedPages(const PageDigests& digests);

    const Key& KeyAt(qint32 index) const { return keys_[size_t(index)]; }
    // The index of the page with that key, from 0.
    std::optional<qint32> Find(const Key& key) const;

private:
    struct KeyHash
    {
        size_t operator()(const Key& key) const;
    };

    std::vector<Key> keys_;
    std::unordered_map<Key, qint32, KeyHash> indexes_;
};
