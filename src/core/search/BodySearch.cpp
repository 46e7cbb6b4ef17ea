#include "core/search/BodySearch.h"

#include "core/diary/DiaryPage.h"
#include "core/platform/Cp932.h"
#include "core/platform/RecordFile.h"
#include "core/search/Cp932Fold.h"
#include "core/search/JapaneseFold.h"

#include <QSet>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// What the byte search needs to know of the code page, worked out once from
// the decoder itself.
struct PairTable
{
    // Characters that more than one byte sequence decodes to, such as the NEC
    // and IBM forms of the same sign: for them equal characters need not be
    // equal bytes.
    QSet<char16_t> several;
    // Lead and trail bytes that make one character. A lead byte followed by
    // anything else decodes alone, and the next byte starts a character.
    std::vector<bool> character = std::vector<bool>(0x10000);
};

const PairTable& Pairs()
{
    static const PairTable table = [] {
        PairTable pairs;
        QSet<char16_t> seen;
        char pair[2];
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!Cp932::IsLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 0x00; trail <= 0xFF; ++trail) {
                pair[0] = char(lead);
                pair[1] = char(trail);
                const QString decoded = Cp932::Decode(pair, 2);
                if (decoded.size() != 1 || decoded[0] == u'\uFFFD')
                    continue;
                pairs.character[size_t(lead << 8 | trail)] = true;
                const char16_t c = decoded[0].unicode();
                if (seen.contains(c))
                    pairs.several.insert(c);
                seen.insert(c);
            }
        }
        return pairs;
    }();
    return table;
}

// The length of the character that starts at this byte, as the decoder reads it.
int CharacterLength(const char* at, const char* end)
{
    const auto lead = static_cast<unsigned char>(at[0]);
    if (!Cp932::IsLeadByte(lead) || end - at < 2)
        return 1;
    return Pairs().character[size_t(lead << 8 | static_cast<unsigned char>(at[1]))] ? 2 : 1;
}

// The body without the spaces at either end, as the body field shows it.
void Trim(const char*& body, int& length)
{
    while (length > 0 && body[0] == ' ') {
        ++body;
        --length;
    }
    // Most of a body is the padding after its text: skip it eight bytes at a time.
    constexpr quint64 Spaces = 0x2020202020202020ull;
    quint64 word = 0;
    while (length >= 8 && (std::memcpy(&word, body + length - 8, 8), word == Spaces))
        length -= 8;
    while (length > 0 && body[length - 1] == ' ')
        --length;
}

// A byte match counts only where a character starts, never inside one.
bool FoundAtCharacterStart(const char* body, int length, const QByteArray& needle)
{
    int boundary = 0;
    const char* end = body + length;
    for (const char* hit = body;
         (hit = static_cast<const char*>(memmem(hit, size_t(end - hit), needle.constData(), size_t(needle.size()))));
         ++hit) {
        const int offset = int(hit - body);
        while (boundary < offset)
            boundary += CharacterLength(body + boundary, end);
        if (boundary == offset)
            return true;
    }
    return false;
}

// Pages are looked through in stretches, so that a search that stops at its
// first find reads little more than it needs; a sealed diary's stretch is
// long enough that starting the threads that open it costs little.
constexpr qint32 PlainStretch = 100;
constexpr qint32 SealedStretch = 1600;

struct Hit
{
    qint32 page;
    QByteArray record;
};

// The pages of one stretch whose bodies satisfy holds, in file order. The
// bodies of a sealed diary are looked at on the threads that open them.
template <typename Holds>
FileError HitsIn(const RecordFile& file, qint32 first, qint32 count, const Holds& holds, std::vector<Hit>& hits)
{
    const DiaryPage::Layout& body = DiaryPage::Fields[DiaryPage::PageBody];
    std::mutex found;
    hits.clear();
    const FileError error = file.ScanRecords(first, count, [&](qint32 page, const char* record) {
        const char* text = record + body.offset;
        int length = body.length;
        Trim(text, length);
        if (!holds(text, length))
            return;
        const std::lock_guard guard(found);
        hits.push_back({page, QByteArray(record, DiaryPage::RecordLength)});
    });
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.page < b.page; });
    return error;
}

