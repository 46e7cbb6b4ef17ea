#include "ui/platform/SilentPasswords.h"

#include <QAccessible>
#include <QLineEdit>
#include <QStyle>

namespace {

QAccessible::UpdateHandler nextHandler = nullptr;

void HidePasswords(QAccessibleEvent* event);

void PassOn(QAccessibleEvent* event)
{
    if (nextHandler) {
        nextHandler(event);
        return;
    }
    // Without a handler Qt hands the event to the desktop's bridge.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(HidePasswords);
}

// The box's own dots, one for each letter.
QString Dots(const QLineEdit& box, const QString& text)
{
    const int dot = box.style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, &box);
    return QString(text.size(), QChar(dot));
}

void HidePasswords(QAccessibleEvent* event)
{
    const auto* box = qobject_cast<const QLineEdit*>(event->object());
    if (!box || box->echoMode() == QLineEdit::Normal) {
        PassOn(event);
        return;
    }
    QObject* object = event->object();
    switch (event->type()) {
    case QAccessible::TextInserted: {
        const auto* typed = static_cast<const QAccessibleTextInsertEvent*>(event);
        QAccessibleTextInsertEvent hidden(object, typed->changePosition(), Dots(*box, typed->textInserted()));
        PassOn(&hidden);
        return;
    }
    case QAccessible::TextRemoved: {
        const auto* removed = static_cast<const QAccessibleTextRemoveEvent*>(event);
        QAccessibleTextRemoveEvent hidden(object, removed->changePosition(), Dots(*box, removed->textRemoved()));
        PassOn(&hidden);
        return;
    }
    case QAccessible::TextUpdated: {
        const auto* updated = static_cast<const QAccessibleTextUpdateEvent*>(event);
        QAccessibleTextUpdateEvent hidden(object, updated->changePosition(), Dots(*box, updated->textRemoved()),
                                          Dots(*box, updated->textInserted()));
        PassOn(&hidden);
        return;
    }
    default:
        PassOn(event);
    }
}

} // namespace

void SilentPasswords::Install()
{
    const QAccessible::UpdateHandler before = QAccessible::installUpdateHandler(HidePasswords);
    if (before != HidePasswords)
        nextHandler = before;
}
