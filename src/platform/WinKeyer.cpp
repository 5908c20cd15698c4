#include "platform/WinKeyer.h"

#include "platform/ComPorts.h"
#include "platform/PortAccess.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSerialPort>
#include <QTimer>

#include <termios.h>

namespace zq {

// ---------------------------------------------------------------------------
// Commands

namespace wkcmd {
namespace {
QByteArray bytes(std::initializer_list<uint8_t> list)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(list.size()));
    for (uint8_t b : list)
        out.append(static_cast<char>(b));
    return out;
}
} // namespace

QByteArray echoTest() { return bytes({0x00, 0x04, 0x55}); }
QByteArray hostOpen() { return bytes({0x00, 0x02}); }
QByteArray hostClose() { return bytes({0x00, 0x03}); }
QByteArray speed(uint8_t wpm) { return bytes({0x02, wpm}); }
QByteArray weight(uint8_t weight) { return bytes({0x03, weight}); }
QByteArray pttLeadTail(uint8_t lead, uint8_t tail) { return bytes({0x04, lead, tail}); }
QByteArray pinConfig(uint8_t config) { return bytes({0x09, config}); }
QByteArray mode(uint8_t mode) { return bytes({0x0E, mode}); }
QByteArray ditDahRatio(uint8_t ratio) { return bytes({0x17, ratio}); }
QByteArray clearBuffer() { return bytes({0x0A}); }
QByteArray backspace() { return bytes({0x08}); }
QByteArray statusRequest() { return bytes({0x15}); }
} // namespace wkcmd

std::optional<char> wkCharacterByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 32 || u > 126)
        return std::nullopt;
    return static_cast<char>(u);
}

KeyerByteKind keyerByteKind(uint8_t b)
{
    if ((b & 0xC0) == 0xC0)
        return KeyerByteKind::Status;
    if ((b & 0xC0) == 0x80)
        return KeyerByteKind::SpeedPot;
    return KeyerByteKind::Echo;
}

// ---------------------------------------------------------------------------
// Session

WinKeyerSession::Step WinKeyerSession::begin()
{
    reset();
    phase_ = Phase::AwaitEcho;
    Step s;
    s.send = wkcmd::echoTest();
    return s;
}

WinKeyerSession::Step WinKeyerSession::finish(long result, uint8_t version)
{
    Step s;
    s.finished = true;
    s.result = result;
    s.version = version;
    if (result == wkresult::Success) {
        phase_ = Phase::Open;
        version_ = version;
    } else {
        reset();
    }
    return s;
}

WinKeyerSession::Step WinKeyerSession::take(QByteArrayView bytes)
{
    switch (phase_) {
    case Phase::Closed:
        return {};
    case Phase::AwaitEcho: {
        if (bytes.isEmpty())
            return {};
        if (static_cast<uint8_t>(bytes[0]) != 0x55)
            return finish(wkresult::EchoMismatch, 0);
        phase_ = Phase::AwaitVersion;
        Step s;
        s.send = wkcmd::hostOpen();
        // Anything after the echo is not an answer to host open, which has
        // not gone out yet.
        return s;
    }
    case Phase::AwaitVersion: {
        if (bytes.isEmpty())
            return {};
        const auto version = static_cast<uint8_t>(bytes[0]);
        // A keyer reports a version above 0; a 0 would leave a link that the
        // program cannot tell from a closed one.
        if (version == 0)
            return finish(wkresult::NoOpenResponse, 0);
        Step s = finish(wkresult::Success, version);
        decode(bytes.sliced(1));
        return s;
    }
    case Phase::Open:
        decode(bytes);
        return {};
    }
    return {};
}

WinKeyerSession::Step WinKeyerSession::timedOut()
{
    switch (phase_) {
    case Phase::AwaitEcho: return finish(wkresult::NoEchoResponse, 0);
    case Phase::AwaitVersion: return finish(wkresult::NoOpenResponse, 0);
    default: return {};
    }
}

void WinKeyerSession::reset()
{
    phase_ = Phase::Closed;
    status_ = 0;
    version_ = 0;
}

void WinKeyerSession::decode(QByteArrayView bytes)
{
    for (char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        if (keyerByteKind(b) == KeyerByteKind::Status)
            status_ = b & 0x1F;
    }
}

// ---------------------------------------------------------------------------
// Link

namespace {
QPointer<WinKeyerLink> g_link;
}

