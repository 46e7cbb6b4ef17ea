#pragma once

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QTest>

// The desktop's colours a window may be made in: the style's own light ones
// and a dark scheme as desktop colour tools offer it.
inline QPalette DarkPalette()
{
    QPalette dark;
    const QColor white(Qt::white);
    const QColor grey(0x80, 0x80, 0x80);
    for (const auto& [role, colour] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>>{
             {QPalette::Window, QColor(0x35, 0x35, 0x35)},
             {QPalette::WindowText, white},
             {QPalette::Base, QColor(0x2a, 0x2a, 0x2a)},
             {QPalette::AlternateBase, QColor(0x42, 0x42, 0x42)},
             {QPalette::Text, white},
             {QPalette::Button, QColor(0x35, 0x35, 0x35)},
             {QPalette::ButtonText, white},
             {QPalette::Highlight, QColor(0x2a, 0x82, 0xda)},
             {QPalette::HighlightedText, white},
             {QPalette::ToolTipBase, QColor(0x35, 0x35, 0x35)},
             {QPalette::ToolTipText, white}})
        dark.setColor(role, colour);
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, grey);
    return dark;
}

// A data column "palette" with both.
inline void AddPaletteRows()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << DarkPalette();
}

// The application's colours for one test, restored after it.
struct PaletteForTest
{
    explicit PaletteForTest(const QPalette& palette) { QApplication::setPalette(palette); }
    ~PaletteForTest() { QApplication::setPalette(saved); }
    const QPalette saved = QApplication::palette();
};
