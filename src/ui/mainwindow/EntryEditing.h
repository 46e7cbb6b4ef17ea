#pragma once

#include "core/diary/EntryField.h"
#include "ui/mainwindow/EntryBoxes.h"

#include <QObject>
#include <array>

class QLineEdit;
class QSlider;
class QWidget;
class DiaryStore;
class UpDown;
struct AppSettings;

// How the entry area behaves while the user types: every change marks the
// page as changed, the expense switches between its shown and editing forms,
// Enter moves on through the fields, the arrow keys step the weather, and the
// slider steps through the pages.
class EntryEditing : public QObject
{
    Q_OBJECT
public:
    struct Controls
    {
        QWidget* window;
        EntryBoxes fieldBoxes;
        UpDown* weatherSpinner;
        QLineEdit* fontSizeBox;
        UpDown* fontSizeSpinner;
        QSlider* slider;
    };

    static const std::array<QString, 9>& WeatherWords();

    EntryEditing(const Controls& controls, DiaryStore& store, const AppSettings& app);

    void MarkPageChanged();
    // A field got the focus: the expense takes its editing form only while
    // it has it, and a one-line box is selected whole.
    void EnterField(EntryField field);
    // Sees every key of the window; the focused control still gets it.
    void HandleWindowKey(int key);
    // The weather box shows the word the spinner stands on.
    void ShowWeatherWord();
    // Stores the shown page and shows the one the slider points at.
    void TurnToPage(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* Box(EntryField field) const { return controls_.fieldBoxes.Box(field); }
    QLineEdit* Expense() const { return controls_.fieldBoxes.Line(EntryField::Expense); }

    Controls controls_;
    DiaryStore& store_;
    const AppSettings& app_;
};
