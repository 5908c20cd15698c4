#include "platform/EndSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zq {

namespace {

int signalPipe[2] = {-1, -1};

std::function<void(int)>& handler()
{
    static std::function<void(int)> h;
    return h;
}

// Runs in signal context: one write, nothing else.
extern "C" void onEndSignal(int signal)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

void readSignals()
{
    unsigned char bytes[16];
    ssize_t n;
    while ((n = ::read(signalPipe[0], bytes, sizeof bytes)) > 0 || (n < 0 && errno == EINTR)) {
        for (ssize_t i = 0; i < n; ++i)
            if (handler())
                handler()(bytes[i]);
    }
}

} // namespace

bool installEndSignalHandlers(std::function<void(int)> onSignal)
{
    handler() = std::move(onSignal);
    if (signalPipe[0] >= 0)
        return true;
    auto* app = QCoreApplication::instance();
    if (!app || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, [] { readSignals(); });
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    bool ok = true;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ok = ::sigaction(s, &action, nullptr) == 0 && ok;
    return ok;
}

} // namespace zq
