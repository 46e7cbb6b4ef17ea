#pragma once

#include <QString>

// How hard a new password is to guess, from its length and the kinds of
// characters in it, as the hint under the password boxes says it.
class PasswordStrength
{
public:
    enum Level { Weak, Fair, Strong };

    static Level Of(const QString& password);
    // Small letters, capitals, digits, other signs, and characters beyond
    // ASCII (kana, kanji): how many of these five it mixes.
    static int Kinds(const QString& password);
    // "強さ: 普通（10文字、2種類）"; empty for an empty password.
    static QString Hint(const QString& password);
};
