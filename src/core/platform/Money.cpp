#include "core/platform/Money.h"

#include "core/platform/NumberText.h"

namespace {

// The digits of a whole number, which may be wider than any number type
// of Qt's own.
QString Digits(Money::Sum whole)
{
    const bool negative = whole < 0;
    QString digits;
    do {
        const int digit = int(whole % 10);
        digits.prepend(QChar(u'0' + (negative ? -digit : digit)));
        whole /= 10;
    } while (whole != 0);
    return negative ? u'-' + digits : digits;
}

QString Grouped(Money::Sum whole)
{
    QString digits = Digits(whole);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return digits;
}

} // namespace

std::optional<qint64> Money::Parse(const QString& text)
{
    const std::optional<DecimalNumber> number = NumberText::Parse(text, NumberText::Form::Money);
    if (!number)
        return std::nullopt;
    return number->Scaled(4);
}

Money::Sum Money::RoundToWhole(Sum amount)
{
    const Sum whole = amount / Scale;
    const Sum rest = amount % Scale;
    if (rest >= Scale / 2)
        return whole + 1;
    if (rest <= -Scale / 2)
        return whole - 1;
    return whole;
}

QString Money::FormatShown(Sum amount)
{
    const Sum whole = RoundToWhole(amount);
    if (whole < 0)
        return QStringLiteral("(\\") + Grouped(-whole) + u')';
    return u'\\' + Grouped(whole);
}

QString Money::FormatEditing(Sum amount)
{
    return Digits(RoundToWhole(amount));
}

QString Money::FormatStored(qint64 amount)
{
    const double value = double(amount) / double(Scale);
    return QString::number(value, 'g', 15).toUpper();
}
