#include "support/WatchedFifo.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zq::test {

WatchedFifo::WatchedFifo(const QString& path, std::chrono::milliseconds bound)
    : path_(QFile::encodeName(path))
{
    ok_ = ::mkfifo(path_.constData(), 0644) == 0;
    if (ok_)
        watchdog_ = std::thread([this, bound] { watch(bound); });
}

WatchedFifo::~WatchedFifo()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (watchdog_.joinable())
        watchdog_.join();
}

void WatchedFifo::watch(std::chrono::milliseconds bound)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_for(lock, bound, [this] { return stop_; }))
        return;
    // Past the bound: every reader found on the pipe is released, as long
    // as the test runs.
    do {
        // Opening for writing without waiting succeeds only while a reader
        // has the pipe open (or waits in its open).
        const int fd = ::open(path_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            released_ = true;
            ::close(fd);
        }
    } while (!wake_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stop_; }));
}

} // namespace zq::test
