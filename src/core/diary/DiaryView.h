#pragma once

#include "core/diary/EntryField.h"

#include <QDate>
#include <QString>

// What the diary store needs of the main window: the seven entry fields, the
// status line, the page slider and the calendar. The main window implements
// it; store tests fake it.
class DiaryView
{
public:
    virtual ~DiaryView() = default;

    // The body's line breaks are CR LF here, as the file holds them.
    virtual QString FieldText(EntryField field) const = 0;
    virtual void SetFieldText(EntryField field, const QString& text) = 0;
    // Text an input method is still converting in a field is put into it, so
    // that it is read and stored with its page and never follows the user
    // onto the next one.
    virtual void FinishComposing() = 0;

    virtual void SetPageStatus(const QString& text) = 0;
    virtual void SetSlider(int maximum, int position) = 0;
    // False when the calendar refuses the date.
    virtual bool SetCalendarDate(QDate date) = 0;

    // Selects part of the body, counted in the characters of its text with
    // CR LF line breaks, and gives the body the keyboard focus.
    virtual void SelectInBody(int start, int length) = 0;

    // Closes the main window, which saves the settings and ends the program.
    virtual void CloseMainWindow() = 0;
};
