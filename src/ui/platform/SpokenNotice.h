#pragma once

#include <QString>

class QWidget;

// A short text a screen reader reads out at once, for what the window shows
// without a word: another page, a search that found nothing. Nothing shows on
// screen; the window keeps one unseen notification line for it.
class SpokenNotice
{
public:
    static void Say(QWidget& window, const QString& text);
};
