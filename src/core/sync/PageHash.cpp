#include "core/sync/PageHash.h"

#include <QtEndian>
#include <cstring>

namespace {

constexpr quint64 Prime1 = 11400714785074694791ULL;
constexpr quint64 Prime2 = 14029467366897019727ULL;
constexpr quint64 Prime3 = 1609587929392839161ULL;
constexpr quint64 Prime4 = 9650029242287828579ULL;
constexpr quint64 Prime5 = 2870177450012600261ULL;

quint64 RotateLeft(quint64 value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

// Little-endian reads, so that the values are the same on every machine.
quint64 Read64(const char* at)
{
    quint64 value;
    std::memcpy(&value, at, sizeof value);
    return qFromLittleEndian(value);
}

quint64 Read32(const char* at)
{
    quint32 value;
    std::memcpy(&value, at, sizeof value);
    return qFromLittleEndian(value);
}

quint64 Round(quint64 accumulator, quint64 input)
{
    accumulator += input * Prime2;
    return RotateLeft(accumulator, 31) * Prime1;
}

quint64 MergeRound(quint64 hash, quint64 accumulator)
{
    hash ^= Round(0, accumulator);
    return hash * Prime1 + Prime4;
}

// Four lanes over 32-byte stripes: the bulk of a 10090-byte record.
quint64 Stripes(const char*& at, const char* end, quint64 seed)
{
    quint64 lanes[4] = {seed + Prime1 + Prime2, seed + Prime2, seed, seed - Prime1};
    for (; end - at >= 32; at += 32)
        for (int lane = 0; lane < 4; ++lane)
            lanes[lane] = Round(lanes[lane], Read64(at + 8 * lane));
    quint64 hash =
        RotateLeft(lanes[0], 1) + RotateLeft(lanes[1], 7) + RotateLeft(lanes[2], 12) + RotateLeft(lanes[3], 18);
    for (const quint64 lane : lanes)
        hash = MergeRound(hash, lane);
    return hash;
}

} // namespace

quint64 PageHash::Of(const char* bytes, qsizetype length, quint64 seed)
{
    const char* at = bytes;
    const char* end = bytes + length;
    quint64 hash = length >= 32 ? Stripes(at, end, seed) : seed + Prime5;
    hash += quint64(length);
    for (; end - at >= 8; at += 8)
        hash = RotateLeft(hash ^ Round(0, Read64(at)), 27) * Prime1 + Prime4;
    if (end - at >= 4) {
        hash = RotateLeft(hash ^ (Read32(at) * Prime1), 23) * Prime2 + Prime3;
        at += 4;
    }
    for (; at < end; ++at)
        hash = RotateLeft(hash ^ (quint64(quint8(*at)) * Prime5), 11) * Prime1;
    hash ^= hash >> 33;
    hash *= Prime2;
    hash ^= hash >> 29;
    hash *= Prime3;
    return hash ^ (hash >> 32);
}
