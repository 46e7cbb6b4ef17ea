#pragma once

#include "core/platform/FileError.h"

#include <QtGlobal>
#include <array>
#include <vector>

class RecordFile;

// What the merge needs of one page: its date field as stored and a hash of
// the whole record.
struct PageDigest
{
    static constexpr int DateLength = 15;
    using Date = std::array<char, DateLength>;

    Date date{};
    quint64 hash = 0;

    bool operator==(const PageDigest& other) const = default;
};

// The digests of every page of a diary, in page order.
using PageDigests = std::vector<PageDigest>;

// Reads a diary once, front to back, a stretch of pages at a time.
class PageDigestReader
{
public:
    // Enough pages per read that the system call costs nothing, few enough
    // that they stay in the processor's cache while they are hashed.
    static constexpr qint32 PagesPerRead = 64;

    static FileError Read(const RecordFile& file, PageDigests& digests);
    static PageDigest Of(const char* record);
};
