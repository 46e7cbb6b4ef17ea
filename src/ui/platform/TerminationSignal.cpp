#include "ui/platform/TerminationSignal.h"

#include <QSocketNotifier>
#include <QObject>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler may only write: the window is closed from the event loop,
// which reads the other end.
int wakeUp[2] = {-1, -1};

void Notify(int)
{
    const char signalled = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[0], &signalled, 1);
}

} // namespace

void TerminationSignal::OnSignal(QObject& receiver, std::function<void()> end)
{
    if (wakeUp[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeUp) != 0)
        return;
    auto* notifier = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, &receiver);
    QObject::connect(notifier, &QSocketNotifier::activated, &receiver, [end = std::move(end), notifier] {
        notifier->setEnabled(false);
        end();
    });
    struct sigaction action = {};
    action.sa_handler = Notify;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}
