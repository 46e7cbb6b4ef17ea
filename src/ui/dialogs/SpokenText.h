#pragma once

#include <QString>

class QLabel;
class QWidget;

// What a screen reader says for the tool windows, where the screen alone
// would not tell it: a caption tied to its box, amounts in yen, and results
// that appear without the focus moving.
class SpokenText
{
public:
    // The box is named by the caption beside it, without its colon, and the
    // caption is its label.
    static void NameFromCaption(QLabel& caption, QWidget& box);
    // A caption as a name: no mnemonic, no trailing colon.
    static QString WithoutColon(const QString& caption);
    // An amount in the program's shown form ("\1,500", "(\500)") as it is
    // read: "1,500円", "-500円"; any other text as it is.
    static QString Amount(const QString& shown);
    // Shows `text` in a status line and has it spoken although the focus is
    // elsewhere.
    static void Announce(QLabel& status, const QString& text);
    // Has `text` spoken as what a control now holds, its description, where
    // the control shows more than is to be heard at once.
    static void Describe(QWidget& control, const QString& text);
};
