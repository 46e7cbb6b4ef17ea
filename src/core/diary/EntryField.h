#pragma once

#include <cstddef>

// The seven entry fields of the main window, in the order of their boxes:
// each box carries its value as the `index` property.
enum class EntryField { Date, Time, Weekday, Weather, Expense, Signature, Body };

inline constexpr int EntryFieldCount = 7;

// Where a field's box sits in an array of the seven.
constexpr std::size_t Slot(EntryField field)
{
    return std::size_t(field);
}
