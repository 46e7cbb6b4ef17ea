#pragma once

#include "core/diary/EntryField.h"
#include "ui/mainwindow/EntryBoxes.h"

#include <QObject>
#include <QString>
#include <array>

class Prompter;

// Each entry box takes no more text than its field of the page keeps, so that
// nothing the user sees is lost when the page is stored: typing past the end
// beeps, and a longer paste is cut at the end with a message that says how
// much was left out. The expense box also refuses, when it is left, a number
// too large to be kept as an amount.
class EntryLimit : public QObject
{
    Q_OBJECT
public:
    EntryLimit(const EntryBoxes& boxes, Prompter& prompter, QObject* parent);

    // The bytes the page keeps for an entry field.
    static int Capacity(EntryField field);
    // The bytes a box's text takes in its field: cp932, a line break as CR LF.
    static int StoredSize(const QString& boxText);
    // The longest start of the text, in whole characters, that takes no more
    // than `room` bytes.
    static QString Fitting(const QString& text, int room);
    // False for a number that the expense field cannot keep as an amount;
    // any other text is kept as it always was.
    static bool StorableExpense(const QString& text);

    // What of a text offered to a field's box goes in beside `rest`, the text
    // that stays; tells the user when anything is left out.
    QString Admit(EntryField field, const QString& offered, const QString& rest);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LineEdited(EntryField field, const QString& text);
    void Report(EntryField field, const QString& offered, const QString& kept);

    EntryBoxes boxes_;
    Prompter& prompter_;
    // Each one-line box's text before the user's latest edit.
    std::array<QString, EntryFieldCount> before_;
};
