#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// Folds text so that a search finds a word however it was typed: full or half
// width, hiragana or katakana, upper or lower case. Compatibility
// normalisation (NFKC) comes first, so that a half-width kana and the voiced
// mark after it are one character before katakana become hiragana; case comes
// last.
//
// Text is folded a cluster at a time: a character with the marks that belong
// to it. A folded character thus always comes from whole characters of the
// original, which is where a hit is selected.
class JapaneseFold
{
public:
    // The folded text and, for each of its characters, the original
    // characters it came from: [begin, end) in the original's positions.
    struct Folded
    {
        QString text;
        std::vector<qsizetype> begin;
        std::vector<qsizetype> end;
    };

    // Where a hit lies in the original text.
    struct Span
    {
        qsizetype start = 0;
        qsizetype length = 0;
    };

    static QString Fold(QStringView text);
    static Folded FoldKeepingOrigins(QStringView text);

    // The first place in text whose folded form holds the already folded
    // needle, over the whole original characters it covers. An empty needle
    // is found at the start.
    static std::optional<Span> Find(QStringView text, QStringView foldedNeedle);

    // True for a character that belongs to the one before it: a combining
    // mark, a half-width voiced mark, a Hangul vowel or final consonant.
    static bool JoinsPrevious(char32_t c);

    // One cluster, as the two functions above fold each of theirs.
    static QString FoldCluster(QStringView cluster);
};
