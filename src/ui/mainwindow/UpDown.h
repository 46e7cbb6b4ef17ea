#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons that step a whole number within a range.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(int minimum, int maximum, QWidget* parent = nullptr);

    int Value() const { return value_; }
    // A value outside the range is refused and nothing changes.
    bool SetValue(int value);
    // What a screen reader calls the arrows: what a press does.
    void NameArrows(const QString& up, const QString& down);

Q_SIGNALS:
    void Change();

private:
    int minimum_;
    int maximum_;
    int value_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};
