#pragma once

#include <QColor>

class QWidget;
struct AppSettings;

// The colours of the entry box being typed in: the owner's own for the box
// with the focus, the desktop's for every other one.
class ColourTheme
{
public:
    // A stored colour value: below 0x80000000 an RGB colour with red in the
    // low byte; with the top bit set a desktop colour by its index.
    static QColor ToColor(qint32 value);
    static qint32 FromColor(const QColor& colour);

    // Resets every box named "FieldBoxes", "Combo" or "RichTextBox" of the
    // window, then paints the one holding the focus in the owner's colours.
    static void ApplyActiveColors(QWidget& window, const AppSettings& app);
};
