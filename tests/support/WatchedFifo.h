#pragma once
// A named pipe (FIFO) made at a path, for tests of the readers that must
// refuse it: a reader that opens it for reading waits for a writer for
// good.  A watchdog thread releases such a reader once the bound has
// passed, by opening the pipe for writing and closing it again (the reader
// then reads the end of the file), so a reader that waits fails its test
// instead of hanging the suite; readerWasReleased() says it had to.  A
// reader that refuses the pipe never opens it, so the watchdog finds none.

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zq::test {

class WatchedFifo {
public:
    explicit WatchedFifo(const QString& path,
                         std::chrono::milliseconds bound = std::chrono::seconds(5));
    ~WatchedFifo(); // stops the watchdog; the pipe stays
    WatchedFifo(const WatchedFifo&) = delete;
    WatchedFifo& operator=(const WatchedFifo&) = delete;

    bool ok() const { return ok_; }
    bool readerWasReleased() const { return released_; }

private:
    void watch(std::chrono::milliseconds bound);

    QByteArray path_;
    bool ok_ = false;
    std::atomic<bool> released_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread watchdog_;
};

} // namespace zq::test
