#pragma once

#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;
class Prompter;

// The new password typed twice, with the hint of its strength under it: the
// rows the lock, change and forgotten-password windows share.
struct NewPasswordRows
{
    QLineEdit* password; // txtNewPassword
    QLineEdit* again;    // txtConfirmPassword
    QLabel* strength;    // lblStrength

    // Adds the rows to `grid` from row `row` on, captions in column 0.
    static NewPasswordRows Build(QWidget& window, QGridLayout& grid, int row);
    // Whether the two boxes hold the same password, not empty; otherwise
    // says why and puts the cursor where it is to be mended.
    bool Check(Prompter& prompter) const;
};