WinKeyerLink& WinKeyerLink::instance()
{
    if (!g_link)
        g_link = new WinKeyerLink();
    return *g_link;
}

WinKeyerLink::WinKeyerLink() : QObject(QCoreApplication::instance())
{
    port_ = new QSerialPort(this);
    answerTimer_ = new QTimer(this);
    answerTimer_->setSingleShot(true);
    answerTimer_->setTimerType(Qt::PreciseTimer);
    silenceTimer_ = new QTimer(this);
    silenceTimer_->setSingleShot(true);
    connect(port_, &QSerialPort::readyRead, this, &WinKeyerLink::onReadyRead);
    connect(port_, &QSerialPort::errorOccurred, this, &WinKeyerLink::onError);
    connect(answerTimer_, &QTimer::timeout, this, &WinKeyerLink::onAnswerTimeout);
    connect(silenceTimer_, &QTimer::timeout, this, &WinKeyerLink::onSilenceTimeout);
}

bool WinKeyerLink::isBusyOpening() const
{
    const auto p = session_.phase();
    return p == WinKeyerSession::Phase::AwaitEcho || p == WinKeyerSession::Phase::AwaitVersion;
}

QString WinKeyerLink::deviceName() const
{
    return port_->isOpen() ? port_->portName() : QString();
}

void WinKeyerLink::open(int port, OpenDone done)
{
    if (session_.phase() != WinKeyerSession::Phase::Closed) {
        done(wkresult::AlreadyOpen, 0);
        return;
    }
    permissionText_.clear();
    const QString device = serialPortDevice(port);
    if (device.isEmpty()) {
        done(wkresult::ComOpenFailed, 0);
        return;
    }
    // Setting up the line raises errors that are not failures of the link
    // (a pseudo-terminal has no modem lines).
    quiet_ = true;
    struct Loud {
        bool& q;
        ~Loud() { q = false; }
    } loud{quiet_};
    ++opening_;
    port_->setPortName(device);
    if (!port_->open(QIODevice::ReadWrite)) {
        port_->clearError();
        permissionText_ = portPermissionTextAfterFailedOpen(device);
        done(wkresult::ComOpenFailed, 0);
        return;
    }
    termios t{};
    if (tcgetattr(static_cast<int>(port_->handle()), &t) != 0) {
        closePort();
        done(wkresult::GetComStateFailed, 0);
        return;
    }
    if (!port_->setBaudRate(1200) || !port_->setDataBits(QSerialPort::Data8)
        || !port_->setParity(QSerialPort::NoParity) || !port_->setStopBits(QSerialPort::TwoStop)
        || !port_->setFlowControl(QSerialPort::NoFlowControl)) {
        closePort();
        done(wkresult::SetComStateFailed, 0);
        return;
    }
    // A device without modem lines (a pseudo-terminal) refuses these; that
    // is not a failure of the link.
    port_->setDataTerminalReady(true);
    port_->setRequestToSend(false);
    port_->clearError();
    port_->clear(QSerialPort::Input);
    port_->readAll();
    quiet_ = false;
    pending_ = std::move(done);
    apply(session_.begin());
}

void WinKeyerLink::close()
{
    const auto phase = session_.phase();
    if (phase == WinKeyerSession::Phase::Closed)
        return;
    if (phase == WinKeyerSession::Phase::Open) {
        send(wkcmd::hostClose());
        if (!port_->isOpen())
            return; // the write failed and closed the link
    }
    OpenDone cb = std::move(pending_);
    pending_ = nullptr;
    closePort();
    if (cb)
        cb(wkresult::NotOpen, 0);
}

void WinKeyerLink::send(const QByteArray& bytes)
{
    if (!port_->isOpen() || bytes.isEmpty())
        return;
    if (port_->write(bytes) != bytes.size()) {
        fail();
        return;
    }
    // Out now rather than at the next turn of the event loop; a serial
    // device's write never blocks here.
    port_->flush();
}

int WinKeyerLink::status()
{
    if (port_->isOpen() && port_->bytesAvailable() > 0)
        onReadyRead();
    return isOpen() ? session_.status() : 0;
}

