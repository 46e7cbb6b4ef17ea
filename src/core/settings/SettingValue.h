#pragma once

#include <QString>
#include <optional>

// Conversions of stored setting texts to the numbers and switches they stand
// for. Each gives nothing when the text cannot be converted.
class SettingValue
{
public:
    static std::optional<double> ToNumber(const QString& text);
    // A whole signed 32-bit number, such as a colour value.
    static std::optional<qint32> ToInt32(const QString& text);
    // The words True and False in any case, or a number: 0 is false.
    static std::optional<bool> ToBoolean(const QString& text);
    static QString FromBoolean(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }
    // A check box's state as stored: a number, 0 clear and any other ticked.
    static std::optional<bool> ToSwitch(const QString& text);
    // A check box's state: "1" ticked, "0" clear.
    static QString FromSwitch(bool ticked) { return ticked ? QStringLiteral("1") : QStringLiteral("0"); }
};
