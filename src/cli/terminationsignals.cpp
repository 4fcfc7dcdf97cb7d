// Once the event loop is ready, the signal handler only writes one byte into a socket pair; the event
// loop reads it and quits, since nothing else is safe to do inside a signal handler. Before that, the handler ends
// the process.
#include "terminationsignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};
int signalSockets[2] = {-1, -1};
volatile sig_atomic_t loopReady = 0;
bool terminating = false;

void onSignal(int signalNumber)
{
    if (!loopReady) {
        // The default action ends the process, as if the handler had never been installed (signal() and raise()
        // are safe in a handler).
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, 1);
}

} // namespace

bool quitOnTerminationSignals(std::initializer_list<int> signalNumbers)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) {
        return false;
    }
    auto *notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(signalSockets[1], &byte, 1);
        terminating = true;
        for (const int signalNumber : kTerminationSignals) {
            std::signal(signalNumber, SIG_DFL);
        }
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : signalNumbers) {
        ::sigaction(signalNumber, &action, nullptr);
    }
    return true;
}

void eventLoopStarts()
{
    loopReady = 1;
}

bool terminationRequested()
{
    return terminating;
}
