#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Conversion between Unicode text and code page 932, the encoding of diary
// files and the tip file. glibc's table is used because it matches the one the
// files were written with, including the characters Linux input methods type
// for the wave dash, the minus sign and the yen sign.
class Cp932
{
public:
    // A character without a cp932 form is written as "?".
    static QByteArray Encode(const QString& text);

    // Encodes into exactly byteLength bytes: left-justified, padded with spaces,
    // and cut before a double-byte character that would straddle the end.
    static QByteArray EncodeField(const QString& text, int byteLength);

    // Never fails: a byte sequence that is not cp932 becomes U+FFFD.
    static QString Decode(const char* bytes, int length);
    static QString Decode(const QByteArray& bytes) { return Decode(bytes.constData(), int(bytes.size())); }

    // True for the first byte of a double-byte character.
    static bool IsLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
};
