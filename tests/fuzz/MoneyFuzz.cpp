// Any text typed into the expense box: reading it never fails hard, and every
// form the program writes an amount in reads back as the same amount.

#include "FuzzCheck.h"
#include "core/platform/Money.h"

#include <limits>

namespace {

// Amounts far enough from the ends of 64 bits that rounding cannot leave them.
bool Roomy(qint64 amount)
{
    return amount > std::numeric_limits<qint64>::min() / 2 && amount < std::numeric_limits<qint64>::max() / 2;
}

// Digits from the first to the last that is not zero.
int SignificantDigits(qint64 amount)
{
    QString digits = QString::number(amount).remove(u'-');
    while (digits.endsWith(u'0'))
        digits.chop(1);
    return int(digits.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<qint64> amount = Money::Parse(QString::fromUtf8(FuzzBytes(data, size)));
    if (!amount || !Roomy(*amount))
        return 0;

    const qint64 whole = qint64(Money::RoundToWhole(*amount)) * Money::Scale;
    FUZZ_CHECK(Money::Parse(Money::FormatEditing(*amount)) == whole);
    FUZZ_CHECK(Money::Parse(Money::FormatShown(*amount)) == whole);

    // The stored form keeps fifteen significant digits; an amount that has no
    // more, and whose form fits the page's fifteen characters, reads back
    // exactly.
    const QString stored = Money::FormatStored(*amount);
    if (SignificantDigits(*amount) <= 15 && stored.size() <= 15)
        FUZZ_CHECK(Money::Parse(stored) == amount);
    return 0;
}
