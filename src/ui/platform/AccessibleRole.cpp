#include "ui/platform/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {

const char* const RoleMark = "sorafumiAccessibleRole";

// Roles are given to labels alone. The class name is looked at first: the
// object may be another library's, half made, and is not to be touched then.
QAccessibleInterface* WithGivenRole(const QString& className, QObject* object)
{
    if (className != QLatin1String("QLabel"))
        return nullptr;
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant role = widget ? widget->property(RoleMark) : QVariant();
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Role(role.toInt()));
}

} // namespace

void AccessibleRole::Give(QLabel& label, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(&WithGivenRole);
        return true;
    }();
    Q_UNUSED(installed);
    label.setProperty(RoleMark, int(role));
}
