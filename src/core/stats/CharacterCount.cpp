#include "core/stats/CharacterCount.h"

#include "core/platform/Cp932.h"

#include <QtEndian>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool IsLeftOut(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
}

// How each pair of bytes counts, worked out once from the decoder itself so
// that counting the stored bytes gives what counting the decoded text gives.
// A character that starts at the first byte of the pair is either the pair
// itself or the first byte read alone.
class CharacterTable
{
public:
    static constexpr quint8 Pair = 1;   // the two bytes make one character
    static constexpr quint8 Counts = 2; // the character that starts here is counted

    static const CharacterTable& Instance()
    {
        static const CharacterTable table;
        return table;
    }

    // Indexed by the two bytes as one little-endian number: one load of two
    // bytes finds the entry.
    quint8 Of(quint16 pair) const { return entries_[pair]; }
    quint8 Of(unsigned char first, unsigned char second) const { return entries_[size_t(second << 8 | first)]; }

private:
    CharacterTable() : entries_(0x10000)
    {
        for (int first = 0; first <= 0xFF; ++first) {
            const char alone = char(first);
            const bool aloneCounts = CharacterCount::OfText(Cp932::Decode(&alone, 1)) > 0;
            for (int second = 0; second <= 0xFF; ++second)
                entries_[size_t(second << 8 | first)] = Entry(first, second, aloneCounts);
        }
    }

    // A lead byte followed by anything but a trail byte of its own decodes
    // alone, and the next byte starts a character.
    static quint8 Entry(int first, int second, bool aloneCounts)
    {
        const quint8 alone = aloneCounts ? Counts : 0;
        if (!Cp932::IsLeadByte(static_cast<unsigned char>(first)))
            return alone;
        const char pair[2] = {char(first), char(second)};
        const QString decoded = Cp932::Decode(pair, 2);
        if (decoded.size() != 1 || decoded[0] == u'\uFFFD')
            return alone;
        return Pair | (IsLeftOut(decoded[0].unicode()) ? 0 : Counts);
    }

    std::vector<quint8> entries_;
};

// Whether a byte is the second of a pair depends only on the byte before it,
// so the loop carries a single bit from byte to byte and the table look-ups
// do not wait on it. Four bytes a round: the loop's own work is a good part
// of the time.
qint64 CountPairs(const unsigned char* bytes, int length)
{
    if (length <= 0)
        return 0;
    const CharacterTable& table = CharacterTable::Instance();
    qint64 count = 0;
    unsigned starts = 1; // 0 when this byte is the second of a pair
    const auto step = [&](int i) {
        const unsigned entry = table.Of(qFromLittleEndian<quint16>(bytes + i));
        count += starts & (entry >> 1);
        starts = (starts & entry) ^ 1;
    };
    int i = 0;
    for (; i + 4 < length; i += 4) {
        step(i);
        step(i + 1);
        step(i + 2);
        step(i + 3);
    }
    for (; i + 1 < length; ++i)
        step(i);
    // After the last byte comes padding or nothing: a lead byte there stands alone.
    return count + (starts & (table.Of(bytes[length - 1], ' ') >> 1));
}

// The text without the padding after it, which counts nothing and is most of
// a body: skipped 64 bytes at a time.
int WithoutPadding(const char* bytes, int length)
{
#if defined(__SSE2__)
    const __m128i spaces = _mm_set1_epi8(' ');
    const auto allSpaces = [&](const char* at) {
        return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), spaces);
    };
    while (length >= 64) {
        const char* at = bytes + length - 64;
        const __m128i same = _mm_and_si128(_mm_and_si128(allSpaces(at), allSpaces(at + 16)),
                                           _mm_and_si128(allSpaces(at + 32), allSpaces(at + 48)));
        if (_mm_movemask_epi8(same) != 0xFFFF)
            break;
        length -= 64;
    }
#else
    constexpr quint64 Spaces = 0x2020202020202020ull;
    quint64 word = 0;
    while (length >= 8 && (std::memcpy(&word, bytes + length - 8, 8), word == Spaces))
        length -= 8;
#endif
    while (length > 0 && bytes[length - 1] == ' ')
        --length;
    return length;
}

} // namespace

qint64 CharacterCount::OfText(const QString& text)
{
    qint64 count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character outside the basic plane is two units: count it once.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (IsLeftOut(c.unicode()))
            continue;
        ++count;
    }
    return count;
}

qint64 CharacterCount::OfBytes(const char* bytes, int length)
{
    return CountPairs(reinterpret_cast<const unsigned char*>(bytes), WithoutPadding(bytes, length));
}
