#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QWidget;

// The pieces every window of the diary's lock is made of, alike in look and
// keys: captions that move the cursor to their box, password boxes with an
// accessible name, and OK / ｷｬﾝｾﾙ with OK pressed by Enter.
class CryptForm
{
public:
    // Sets the title and the font the owner windows use.
    static void Dress(QDialog& window, const QString& title);
    static QLineEdit* PasswordBox(QWidget& window, const char* objectName, const QString& accessibleName);
    // A caption with its Alt key, which moves the cursor to `buddy`.
    static QLabel* Caption(QWidget& window, const QString& text, QWidget* buddy);
    // A notice across the window, wrapped.
    static QLabel* Notice(QWidget& window, const QString& text);
    // OK (cmdOK, the default) and ｷｬﾝｾﾙ (cmdCancel, the window's reject);
    // the window connects the box's accepted to its own check.
    static QDialogButtonBox* Buttons(QDialog& window);
};
