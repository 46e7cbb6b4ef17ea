#include "core/platform/Money.h"

#include "core/platform/NumberText.h"

namespace {

QString Grouped(qint64 whole)
{
    QString digits = QString::number(whole);
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

qint64 Money::RoundToWhole(qint64 amount)
{
    const qint64 whole = amount / Scale;
    const qint64 rest = amount % Scale;
    if (rest >= Scale / 2)
        return whole + 1;
    if (rest <= -Scale / 2)
        return whole - 1;
    return whole;
}

QString Money::FormatShown(qint64 amount)
{
    const qint64 whole = RoundToWhole(amount);
    if (whole < 0)
        return QStringLiteral("(\\") + Grouped(-whole) + u')';
    return u'\\' + Grouped(whole);
}

QString Money::FormatEditing(qint64 amount)
{
    return QString::number(RoundToWhole(amount));
}

QString Money::FormatStored(qint64 amount)
{
    const double value = double(amount) / double(Scale);
    return QString::number(value, 'g', 15).toUpper();
}
