#pragma once

#include <QString>

// The code that opens an encrypted diary when its password is lost: 24
// characters from 32 that cannot be mistaken for one another (no 0 or O, no
// 1 or I), 120 random bits, shown in six groups of four.
class RecoveryCode
{
public:
    static constexpr int Length = 24;
    static constexpr int GroupLength = 4;
    static QString Alphabet() { return QStringLiteral("23456789ABCDEFGHJKLMNPQRSTUVWXYZ"); }
    // A new random code, without the group marks.
    static QString New();
    // "ABCD-EFGH-…", as it is shown and printed.
    static QString Grouped(const QString& code);
    // The code as typed, in the form it was made: full-width characters and
    // small letters taken as their plain capitals, blanks and hyphens dropped.
    static QString Normalized(const QString& typed);
};
