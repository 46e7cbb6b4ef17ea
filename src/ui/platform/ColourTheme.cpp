#include "ui/platform/ColourTheme.h"

#include "core/settings/AppSettings.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>
#include <array>

namespace {

const std::array<QString, 3> TakingPart = {QStringLiteral("FieldBoxes"), QStringLiteral("Combo"),
                                           QStringLiteral("RichTextBox")};

bool TakesPart(const QWidget* widget)
{
    return widget && std::find(TakingPart.begin(), TakingPart.end(), widget->objectName()) != TakingPart.end();
}

// The desktop colours by the index the stored values use.
QColor DesktopColour(int index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 5: // window background
        return palette.color(QPalette::Base);
    case 8: // window text
        return palette.color(QPalette::Text);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 14: // highlighted text
        return palette.color(QPalette::HighlightedText);
    case 15: // button face
        return palette.color(QPalette::Button);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    default:
        return palette.color(QPalette::Window);
    }
}

void Paint(QWidget& box, qint32 background, qint32 text)
{
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, ColourTheme::ToColor(background));
    palette.setColor(QPalette::Text, ColourTheme::ToColor(text));
    box.setPalette(palette);
}

} // namespace

QColor ColourTheme::ToColor(qint32 value)
{
    const auto bits = quint32(value);
    if (bits & 0x80000000u)
        return DesktopColour(int(bits & 0xFF));
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

qint32 ColourTheme::FromColor(const QColor& colour)
{
    return qint32(quint32(colour.red()) | quint32(colour.green()) << 8 | quint32(colour.blue()) << 16);
}

void ColourTheme::ApplyActiveColors(QWidget& window, const AppSettings& app)
{
    for (QWidget* box : window.findChildren<QWidget*>())
        if (TakesPart(box))
            Paint(*box, AppSettings::SystemWindowBackground, AppSettings::SystemWindowText);
    QWidget* focused = window.focusWidget();
    if (TakesPart(focused) && window.isAncestorOf(focused))
        Paint(*focused, app.ActiveCtrlColor, app.ActiveFontColor);
}
