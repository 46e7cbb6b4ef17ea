#include "core/platform/NumberText.h"

#include <cmath>
#include <limits>

namespace {

// Full-width ASCII forms, as a Japanese input method types them, read as ASCII.
QChar Narrow(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E)
        return QChar(char16_t(u - 0xFEE0));
    return c;
}

bool IsYenSign(QChar c)
{
    return c == u'\\' || c == u'\u00A5' || c == u'\uFFE5';
}

class Scanner
{
public:
    explicit Scanner(const QString& text)
    {
        text_.reserve(text.size());
        for (QChar c : text)
            text_.append(Narrow(c));
        text_ = text_.trimmed();
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    QChar Peek() const { return AtEnd() ? QChar() : text_[pos_]; }
    bool Take(QChar c)
    {
        if (Peek() != c)
            return false;
        ++pos_;
        return true;
    }
    bool TakeYen()
    {
        if (AtEnd() || !IsYenSign(Peek()))
            return false;
        ++pos_;
        return true;
    }
    bool TakeSign(bool& negative)
    {
        if (Take(u'-')) {
            negative = !negative;
            return true;
        }
        return Take(u'+');
    }
    bool TakeEnclosing(QChar open, QChar close)
    {
        if (text_.size() - pos_ >= 2 && text_[pos_] == open && text_.back() == close) {
            ++pos_;
            text_.chop(1);
            return true;
        }
        return false;
    }
    void SkipSpaces()
    {
        while (Take(u' ')) {
        }
    }

    // Digits of the integer part, with commas between them allowed.
    bool TakeIntegerDigits(QString& digits)
    {
        const qsizetype start = pos_;
        while (!AtEnd() && (Peek().isDigit() || (Peek() == u',' && pos_ > start))) {
            if (Peek() != u',')
                digits.append(Peek());
            ++pos_;
        }
        return pos_ > start;
    }
    int TakeFractionDigits(QString& digits)
    {
        int count = 0;
        while (!AtEnd() && Peek().isDigit() && Peek().unicode() < 128) {
            digits.append(Peek());
            ++pos_;
            ++count;
        }
        return count;
    }
    std::optional<int> TakeExponent()
    {
        if (!Take(u'e') && !Take(u'E'))
            return 0;
        bool negative = false;
        TakeSign(negative);
        QString digits;
        if (TakeFractionDigits(digits) == 0 || digits.size() > 4)
            return std::nullopt;
        return negative ? -digits.toInt() : digits.toInt();
    }

private:
    QString text_;
    qsizetype pos_ = 0;
};

bool IsAsciiDigits(const QString& digits)
{
    for (QChar c : digits)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

std::optional<DecimalNumber> NumberText::Parse(const QString& text, Form form)
{
    Scanner scan(text);
    DecimalNumber number;
    const bool money = form == Form::Money;
    if (money && scan.TakeEnclosing(u'(', u')'))
        number.negative = true;
    scan.TakeSign(number.negative);
    if (money && scan.TakeYen()) {
        scan.SkipSpaces();
        scan.TakeSign(number.negative);
    }
    QString digits;
    const bool hasInteger = scan.TakeIntegerDigits(digits);
    int fraction = 0;
    if (scan.Take(u'.'))
        fraction = scan.TakeFractionDigits(digits);
    if ((!hasInteger && fraction == 0) || !IsAsciiDigits(digits))
        return std::nullopt;
    const std::optional<int> exponent = scan.TakeExponent();
    if (!exponent)
        return std::nullopt;
    if (money)
        scan.TakeYen();
    if (!scan.AtEnd() && scan.TakeSign(number.negative) == false)
        return std::nullopt;
    if (!scan.AtEnd())
        return std::nullopt;

    qsizetype first = 0;
    while (first < digits.size() && digits[first] == u'0')
        ++first;
    number.digits = digits.mid(first);
    number.exponent = *exponent - fraction;
    while (number.digits.endsWith(u'0')) {
        number.digits.chop(1);
        ++number.exponent;
    }
    if (number.digits.isEmpty())
        number = DecimalNumber{};
    return number;
}

std::optional<qint64> DecimalNumber::Scaled(int scale) const
{
    if (digits.isEmpty())
        return 0;
    const int shift = exponent + scale;
    const int magnitude = int(digits.size()) + shift; // digits before the point
    if (magnitude > 19)
        return std::nullopt;
    if (magnitude < 0)
        return 0; // below one half of the last place
    // At most 19 digits: below 10^19, which an unsigned 64-bit number holds.
    quint64 value = 0;
    const qsizetype kept = qMin<qsizetype>(digits.size(), magnitude);
    for (qsizetype i = 0; i < kept; ++i)
        value = value * 10 + quint64(digits[i].unicode() - u'0');
    for (int i = int(kept); i < magnitude; ++i)
        value *= 10;
    // Half away from zero: the first dropped digit decides.
    if (kept < digits.size() && digits[kept] >= u'5')
        value += 1;
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (negative ? 1 : 0);
    if (value > limit)
        return std::nullopt;
    return negative ? qint64(0 - value) : qint64(value);
}

double DecimalNumber::ToDouble() const
{
    if (digits.isEmpty())
        return 0.0;
    const QString text = (negative ? QStringLiteral("-") : QString()) + digits + u'e' + QString::number(exponent);
    return text.toDouble();
}

std::optional<double> NumberText::ToDouble(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        bool ok = false;
        const qlonglong value = trimmed.mid(2).toLongLong(&ok, 16);
        if (!ok || value < 0 || value > 0xFFFFFFFFLL)
            return std::nullopt;
        // Hexadecimal is read as a signed 32-bit number, so &H80000008 is negative.
        return double(qint32(quint32(value)));
    }
    const std::optional<DecimalNumber> number = Parse(trimmed);
    if (!number)
        return std::nullopt;
    const double value = number->ToDouble();
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}
