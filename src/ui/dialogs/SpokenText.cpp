#include "ui/dialogs/SpokenText.h"

#include <QAccessible>
#include <QLabel>
#include <QRegularExpression>

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

QString SpokenText::Amount(const QString& shown)
{
    static const QRegularExpression money(QStringLiteral("^(\\()?\\\\([0-9,]+)(\\))?$"));
    const QRegularExpressionMatch match = money.match(shown);
    if (!match.hasMatch() || match.hasCaptured(1) != match.hasCaptured(3))
        return shown;
    return (match.hasCaptured(1) ? QStringLiteral("-") : QString()) + match.captured(2) + u'円';
}

void SpokenText::Announce(QLabel& status, const QString& text)
{
    status.setText(text);
    // Qt 6.4 has no announcement event of its own; for a label its AT-SPI
    // bridge passes a name change on (object:property-change:accessible-name).
    QAccessibleEvent changed(&status, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void SpokenText::Describe(QWidget& control, const QString& text)
{
    control.setAccessibleDescription(text);
    QAccessibleEvent changed(&control, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}
