#pragma once

#include <QString>
#include <optional>

// A number read from text the way the program's users write numbers: an
// optional sign, digits with optional group commas, a decimal point and an
// exponent, full-width digits included. Money texts may also carry the yen sign
// (backslash, ¥ or ￥) and parentheses for a negative amount.
struct DecimalNumber
{
    bool negative = false;
    QString digits;   // significant digits, without leading zeros; empty for zero
    int exponent = 0; // value = digits × 10^exponent

    // The value scaled by 10^scale, rounded half away from zero; nothing when it
    // does not fit into 64 bits.
    std::optional<qint64> Scaled(int scale) const;
    double ToDouble() const;
};

class NumberText
{
public:
    enum class Form { Plain, Money };
    static std::optional<DecimalNumber> Parse(const QString& text, Form form = Form::Plain);

    // Plain decimal text, with "&H" hexadecimal as well, read as a double.
    static std::optional<double> ToDouble(const QString& text);
};
