#include "ui/platform/SpokenText.h"

#include "core/platform/JapaneseLocale.h"
#include "core/platform/Money.h"
#include "ui/platform/SpokenNotice.h"

#include <QAccessible>
#include <QLabel>
#include <QRegularExpression>

QString SpokenText::Date(QDate date)
{
    if (!date.isValid())
        return {};
    return JapaneseLocale::FormatDate(date) + u' ' + JapaneseLocale::FormatWeekday(date);
}

QString SpokenText::Amount(const QString& shown)
{
    const std::optional<qint64> amount = Money::Parse(shown);
    if (!amount)
        return shown;
    // The shown form without its sign and brackets: "\1,500" or "(\500)".
    QString digits = Money::FormatShown(*amount);
    digits.remove(u'\\').remove(u'(').remove(u')');
    return (*amount < 0 ? QStringLiteral("マイナス") : QString()) + digits + u'円';
}

void SpokenText::NameFromCaption(QLabel& caption, QWidget& box)
{
    caption.setBuddy(&box);
    box.setAccessibleName(WithoutColon(caption.text()));
}

QString SpokenText::WithoutColon(const QString& caption)
{
    QString name = caption;
    name.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&(?=.)")));
    while (name.endsWith(u':') || name.endsWith(u'：'))
        name.chop(1);
    return name.trimmed();
}

void SpokenText::Announce(QLabel& status, const QString& text)
{
    status.setText(text);
    SpokenNotice::Say(*status.window(), text);
}

void SpokenText::Describe(QWidget& control, const QString& text)
{
    control.setAccessibleDescription(text);
    QAccessibleEvent changed(&control, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}
