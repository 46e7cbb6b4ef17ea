#pragma once

#include "core/diary/EntryField.h"
#include "ui/mainwindow/BodyBox.h"

#include <QLineEdit>
#include <array>

// The boxes of the shown page's seven entry fields: a one-line box for each
// field before the body, and the body.
struct EntryBoxes
{
    static constexpr int LineCount = EntryFieldCount - 1;

    std::array<QLineEdit*, LineCount> lines{};
    BodyBox* body = nullptr;

    // The one-line box of a field other than the body.
    QLineEdit* Line(EntryField field) const { return lines[Slot(field)]; }
    QWidget* Box(EntryField field) const
    {
        return field == EntryField::Body ? static_cast<QWidget*>(body) : lines[Slot(field)];
    }
    // All seven, in field order.
    std::array<QWidget*, EntryFieldCount> All() const
    {
        std::array<QWidget*, EntryFieldCount> all{};
        for (int i = 0; i < EntryFieldCount; ++i)
            all[size_t(i)] = Box(EntryField(i));
        return all;
    }
};
