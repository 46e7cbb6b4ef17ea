#include "ui/mainwindow/ToolbarKeys.h"

#include <QAction>
#include <QKeyEvent>
#include <QToolBar>
#include <QToolButton>

ToolbarKeys::ToolbarKeys(QToolBar& toolbar) : QObject(&toolbar), toolbar_(toolbar)
{
    const QList<QToolButton*> buttons = Buttons();
    for (QToolButton* button : buttons)
        button->installEventFilter(this);
    MakeTabStop(buttons.value(0));
}

QList<QToolButton*> ToolbarKeys::Buttons() const
{
    QList<QToolButton*> buttons;
    for (QAction* action : toolbar_.actions())
        if (auto* button = qobject_cast<QToolButton*>(toolbar_.widgetForAction(action)))
            buttons << button;
    return buttons;
}

void ToolbarKeys::MakeTabStop(QToolButton* stop)
{
    // Only the buttons' own focus changes: a click still leaves the focus
    // where the user writes.
    for (QToolButton* button : Buttons())
        button->setFocusPolicy(button == stop ? Qt::TabFocus : Qt::NoFocus);
}

bool ToolbarKeys::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier)
            return HandleKey(*button, key->key());
    }
    // Tab, Shift+Tab or a click elsewhere leaves the toolbar: the next Tab
    // into it starts at its first button again, which is never disabled.
    if (button && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason)
            MakeTabStop(Buttons().value(0));
    }
    return QObject::eventFilter(watched, event);
}

bool ToolbarKeys::HandleKey(QToolButton& button, int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        button.click();
        return true;
    case Qt::Key_Down:
        if (button.menu())
            button.showMenu();
        return true;
    case Qt::Key_Up:
        // A button would pass Up and Down on as Shift+Tab and Tab.
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        MoveFocus(button, key);
        return true;
    default:
        return false;
    }
}

void ToolbarKeys::MoveFocus(QToolButton& from, int key)
{
    QList<QToolButton*> usable;
    for (QToolButton* button : Buttons())
        if (button == &from || (button->isEnabled() && button->isVisible()))
            usable << button;
    const qsizetype count = usable.size();
    const qsizetype here = usable.indexOf(&from);
    qsizetype next = 0;
    if (key == Qt::Key_End)
        next = count - 1;
    else if (key == Qt::Key_Left)
        next = (here + count - 1) % count;
    else if (key == Qt::Key_Right)
        next = (here + 1) % count;
    MakeTabStop(usable[next]);
    usable[next]->setFocus(Qt::OtherFocusReason);
}
