#pragma once

#include <QDate>
#include <QString>

class QLabel;
class QWidget;

// What a screen reader says where the screen alone would not tell it: the
// program's short forms read out, captions tied to their boxes, and texts
// that change without the focus moving.
class SpokenText
{
public:
    // "2026年12月8日 火曜日"; empty for an invalid date.
    static QString Date(QDate date);
    // An amount in the program's shown form ("\1,500", "(\500)") as it is
    // read: "1,500円", "マイナス500円"; any other text as it is.
    static QString Amount(const QString& shown);

    // The box is named by the caption beside it, without its colon, and the
    // caption is its label.
    static void NameFromCaption(QLabel& caption, QWidget& box);
    // A caption as a name: no mnemonic, no trailing colon.
    static QString WithoutColon(const QString& caption);

    // Shows `text` in a status line and has it read out although the focus
    // is elsewhere.
    static void Announce(QLabel& status, const QString& text);
    // Has `text` read as what a control now holds, its description, where the
    // control shows more than is to be heard at once.
    static void Describe(QWidget& control, const QString& text);
};
