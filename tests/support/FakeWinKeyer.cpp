#include "support/FakeWinKeyer.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace zq::test {

namespace {

// Bytes that follow a command byte before the next command starts.
int argumentCount(const std::deque<uint8_t>& cmd)
{
    switch (cmd.front()) {
    case 0x00: // admin: the sub-command, and for the echo test its byte
        if (cmd.size() < 2)
            return 1;
        return cmd[1] == 0x04 ? 2 : 1;
    case 0x02: case 0x03: case 0x09: case 0x0E: case 0x17: return 1;
    case 0x04: return 2;
    default: return 0;
    }
}

} // namespace

FakeWinKeyer::FakeWinKeyer()
{
    char name[128] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    path_ = QString::fromLocal8Bit(name);
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    int fds[2];
    if (pipe(fds) == 0) {
        wakeRead_ = fds[0];
        wakeWrite_ = fds[1];
    }
    thread_ = std::thread([this] { run(); });
}

FakeWinKeyer::~FakeWinKeyer()
{
    {
        std::lock_guard<std::mutex> lock(m_);
        stop_ = true;
    }
    cv_.notify_all();
    wake();
    if (thread_.joinable())
        thread_.join();
    for (int fd : {master_, slave_, wakeRead_, wakeWrite_})
        if (fd >= 0)
            ::close(fd);
}

void FakeWinKeyer::wake()
{
    if (wakeWrite_ >= 0) {
        const char c = 1;
        [[maybe_unused]] const auto n = ::write(wakeWrite_, &c, 1);
    }
}

void FakeWinKeyer::setVersion(uint8_t v)
{
    std::lock_guard<std::mutex> lock(m_);
    version_ = v;
}

void FakeWinKeyer::setSilent(bool silent)
{
    std::lock_guard<std::mutex> lock(m_);
    silent_ = silent;
}

void FakeWinKeyer::setEchoReply(int byte)
{
    std::lock_guard<std::mutex> lock(m_);
    echoReply_ = byte;
}

void FakeWinKeyer::setHostOpenSilent(bool silent)
{
    std::lock_guard<std::mutex> lock(m_);
    hostOpenSilent_ = silent;
}

void FakeWinKeyer::send(const QByteArray& bytes)
{
    {
        std::lock_guard<std::mutex> lock(m_);
        outgoing_ += bytes;
    }
    wake();
}

void FakeWinKeyer::unplug()
{
    std::unique_lock<std::mutex> lock(m_);
    unplugRequested_ = true;
    lock.unlock();
    wake();
    lock.lock();
    cv_.wait_for(lock, std::chrono::seconds(5), [this] { return unplugged_; });
}

QByteArray FakeWinKeyer::received() const
{
    std::lock_guard<std::mutex> lock(m_);
    QByteArray out;
    for (const Byte& b : received_)
        out.append(static_cast<char>(b.value));
    return out;
}

std::vector<FakeWinKeyer::Byte> FakeWinKeyer::receivedStamped() const
{
    std::lock_guard<std::mutex> lock(m_);
    return received_;
}

void FakeWinKeyer::clearReceived()
{
    std::lock_guard<std::mutex> lock(m_);
    received_.clear();
}

termios FakeWinKeyer::lineSettings() const
{
    termios t{};
    std::lock_guard<std::mutex> lock(m_);
    if (!unplugged_ && master_ >= 0)
        tcgetattr(master_, &t);
    return t;
}

bool FakeWinKeyer::waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

bool FakeWinKeyer::waitForBytes(int n, int timeoutMs) const
{
    return waitUntil(
        [&] {
            std::lock_guard<std::mutex> lock(m_);
            return static_cast<int>(received_.size()) >= n;
        },
        timeoutMs);
}

void FakeWinKeyer::handle(uint8_t b, QByteArray& reply)
{
    // A byte that cannot continue the command under way starts a new one;
    // printable characters are commands of no arguments.
    command_.push_back(b);
    if (static_cast<int>(command_.size()) <= argumentCount(command_))
        return;
    const std::deque<uint8_t> cmd = std::move(command_);
    command_.clear();
    if (silent_)
        return;
    if (cmd[0] == 0x00 && cmd.size() == 3 && cmd[1] == 0x04)
        reply.append(static_cast<char>(echoReply_ >= 0 ? echoReply_ : cmd[2]));
    else if (cmd[0] == 0x00 && cmd.size() == 2 && cmd[1] == 0x02 && !hostOpenSilent_)
        reply.append(static_cast<char>(version_));
    else if (cmd[0] == 0x15)
        reply.append(static_cast<char>(0xC0)); // idle
}

void FakeWinKeyer::run()
{
    for (;;) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        const int n = ::poll(fds, 2, 1000);
        if (n < 0 && errno != EINTR)
            return;
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(wakeRead_, drain, sizeof drain) == sizeof drain) {
            }
        }
        std::unique_lock<std::mutex> lock(m_);
        if (stop_)
            return;
        if (unplugRequested_ && !unplugged_) {
            ::close(master_);
            ::close(slave_);
            master_ = slave_ = -1;
            unplugged_ = true;
            cv_.notify_all();
        }
        if (unplugged_) {
            // Nothing to serve any more; wait for the end.
            cv_.wait(lock, [this] { return stop_; });
            return;
        }
        QByteArray reply = outgoing_;
        outgoing_.clear();
        if (fds[0].revents & POLLIN) {
            uint8_t buf[256];
            const auto got = ::read(master_, buf, sizeof buf);
            const auto now = std::chrono::steady_clock::now();
            for (ssize_t i = 0; i < got; ++i) {
                received_.push_back({buf[i], now});
                handle(buf[i], reply);
            }
        }
        if (!reply.isEmpty()) {
            [[maybe_unused]] const auto w = ::write(master_, reply.constData(),
                                                    static_cast<size_t>(reply.size()));
        }
    }
}

} // namespace zq::test
