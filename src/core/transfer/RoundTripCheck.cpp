#include "core/transfer/RoundTripCheck.h"

#include "core/platform/Cp932.h"

namespace {

// Code page 932 has two codes for some characters (NEC row 13 and its
// selection of IBM's extensions against JIS row 2 and IBM's own), and a
// decoded character is encoded back to one of them only. All such codes have
// one of these first bytes, so a field without them needs no second look.
bool MayHaveTwoCodes(unsigned char lead)
{
    return lead == 0x87 || lead >= 0xED;
}

bool HasSuchLeadByte(const QByteArray& stored)
{
    for (qsizetype at = 0; at < stored.size(); ++at) {
        const auto byte = static_cast<unsigned char>(stored[at]);
        if (!Cp932::IsLeadByte(byte))
            continue;
        if (MayHaveTwoCodes(byte))
            return true;
        ++at;
    }
    return false;
}

// The import makes every LF without a CR before it a CR LF.
bool HasBareLineFeed(const QByteArray& stored)
{
    for (qsizetype at = stored.indexOf('\n'); at >= 0; at = stored.indexOf('\n', at + 1))
        if (at == 0 || stored[at - 1] != '\r')
            return true;
    return false;
}

} // namespace

void RoundTripCheck::Header(const QByteArray& stored, const QString& text)
{
    // A line break inside a header field would end its line early.
    if (readBack_ && (stored.contains('\r') || stored.contains('\n')))
        reasons_ |= ExportFlaw::HeaderLineBreak;
    Characters(stored, text);
}

void RoundTripCheck::Body(const QByteArray& stored, const QString& text)
{
    if (readBack_ && HasBareLineFeed(stored))
        reasons_ |= ExportFlaw::BareLineFeed;
    Characters(stored, text);
}

void RoundTripCheck::Characters(const QByteArray& stored, const QString& text)
{
    if (text.contains(QChar::ReplacementCharacter)) {
        reasons_ |= ExportFlaw::NotACharacter;
        return;
    }
    // In code page 932 the stored bytes are written as they are.
    if (!readBack_ || encoding_ == ExportRequest::Encoding::Cp932 || !HasSuchLeadByte(stored))
        return;
    if (Cp932::Encode(text) != stored) {
        reasons_ |= ExportFlaw::OtherCode;
        NameChanged(stored);
    }
}

void RoundTripCheck::NameChanged(const QByteArray& stored)
{
    for (qsizetype at = 0; at < stored.size(); ++at) {
        const auto lead = static_cast<unsigned char>(stored[at]);
        if (!Cp932::IsLeadByte(lead) || at + 1 == stored.size())
            continue;
        const QByteArray code = stored.mid(at++, 2);
        if (!MayHaveTwoCodes(lead))
            continue;
        const QString character = Cp932::Decode(code);
        if (Cp932::Encode(character) != code && !changed_.contains(character))
            changed_ += character;
    }
}
