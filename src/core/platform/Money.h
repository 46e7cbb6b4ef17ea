#pragma once

#include <QString>
#include <optional>

// An amount of money as a count of ten-thousandths of a yen, the fixed-point
// form the expense field has always used.
class Money
{
public:
    static constexpr qint64 Scale = 10000;
    // A sum of amounts: twice as wide as one amount, so that no total of a
    // diary's pages can overflow it.
    __extension__ typedef __int128 Sum;

    // Any text the user may type or the program shows: "1500", "1,500.5",
    // "\1,500", "￥1,500", "(\500)", "1.5E+3". Nothing when it is not a number
    // or does not fit.
    static std::optional<qint64> Parse(const QString& text);

    // The shown form: "\1,234,567", "\0", "(\500)"; of one amount or a sum.
    static QString FormatShown(Sum amount);
    // The editing form: "1234567", "-500".
    static QString FormatEditing(Sum amount);
    // The stored form: the amount as a double in general decimal notation of
    // up to 15 significant digits, "1500.5", "922337203685478" for the largest.
    static QString FormatStored(qint64 amount);

    // Whole yen, rounded half away from zero.
    static Sum RoundToWhole(Sum amount);
};
