#include "platform/SerialPort.h"

#include "platform/ComPorts.h"
#include "platform/PortAccess.h"

#include <QStringList>
#include <chrono>
#include <thread>

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>

namespace zq {

std::optional<SerialSettings> parseSerialSettings(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    SerialSettings s;
    bool ok = false;
    const qlonglong baud = parts[0].trimmed().toLongLong(&ok);
    if (!ok || baud <= 0 || baud > 4'000'000)
        return std::nullopt;
    s.baud = static_cast<qint32>(baud);

    const QString parity = parts[1].trimmed().toUpper();
    if (parity == QLatin1String("N"))
        s.parity = QSerialPort::NoParity;
    else if (parity == QLatin1String("O"))
        s.parity = QSerialPort::OddParity;
    else if (parity == QLatin1String("E"))
        s.parity = QSerialPort::EvenParity;
    else if (parity == QLatin1String("M"))
        s.parity = QSerialPort::MarkParity;
    else if (parity == QLatin1String("S"))
        s.parity = QSerialPort::SpaceParity;
    else
        return std::nullopt;

    const QString data = parts[2].trimmed();
    if (data == QLatin1String("5"))
        s.dataBits = QSerialPort::Data5;
    else if (data == QLatin1String("6"))
        s.dataBits = QSerialPort::Data6;
    else if (data == QLatin1String("7"))
        s.dataBits = QSerialPort::Data7;
    else if (data == QLatin1String("8"))
        s.dataBits = QSerialPort::Data8;
    else
        return std::nullopt;

    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        s.stopBits = QSerialPort::OneStop;
    else if (stop == QLatin1String("1.5"))
        s.stopBits = QSerialPort::OneAndHalfStop;
    else if (stop == QLatin1String("2"))
        s.stopBits = QSerialPort::TwoStop;
    else
        return std::nullopt;
    return s;
}

SerialPort::SerialPort(QObject* parent) : QObject(parent), port_(new QSerialPort(this))
{
    settings_ = *parseSerialSettings(settingsText_);
    port_->setReadBufferSize(ReadBufferSize);
    connect(port_, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onError(e); });
}

SerialPort::~SerialPort()
{
    close();
}

QString SerialPort::deviceName() const
{
    return serialPortDevice(commPort_);
}

bool SerialPort::setSettings(const QString& text)
{
    const std::optional<SerialSettings> s = parseSerialSettings(text);
    if (!s) {
        error_ = QStringLiteral("Invalid settings \"%1\".").arg(text);
        return false;
    }
    if (isOpen()) {
        const bool ok = port_->setBaudRate(s->baud) && port_->setParity(s->parity)
                        && port_->setDataBits(s->dataBits) && port_->setStopBits(s->stopBits);
        if (!ok) {
            error_ = port_->errorString();
            port_->clearError();
            // Put back what the port had.
            port_->setBaudRate(settings_.baud);
            port_->setParity(settings_.parity);
            port_->setDataBits(settings_.dataBits);
            port_->setStopBits(settings_.stopBits);
            port_->clearError();
            return false;
        }
        applyHandshaking();
    }
    settings_ = *s;
    settingsText_ = text;
    return true;
}

void SerialPort::setHandshaking(Handshaking h)
{
    handshaking_ = h;
    if (isOpen())
        applyHandshaking();
}

void SerialPort::setDTREnable(bool on)
{
    dtr_ = on;
    if (isOpen())
        applyLines();
}

void SerialPort::setRTSEnable(bool on)
{
    rts_ = on;
    if (isOpen())
        applyLines();
}

void SerialPort::applyLines()
{
    // A device without modem lines (a pseudo-terminal) refuses them; what
    // was asked for stays recorded and the port stays usable.
    port_->setDataTerminalReady(dtr_);
    // With hardware flow control the driver owns RTS.
    if (handshaking_ != Handshaking::Rts && handshaking_ != Handshaking::RtsXonXoff)
        port_->setRequestToSend(rts_);
    port_->clearError();
}

bool SerialPort::applyHandshaking()
{
    bool ok = true;
    switch (handshaking_) {
    case Handshaking::None: ok = port_->setFlowControl(QSerialPort::NoFlowControl); break;
    case Handshaking::XonXoff: ok = port_->setFlowControl(QSerialPort::SoftwareControl); break;
    case Handshaking::Rts: ok = port_->setFlowControl(QSerialPort::HardwareControl); break;
    case Handshaking::RtsXonXoff: {
        ok = port_->setFlowControl(QSerialPort::HardwareControl);
        termios t{};
        const int fd = static_cast<int>(port_->handle());
        if (ok && fd >= 0 && ::tcgetattr(fd, &t) == 0) {
            t.c_cflag |= CRTSCTS;
            t.c_iflag |= IXON | IXOFF;
            ok = ::tcsetattr(fd, TCSANOW, &t) == 0;
        }
        break;
    }
    }
    port_->clearError();
    return ok;
}

