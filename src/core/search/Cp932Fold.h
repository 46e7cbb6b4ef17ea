#pragma once

#include <QString>
#include <string>
#include <vector>

// JapaneseFold for text as the diary stores it, in cp932 bytes. The fold of
// every character the code page has is worked out once from the decoder, so
// that a body is folded straight from its bytes, without converting it.
class Cp932Fold
{
public:
    static const Cp932Fold& Table();

    // Appends the fold of the bytes, which is always
    // JapaneseFold::Fold(Cp932::Decode(bytes, length)).
    void Append(const char* bytes, int length, std::u16string& folded) const;

private:
    struct Entry
    {
        // The folded character itself when it is one, else where the folded
        // text starts in pool_: most characters fold to one.
        char16_t value = 0;
        quint8 length = 0;
        quint8 flags = 0;
    };
    enum Flag : quint8 {
        Valid = 1, // a pair of bytes that makes one character
        Lead = 2,  // a byte that may start such a pair
        Joins = 4, // a character that belongs to the one before it
    };

    Cp932Fold();
    Entry Put(const char* bytes, int length);
    // The character that starts at bytes[at], and its length in bytes.
    Entry At(const unsigned char* bytes, int at, int length, int& width) const;
    // Whether the character at bytes[at] belongs to the one before it.
    bool JoinsAt(const unsigned char* bytes, int at, int length) const;
    // The fold of the cluster from `at` to the end of the characters that
    // join it, and that end.
    QString FoldCluster(const char* text, int at, int length, int& end) const;

    std::vector<Entry> singles_;       // by byte
    std::vector<Entry> pairs_;         // by lead << 8 | trail
    std::vector<Entry> markedSingles_; // a one-byte character and a one-byte mark: by base << 8 | mark
    std::u16string pool_;
    // The longest fold of one byte, for the room a body needs.
    int mostPerByte_ = 1;
    // Whether a two-byte character may join the one before it: cp932 has none.
    bool pairsJoin_ = false;
};
