#pragma once

#include "core/diary/DiaryView.h"

#include <array>

// The entry fields, status line, slider and calendar as plain values.
class FakeDiaryView : public DiaryView
{
public:
    QString FieldText(EntryField field) const override { return fields[Slot(field)]; }
    void SetFieldText(EntryField field, const QString& text) override { fields[Slot(field)] = text; }
    // Text being converted at the end of the body goes into it.
    void FinishComposing() override
    {
        fields[Slot(EntryField::Body)] += composing;
        composing.clear();
    }
    void SetPageStatus(const QString& text) override { status = text; }
    void SetSlider(int maximum, int position) override
    {
        sliderMaximum = maximum;
        sliderPosition = position;
    }
    bool SetCalendarDate(QDate date) override
    {
        if (!date.isValid())
            return false;
        calendarDate = date;
        return true;
    }

    void SelectInBody(int start, int length) override
    {
        selectionStart = start;
        selectionLength = length;
    }
    void CloseMainWindow() override { ++closed; }

    std::array<QString, EntryFieldCount> fields;
    QString composing;
    QString status;
    int sliderMaximum = 0;
    int sliderPosition = 0;
    QDate calendarDate;
    int closed = 0;
    int selectionStart = -1;
    int selectionLength = -1;
};
