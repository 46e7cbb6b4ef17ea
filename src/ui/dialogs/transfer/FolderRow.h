#pragma once

#include <QString>

class QHBoxLayout;
class QLineEdit;
class Prompter;

// A folder box with a 参照... button beside it: the button opens the folder
// picker on the folder typed, and a folder chosen replaces the text.
class FolderRow
{
public:
    static QHBoxLayout* Make(QLineEdit* box, Prompter& prompter, const QString& pickerTitle);
};