bool SerialPort::open()
{
    permissionText_.clear();
    if (isOpen()) {
        error_ = QStringLiteral("The port is already open.");
        return false;
    }
    const QString device = deviceName();
    if (device.isEmpty()) {
        error_ = QStringLiteral("Port %1 names no device.").arg(commPort_);
        return false;
    }
    port_->setPortName(device);
    port_->setBaudRate(settings_.baud);
    port_->setParity(settings_.parity);
    port_->setDataBits(settings_.dataBits);
    port_->setStopBits(settings_.stopBits);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    port_->clearError();
    // Settings the device refuses fail the open, as a missing device does.
    if (!port_->open(QIODevice::ReadWrite)) {
        error_ = QStringLiteral("%1: %2").arg(device, port_->errorString());
        // Qt does not give the system's reason (and says "permission" for
        // a port in use too): the device itself tells whether this user
        // may open it.
        permissionText_ = portPermissionTextAfterFailedOpen(device);
        port_->clearError();
        return false;
    }
    ++opening_;
    losing_ = false;
    applyHandshaking();
    applyLines();
    error_.clear();
    return true;
}

void SerialPort::close()
{
    losing_ = false;
    if (port_->isOpen())
        port_->close();
    port_->clearError();
}

bool SerialPort::isOpen() const
{
    return port_->isOpen();
}

bool SerialPort::output(const QByteArray& bytes)
{
    if (!isOpen() || losing_)
        return false;
    if (bytes.isEmpty())
        return true;
    if (port_->write(bytes) != bytes.size()) {
        error_ = port_->errorString();
        port_->clearError();
        return false;
    }
    // As much as the driver takes now, without waiting.  A driver that takes
    // nothing now (a line held by flow control, a radio not reading) gets
    // the bytes later from the event loop: writing into it would fail and
    // be taken for a vanished device.
    const int fd = static_cast<int>(port_->handle());
    pollfd p{fd, POLLOUT, 0};
    if (fd >= 0 && ::poll(&p, 1, 0) == 1 && (p.revents & POLLOUT))
        port_->flush();
    return true;
}

bool SerialPort::outputText(const QString& text)
{
    return output(text.toLatin1());
}

QByteArray SerialPort::input()
{
    if (!isOpen())
        return {};
    // A zero timeout only looks: it takes what the driver holds now.  What
    // arrived before a hang-up is still handed out.
    if (!losing_)
        port_->waitForReadyRead(0);
    if (!isOpen())
        return {};
    return port_->readAll();
}

QString SerialPort::inputText()
{
    return QString::fromLatin1(input());
}

qint64 SerialPort::outBufferCount() const
{
    if (!isOpen())
        return 0;
    qint64 n = port_->bytesToWrite();
    int queued = 0;
    const int fd = static_cast<int>(port_->handle());
    if (fd >= 0 && ::ioctl(fd, TIOCOUTQ, &queued) == 0 && queued > 0)
        n += queued;
    return n;
}

void SerialPort::discardInput()
{
    input();
}

bool SerialPort::drain(int maxMs)
{
    if (!isOpen())
        return true;
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(maxMs);
    auto left = [&] {
        return static_cast<int>(
            std::max<qint64>(0, duration_cast<milliseconds>(deadline - steady_clock::now()).count()));
    };
    // A line that hung up takes nothing more: no waiting on it.
    while (isOpen() && !losing_ && port_->bytesToWrite() > 0 && left() > 0)
        port_->waitForBytesWritten(left());
    while (isOpen() && !losing_ && outBufferCount() > 0 && left() > 0)
        std::this_thread::sleep_for(milliseconds(2));
    return !losing_ && outBufferCount() == 0;
}

void SerialPort::onError(QSerialPort::SerialPortError e)
{
    if (e == QSerialPort::NoError)
        return;
    error_ = port_->errorString();
    if (!port_->isOpen() || losing_)
        return;
    // A device that went away fails with ResourceError.  One that hung up
    // (the far end of a pseudo-terminal closed, a modem line dropped) reads
    // end-of-file: Qt reports a ReadError each time and keeps the read
    // notifier on, so the port would spin until closed.  Other read and
    // write errors leave the port open.
    if (e != QSerialPort::ResourceError
        && !((e == QSerialPort::ReadError || e == QSerialPort::WriteError) && hungUp()))
        return;
    // The error comes from inside Qt's own read or write; the port is closed
    // once control is back in the event loop, if it is still the same
    // opening.
    losing_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, opening = opening_] {
            if (opening != opening_ || !losing_)
                return;
            losing_ = false;
            if (!port_->isOpen())
                return;
            const QString why = error_;
            port_->close();
            port_->clearError();
            error_ = why.isEmpty() ? QStringLiteral("The device hung up.") : why;
            emit lost();
        },
        Qt::QueuedConnection);
}

bool SerialPort::hungUp() const
{
    const int fd = static_cast<int>(port_->handle());
    if (fd < 0)
        return true;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0)
        return false;
    return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

} // namespace zq
