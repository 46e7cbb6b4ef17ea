#pragma once

#include <QString>

// Characters as a person counts Japanese text: one for each character, half-
// and full-width alike, leaving out spaces (full-width ones too), tabs and
// line breaks. Counted on decoded text or straight on the diary's cp932 bytes,
// with the same result for the same text.
class CharacterCount
{
public:
    static qint64 OfText(const QString& text);
    // The count of what Cp932::Decode makes of the bytes.
    static qint64 OfBytes(const char* bytes, int length);
};
