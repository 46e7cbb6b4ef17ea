#pragma once

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
        std::array<QWidget*, 7> fieldBoxes;
        UpDown* weatherSpinner;
        QLineEdit* fontSizeBox;
        UpDown* fontSizeSpinner;
        QSlider* slider;
    };

    static const std::array<QString, 9>& WeatherWords();

    EntryEditing(const Controls& controls, DiaryStore& store, const AppSettings& app);

    void FieldBoxes_Change();
    void FieldBoxes_GotFocus(int index);
    // Sees every key of the window; the focused control still gets it.
    void Form_KeyDown(int key);
    void UpDown1_Change();
    void Slider1_Scroll(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* Expense() const;

    Controls controls_;
    DiaryStore& store_;
    const AppSettings& app_;
};