void WinKeyerLink::apply(const WinKeyerSession::Step& step)
{
    if (!step.send.isEmpty())
        send(step.send);
    if (!port_->isOpen())
        return; // the write failed
    if (step.finished) {
        answerTimer_->stop();
        if (step.result != wkresult::Success)
            closePort();
        OpenDone cb = std::move(pending_);
        pending_ = nullptr;
        if (cb)
            cb(step.result, step.version);
        return;
    }
    if (isBusyOpening() && !step.send.isEmpty())
        answerTimer_->start(kAnswerMs);
}

void WinKeyerLink::onReadyRead()
{
    if (!port_->isOpen())
        return;
    const QByteArray bytes = port_->readAll();
    if (bytes.isEmpty())
        return;
    if (isBusyOpening()) {
        // One answer per step: the echo, then the version (and what follows
        // it, taken as status).
        const auto phase = session_.phase();
        WinKeyerSession::Step step = session_.take(bytes);
        if (phase == WinKeyerSession::Phase::AwaitEcho && !step.finished) {
            answerTimer_->stop();
            apply(step);
            return;
        }
        apply(step);
        if (!isOpen())
            return;
    } else {
        const int before = session_.status();
        session_.take(bytes);
        if (session_.status() != before)
            emit statusChanged(session_.status());
    }
    statusAsked_ = false;
    watchSilence();
}

void WinKeyerLink::watchSilence()
{
    if (isOpen() && (session_.status() & kWkStatusXoff))
        silenceTimer_->start(kSilentHoldMs);
    else
        silenceTimer_->stop();
}

void WinKeyerLink::onSilenceTimeout()
{
    if (!isOpen())
        return;
    if (!statusAsked_) {
        // Holding back with nothing heard: ask the keyer where it stands.
        statusAsked_ = true;
        send(wkcmd::statusRequest());
        if (isOpen())
            silenceTimer_->start(kStatusAnswerMs);
        return;
    }
    fail();
}

void WinKeyerLink::onAnswerTimeout()
{
    apply(session_.timedOut());
}

void WinKeyerLink::onError()
{
    const auto e = port_->error();
    if (quiet_ || !port_->isOpen()
        || (e != QSerialPort::ReadError && e != QSerialPort::WriteError
            && e != QSerialPort::ResourceError))
        return;
    // Errors are reported from inside reads and writes; the link is taken
    // down once control is back in the event loop, if it is still the same
    // opening of the port.
    QTimer::singleShot(0, this, [this, opening = opening_] {
        if (port_->isOpen() && opening == opening_)
            fail();
    });
}

void WinKeyerLink::fail()
{
    if (isBusyOpening()) {
        // No answer will come: the handshake ends as a silent keyer's would.
        answerTimer_->stop();
        apply(session_.timedOut());
        closePort();
        return;
    }
    const bool wasOpen = isOpen();
    closePort();
    if (wasOpen)
        emit failed();
}

void WinKeyerLink::closePort()
{
    answerTimer_->stop();
    silenceTimer_->stop();
    statusAsked_ = false;
    session_.reset();
    quiet_ = true;
    if (port_->isOpen())
        port_->close();
    port_->clearError();
    quiet_ = false;
}

// ---------------------------------------------------------------------------
// Host calls

void wk_open(int port, WinKeyerLink::OpenDone done)
{
    WinKeyerLink::instance().open(port, std::move(done));
}

void wk_close()
{
    WinKeyerLink::instance().close();
}

void wk_wpm(uint8_t wpm) { WinKeyerLink::instance().send(wkcmd::speed(wpm)); }
void wk_weight(uint8_t weight) { WinKeyerLink::instance().send(wkcmd::weight(weight)); }
void wk_ptt_leadtail(uint8_t leadIn, uint8_t tail)
{
    WinKeyerLink::instance().send(wkcmd::pttLeadTail(leadIn, tail));
}
void wk_pincfg(uint8_t config) { WinKeyerLink::instance().send(wkcmd::pinConfig(config)); }
void wk_setmode(uint8_t mode) { WinKeyerLink::instance().send(wkcmd::mode(mode)); }
void wk_ditdah_ratio(uint8_t ratio) { WinKeyerLink::instance().send(wkcmd::ditDahRatio(ratio)); }
void wk_char(char c) { WinKeyerLink::instance().send(QByteArray(1, c)); }
int32_t wk_getstatus() { return WinKeyerLink::instance().status(); }
void wk_clearbuf() { WinKeyerLink::instance().send(wkcmd::clearBuffer()); }
void wk_backspace() { WinKeyerLink::instance().send(wkcmd::backspace()); }

} // namespace zq
