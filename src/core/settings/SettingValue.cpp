#include "core/settings/SettingValue.h"

#include "core/platform/NumberText.h"

#include <cmath>

std::optional<double> SettingValue::ToNumber(const QString& text)
{
    return NumberText::ToDouble(text);
}

std::optional<qint32> SettingValue::ToInt32(const QString& text)
{
    const std::optional<double> number = ToNumber(text);
    if (!number)
        return std::nullopt;
    const double rounded = std::nearbyint(*number);
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        return std::nullopt;
    return qint32(rounded);
}

std::optional<bool> SettingValue::ToBoolean(const QString& text)
{
    const QString word = text.trimmed();
    if (word.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> number = ToNumber(word);
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}

std::optional<bool> SettingValue::ToSwitch(const QString& text)
{
    const std::optional<double> number = ToNumber(text);
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}
