#pragma once

#include <QtGlobal>

// A fast 64-bit hash of a page record (the XXH64 function), to tell whether
// a page changed since the diary was last read without keeping its bytes.
// Its values are stored in the merge base, so they never change between
// runs, versions or machines.
class PageHash
{
public:
    static quint64 Of(const char* bytes, qsizetype length, quint64 seed = 0);
};
