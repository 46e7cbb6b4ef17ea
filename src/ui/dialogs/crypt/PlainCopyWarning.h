#pragma once

#include <QString>

class DiaryLock;
class Prompter;

// What the export and the CSV save say first for an encrypted diary: the
// files they write are plain text.
class PlainCopyWarning
{
public:
    // True to go on: always for a plain diary (or none), and for an
    // encrypted one when the user answers OK.
    static bool Confirm(Prompter& prompter, const DiaryLock* lock, const QString& title);
};
