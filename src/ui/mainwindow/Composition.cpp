#include "ui/mainwindow/Composition.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QTimer>

namespace {

// Long enough for an input method's daemon to answer on the same machine,
// short enough not to be felt; waited only while text is being converted.
constexpr int CommitWaitMilliseconds = 500;

} // namespace

bool Composition::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::InputMethod) {
        const auto* method = static_cast<QInputMethodEvent*>(event);
        composing_ = method->preeditString().isEmpty() ? nullptr : static_cast<QWidget*>(watched);
        if (!method->commitString().isEmpty()) {
            ++commits_;
            Q_EMIT Committed();
        }
    }
    return QObject::eventFilter(watched, event);
}

void Composition::Finish()
{
    if (!composing_ || !composing_->hasFocus())
        return;
    // Only a reset: an input method asked to commit as well would commit the
    // text twice, once into this page and again into the next.
    const int commits = commits_;
    QGuiApplication::inputMethod()->reset();
    if (commits_ == commits) {
        QEventLoop wait;
        connect(this, &Composition::Committed, &wait, &QEventLoop::quit);
        QTimer::singleShot(CommitWaitMilliseconds, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (composing_ && commits_ == commits) {
        // Nothing came: the text is dropped, and the box no longer shows it.
        QInputMethodEvent dropped;
        QCoreApplication::sendEvent(composing_, &dropped);
    }
    composing_ = nullptr;
}
