#include "ui/mainwindow/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

UpDown::UpDown(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), value_(minimum)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const Qt::ArrowType arrow : {Qt::UpArrow, Qt::DownArrow}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(button);
        const int step = arrow == Qt::UpArrow ? 1 : -1;
        connect(button, &QToolButton::clicked, this, [this, step] { SetValue(value_ + step); });
        (arrow == Qt::UpArrow ? up_ : down_) = button;
    }
}

void UpDown::NameArrows(const QString& up, const QString& down)
{
    up_->setAccessibleName(up);
    down_->setAccessibleName(down);
}

bool UpDown::SetValue(int value)
{
    if (value < minimum_ || value > maximum_)
        return false;
    value_ = value;
    Q_EMIT Change();
    return true;
}
