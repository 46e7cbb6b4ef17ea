#include "core/search/Cp932Fold.h"

#include "core/platform/Cp932.h"
#include "core/search/JapaneseFold.h"

#include <algorithm>
#include <cstring>

const Cp932Fold& Cp932Fold::Table()
{
    static const Cp932Fold table;
    return table;
}

Cp932Fold::Cp932Fold() : singles_(0x100), pairs_(0x10000), markedSingles_(0x10000)
{
    std::vector<int> marks;
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const char single = char(byte);
        Entry& entry = singles_[size_t(byte)];
        entry = Put(&single, 1);
        if (Cp932::IsLeadByte(static_cast<unsigned char>(byte)))
            entry.flags |= Lead;
        if (entry.flags & Joins)
            marks.push_back(byte);
        mostPerByte_ = std::max(mostPerByte_, int(entry.length));
    }
    char pair[2];
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!Cp932::IsLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0; trail <= 0xFF; ++trail) {
            pair[0] = char(lead);
            pair[1] = char(trail);
            const QString decoded = Cp932::Decode(pair, 2);
            // Anything else is the lead byte alone, and the trail starts the
            // next character.
            if (decoded.size() != 1 || decoded[0] == u'\uFFFD')
                continue;
            Entry& entry = pairs_[size_t(lead << 8 | trail)];
            entry = Put(pair, 2);
            entry.flags |= Valid;
            pairsJoin_ = pairsJoin_ || (entry.flags & Joins);
            mostPerByte_ = std::max(mostPerByte_, (entry.length + 1) / 2);
        }
    }
    // Half-width kana with their voiced marks are common enough to be worked
    // out beforehand too.
    for (int base = 0; base <= 0xFF; ++base) {
        for (const int mark : marks) {
            if (Cp932::IsLeadByte(static_cast<unsigned char>(base)))
                continue;
            pair[0] = char(base);
            pair[1] = char(mark);
            Entry& entry = markedSingles_[size_t(base << 8 | mark)];
            entry = Put(pair, 2);
            mostPerByte_ = std::max(mostPerByte_, (entry.length + 1) / 2);
        }
    }
}

Cp932Fold::Entry Cp932Fold::Put(const char* bytes, int length)
{
    const QString decoded = Cp932::Decode(bytes, length);
    const QString folded = JapaneseFold::Fold(decoded);
    Entry entry;
    entry.length = quint8(folded.size());
    entry.flags = !decoded.isEmpty() && JapaneseFold::JoinsPrevious(decoded.at(0).unicode()) ? Joins : 0;
    if (folded.size() == 1) {
        entry.value = folded[0].unicode();
    } else {
        // The code page has far fewer characters than a 16-bit offset reaches.
        entry.value = char16_t(pool_.size());
        pool_.append(reinterpret_cast<const char16_t*>(folded.constData()), size_t(folded.size()));
        Q_ASSERT(pool_.size() <= 0xFFFF);
    }
    return entry;
}

inline Cp932Fold::Entry Cp932Fold::At(const unsigned char* bytes, int at, int length, int& width) const
{
    const Entry single = singles_[bytes[at]];
    if ((single.flags & Lead) && at + 1 < length) {
        const Entry pair = pairs_[size_t(bytes[at] << 8 | bytes[at + 1])];
        if (pair.flags & Valid) {
            width = 2;
            return pair;
        }
    }
    width = 1;
    return single;
}

inline bool Cp932Fold::JoinsAt(const unsigned char* bytes, int at, int length) const
{
    if (!pairsJoin_)
        return singles_[bytes[at]].flags & Joins;
    int width = 0;
    return At(bytes, at, length, width).flags & Joins;
}

QString Cp932Fold::FoldCluster(const char* text, int at, int length, int& end) const
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int width = 0;
    const Entry base = At(bytes, at, length, width);
    end = at + width;
    int joined = 0;
    while (end < length && JoinsAt(bytes, end, length)) {
        At(bytes, end, length, width);
        end += width;
        ++joined;
    }
    if (joined == 1 && end - at == 2 && !(base.flags & Lead)) {
        const Entry marked = markedSingles_[size_t(bytes[at] << 8 | bytes[at + 1])];
        if (marked.length == 1)
            return QString(QChar(marked.value));
        return QString(reinterpret_cast<const QChar*>(pool_.data() + marked.value), marked.length);
    }
    return JapaneseFold::Fold(Cp932::Decode(text + at, end - at));
}

void Cp932Fold::Append(const char* text, int length, std::u16string& folded) const
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    // Room for the longest fold; what is left over is cut off at the end.
    size_t done = folded.size();
    folded.resize(done + size_t(length) * size_t(mostPerByte_));
    char16_t* out = folded.data() + done;
    for (int at = 0; at < length;) {
        int width = 0;
        const Entry entry = At(bytes, at, length, width);
        if (at + width < length && JoinsAt(bytes, at + width, length)) {
            const QString cluster = FoldCluster(text, at, length, at);
            done = size_t(out - folded.data());
            folded.resize(std::max(folded.size(), done + size_t(cluster.size()) + size_t(length - at) * mostPerByte_));
            out = folded.data() + done;
            std::memcpy(out, cluster.constData(), size_t(cluster.size()) * sizeof(char16_t));
            out += cluster.size();
            continue;
        }
        if (entry.length == 1) {
            *out++ = entry.value;
        } else {
            std::memcpy(out, pool_.data() + entry.value, size_t(entry.length) * sizeof(char16_t));
            out += entry.length;
        }
        at += width;
    }
    folded.resize(size_t(out - folded.data()));
}
