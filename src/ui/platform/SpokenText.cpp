#include "ui/platform/SpokenText.h"

#include "core/platform/JapaneseLocale.h"
#include "core/platform/Money.h"

QString SpokenText::Date(QDate date)
{
    if (!date.isValid())
        return {};
    return JapaneseLocale::FormatDate(date) + u' ' + JapaneseLocale::FormatWeekday(date);
}

QString SpokenText::Amount(const QString& text)
{
    const std::optional<qint64> amount = Money::Parse(text);
    if (!amount)
        return {};
    // The shown form without its sign and brackets: "\1,500" or "(\500)".
    QString digits = Money::FormatShown(*amount);
    digits.remove(u'\\').remove(u'(').remove(u')');
    return (*amount < 0 ? QStringLiteral("マイナス") : QString()) + digits + QStringLiteral("円");
}