// Each page from `from` to `last`, in file order or newest first, whose body,
// trimmed as the body field shows it, satisfies holds(body, length), until
// visit(page, record) says to stop. holds is called from several threads at
// once for a sealed diary.
template <typename Holds>
FileError EachBody(const RecordFile& file, qint32 from, qint32 last, BodySearch::Order order, const Holds& holds,
                   const BodySearch::Visit& visit)
{
    const bool newestFirst = order == BodySearch::Order::NewestFirst;
    const qint32 stretch = file.IsSealed() ? SealedStretch : PlainStretch;
    from = std::max(from, 1);
    std::vector<Hit> hits;
    for (qint32 done = 0; done < last - from + 1; done += stretch) {
        const qint32 count = std::min(stretch, last - from + 1 - done);
        const qint32 first = newestFirst ? last - done - count + 1 : from + done;
        if (const FileError error = HitsIn(file, first, count, holds, hits))
            return error;
        if (newestFirst)
            std::reverse(hits.begin(), hits.end());
        for (const Hit& hit : hits)
            if (!visit(hit.page, hit.record.constData()))
                return {};
    }
    return {};
}

bool IsAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool IsAscii(const char* bytes, int length)
{
    constexpr quint64 HighBits = 0x8080808080808080ull;
    quint64 word = 0;
    int at = 0;
    for (; at + 8 <= length; at += 8) {
        std::memcpy(&word, bytes + at, 8);
        if (word & HighBits)
            return false;
    }
    for (; at < length; ++at)
        if (bytes[at] & 0x80)
            return false;
    return true;
}

} // namespace

QString BodySearch::StoredForm(const QString& text)
{
    const QString stored = Cp932::Decode(Cp932::Encode(text));
    // A character with no stored form at all can never be found; keep it so.
    for (qsizetype i = 0; i < qMin(text.size(), stored.size()); ++i)
        if (stored[i] == u'?' && text[i] != u'?')
            return text;
    return stored.size() == text.size() ? stored : text;
}

bool BodySearch::BodyHolds(const char* body, int length, const QString& text, const QByteArray& needle, bool bytewise)
{
    if (text.isEmpty())
        return length > 0;
    if (bytewise)
        return FoundAtCharacterStart(body, length, needle);
    return Cp932::Decode(body, length).contains(text);
}

FileError BodySearch::Find(const RecordFile& file, const QString& text, qint32 from, qint32 last, qint32& found,
                           Match match)
{
    found = 0;
    return Each(file, text, from, last, match, Order::FileOrder, [&found](qint32 page, const char*) {
        found = page;
        return false;
    });
}

FileError BodySearch::Each(const RecordFile& file, const QString& text, qint32 from, qint32 last, Match match,
                           Order order, const Visit& visit)
{
    if (match == Match::Folded)
        return EachFolded(file, text, from, last, order, visit);
    const QByteArray needle = Cp932::Encode(text);
    bool bytewise = Cp932::Decode(needle) == text;
    for (const QChar c : text)
        bytewise = bytewise && !Pairs().several.contains(c.unicode());
    return EachBody(
        file, from, last, order,
        [&](const char* body, int length) { return BodyHolds(body, length, text, needle, bytewise); }, visit);
}

FileError BodySearch::EachFolded(const RecordFile& file, const QString& text, qint32 from, qint32 last, Order order,
                                 const Visit& visit)
{
    const QString needle = JapaneseFold::Fold(text);
    const bool asciiNeedle = IsAscii(needle);
    const Cp932Fold& table = Cp932Fold::Table();
    return EachBody(
        file, from, last, order,
        [&](const char* body, int length) {
            if (needle.isEmpty())
                return length > 0;
            // ASCII folds to ASCII: such a page cannot hold any other text.
            if (!asciiNeedle && IsAscii(body, length))
                return false;
            // Each thread folds into a buffer of its own, kept for its pages.
            thread_local std::u16string folded;
            folded.clear();
            table.Append(body, length, folded);
            return QStringView(folded.data(), qsizetype(folded.size())).indexOf(needle) >= 0;
        },
        visit);
}
