#include "platform/KeyLine.h"

#include "platform/ComPorts.h"
#include "platform/PortAccess.h"

#include <cerrno>
#include <functional>
#include <cstring>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace zq {

// ---------------------------------------------------------------------------
// KeyLine

bool KeyLine::set(KeySignal s, bool on)
{
    std::lock_guard lock(mutex_);
    if (!open_)
        return false;
    if (!drive(s, on))
        return false;
    raised_[static_cast<int>(s)] = on;
    return true;
}

void KeyLine::close()
{
    std::lock_guard lock(mutex_);
    if (!open_)
        return;
    for (KeySignal s : {KeySignal::Rts, KeySignal::Dtr}) {
        if (raised_[static_cast<int>(s)]) {
            drive(s, false);
            raised_[static_cast<int>(s)] = false;
        }
    }
    release();
    open_ = false;
}

bool KeyLine::isOpen() const
{
    std::lock_guard lock(mutex_);
    return open_;
}

namespace {

QString systemError(const QString& device, int err)
{
    return QStringLiteral("%1: %2").arg(device, QString::fromLocal8Bit(std::strerror(err)));
}

int openDevice(const QString& device)
{
    int fd;
    do {
        fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A serial port's DTR and RTS lines on our own descriptor.  TIOCEXCL keeps
// every other opener out while we hold it.
class SerialKeyLine final : public KeyLine {
public:
    SerialKeyLine(const KeyLinePort& port, int fd) : KeyLine(port), fd_(fd) {}
    ~SerialKeyLine() override { close(); }

protected:
    bool drive(KeySignal s, bool on) override
    {
        const int bit = s == KeySignal::Dtr ? TIOCM_DTR : TIOCM_RTS;
        if (::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit) == 0)
            return true;
        // A pseudo-terminal has no modem lines: nothing to drive.
        return errno == EINVAL || errno == ENOTTY;
    }
    void release() override
    {
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// A parallel port claimed through ppdev; key down and up write its control
// register.
class ParallelKeyLine final : public KeyLine {
public:
    ParallelKeyLine(const KeyLinePort& port, int fd) : KeyLine(port), fd_(fd) {}
    ~ParallelKeyLine() override { close(); }

    bool writeControl(int value)
    {
        unsigned char v = static_cast<unsigned char>(value);
        return ::ioctl(fd_, PPWCONTROL, &v) == 0;
    }

protected:
    bool drive(KeySignal, bool on) override
    {
        return writeControl(on ? kParallelKeyDown : kParallelKeyUp);
    }
    void release() override
    {
        ::ioctl(fd_, PPRELEASE);
        ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// Opens `device` (nothing mapped: `missing` is the error) and makes it
// ours with `claim`; -1 with *error set when either fails, and *permission
// when the open was refused for want of permission.
int openAndClaim(const QString& device, const QString& missing,
                 const std::function<QString(int fd)>& claim, QString* error,
                 QString* permission)
{
    QString why = missing;
    int fd = -1;
    if (!device.isEmpty()) {
        fd = openDevice(device);
        if (fd < 0) {
            const int err = errno;
            why = systemError(device, err);
            if (permission)
                *permission = portPermissionText(device, err);
        } else if (why = claim(fd); !why.isEmpty()) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0 && error)
        *error = why;
    return fd;
}

std::unique_ptr<KeyLine> openSerial(const KeyLinePort& port, QString* error,
                                    QString* permission)
{
    const QString device = serialPortDevice(port.serialPort);
    const int fd = openAndClaim(
        device, QStringLiteral("No serial port %1.").arg(port.serialPort),
        [&device](int fd) {
            if (!::isatty(fd))
                return QStringLiteral("%1 is not a serial port.").arg(device);
            // TIOCEXCL keeps other openers out (but not a privileged one);
            // the lock also keeps out every other user of this layer.
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0)
                return systemError(device, errno);
            // No key or PTT line is left asserted by opening; a device
            // without modem lines ignores this.
            const int both = TIOCM_DTR | TIOCM_RTS;
            ::ioctl(fd, TIOCMBIC, &both);
            return QString();
        },
        error, permission);
    return fd < 0 ? nullptr : std::make_unique<SerialKeyLine>(port, fd);
}

std::unique_ptr<KeyLine> openParallel(const KeyLinePort& port, QString* error,
                                      QString* permission)
{
    const QString device = parallelPortDevice(port.parallelAddress);
    const int fd = openAndClaim(
        device, QStringLiteral("No parallel port at %1.").arg(port.parallelAddress),
        [&device](int fd) {
            unsigned char up = kParallelKeyUp;
            if (::ioctl(fd, PPCLAIM) != 0)
                return systemError(device, errno);
            if (::ioctl(fd, PPWCONTROL, &up) != 0) {
                const int err = errno;
                ::ioctl(fd, PPRELEASE);
                return systemError(device, err);
            }
            return QString();
        },
        error, permission);
    return fd < 0 ? nullptr : std::make_unique<ParallelKeyLine>(port, fd);
}

} // namespace

std::unique_ptr<KeyLine> openKeyLine(const KeyLinePort& port, QString* error,
                                     QString* permission)
{
    if (permission)
        permission->clear();
    switch (port.kind) {
    case KeyLinePort::Kind::Serial: return openSerial(port, error, permission);
    case KeyLinePort::Kind::Parallel: return openParallel(port, error, permission);
    case KeyLinePort::Kind::None: break;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// RecordingKeyLine

RecordingKeyLine::RecordingKeyLine(const KeyLinePort& port, std::unique_ptr<KeyLine> inner,
                                   TimeSource now)
    : KeyLine(port), inner_(std::move(inner)), now_(std::move(now))
{
    if (!now_)
        now_ = [] { return std::chrono::steady_clock::now(); };
}

std::vector<RecordingKeyLine::Transition> RecordingKeyLine::transitions() const
{
    std::lock_guard lock(recordMutex_);
    return transitions_;
}

void RecordingKeyLine::setOnTransition(std::function<void(const Transition&)> hook)
{
    std::lock_guard lock(recordMutex_);
    hook_ = std::move(hook);
}

bool RecordingKeyLine::drive(KeySignal s, bool on)
{
    const auto at = now_();
    if (inner_ && !inner_->set(s, on))
        return false;
    const bool parallel = port().kind == KeyLinePort::Kind::Parallel;
    const Transition t{at, s, on, parallel ? (on ? kParallelKeyDown : kParallelKeyUp) : 0};
    std::function<void(const Transition&)> hook;
    {
        std::lock_guard lock(recordMutex_);
        transitions_.push_back(t);
        hook = hook_;
    }
    if (hook)
        hook(t);
    return true;
}

void RecordingKeyLine::release()
{
    if (inner_)
        inner_->close();
}

} // namespace zq
