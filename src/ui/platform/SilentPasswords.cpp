#include "ui/platform/SilentPasswords.h"

#include <QAccessible>
#include <QApplication>
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

// The desktop's dots, one for each letter.
QString Dots(const QString& text)
{
    return QString(text.size(), QChar(QApplication::style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter)));
}

bool IsTextChange(QAccessible::Event type)
{
    return type == QAccessible::TextInserted || type == QAccessible::TextRemoved || type == QAccessible::TextUpdated;
}

// Only the interface is asked which box changed: the object may be another
// library's (the help browser's) and is not to be touched.
void HidePasswords(QAccessibleEvent* event)
{
    QAccessibleInterface* box = IsTextChange(event->type()) ? event->accessibleInterface() : nullptr;
    if (!box || !box->state().passwordEdit) {
        PassOn(event);
        return;
    }
    QObject* object = event->object();
    switch (event->type()) {
    case QAccessible::TextInserted: {
        const auto* typed = static_cast<const QAccessibleTextInsertEvent*>(event);
        QAccessibleTextInsertEvent hidden(object, typed->changePosition(), Dots(typed->textInserted()));
        PassOn(&hidden);
        return;
    }
    case QAccessible::TextRemoved: {
        const auto* removed = static_cast<const QAccessibleTextRemoveEvent*>(event);
        QAccessibleTextRemoveEvent hidden(object, removed->changePosition(), Dots(removed->textRemoved()));
        PassOn(&hidden);
        return;
    }
    default: {
        const auto* updated = static_cast<const QAccessibleTextUpdateEvent*>(event);
        QAccessibleTextUpdateEvent hidden(object, updated->changePosition(), Dots(updated->textRemoved()),
                                          Dots(updated->textInserted()));
        PassOn(&hidden);
    }
    }
}

} // namespace

void SilentPasswords::Install()
{
    const QAccessible::UpdateHandler before = QAccessible::installUpdateHandler(HidePasswords);
    if (before != HidePasswords)
        nextHandler = before;
}
