#pragma once

#include <QRectF>
#include <QString>

// What loading and saving the settings needs of the main window: its place and
// size in twips and the text of its font-size box.
class SettingsView
{
public:
    virtual ~SettingsView() = default;

    virtual void SetLeft(double twips) = 0;
    virtual void SetTop(double twips) = 0;
    virtual void SetWidth(double twips) = 0;
    virtual void SetHeight(double twips) = 0;
    virtual bool IsMinimized() const = 0;
    // False where the window system keeps a window's place to itself, as on
    // Wayland: the place the window gives then is none the user chose.
    virtual bool KnowsPlace() const = 0;
    // Left, top, width and height; a maximised window gives its maximised bounds.
    virtual QRectF BoundsInTwips() const = 0;
    virtual QString FontSizeText() const = 0;
};
