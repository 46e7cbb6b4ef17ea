#include "ui/platform/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

const char* const RoleMark = "sorafumiAccessibleRole";

QAccessibleInterface* WithGivenRole(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant role = widget ? widget->property(RoleMark) : QVariant();
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Role(role.toInt()));
}

} // namespace

void AccessibleRole::Give(QWidget& widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(&WithGivenRole);
        return true;
    }();
    Q_UNUSED(installed);
    widget.setProperty(RoleMark, int(role));
}
