#pragma once

#include <QString>

// The widget, with the objectName that tests and accessibility tools know it by.
template <typename Widget> Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
