#include "ui/platform/SpokenNotice.h"

#include "ui/platform/AccessibleRole.h"

#include <QLabel>

namespace {

const char* const NoticeMark = "sorafumiSpokenNotice";

QLabel* NoticeLine(QWidget& window)
{
    for (QLabel* line : window.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (line->property(NoticeMark).toBool())
            return line;
    auto* line = new QLabel(&window);
    line->setProperty(NoticeMark, true);
    AccessibleRole::Give(*line, QAccessible::Notification);
    // Of no size: it is there for the screen reader alone.
    line->setGeometry(0, 0, 0, 0);
    return line;
}

} // namespace

// A notification is read when it appears: the line is shown anew for every
// text, the same text twice included.
void SpokenNotice::Say(QWidget& window, const QString& text)
{
    QLabel* line = NoticeLine(window);
    line->hide();
    line->setAccessibleName(text);
    line->show();
}
