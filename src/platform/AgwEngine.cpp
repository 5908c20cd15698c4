#include "platform/AgwEngine.h"

#include <QCoreApplication>
#include <QTcpSocket>

namespace zq {
namespace {

QString g_host;
quint16 g_port = 0;

constexpr int HeaderSize = 36;
constexpr int CallField = 10;
constexpr int RegistrationWaitMs = 2000;
constexpr qsizetype MaxInBuffer = HeaderSize + MaxAgwDataLength;

void putCall(QByteArray& header, int at, const QByteArray& call)
{
    const QByteArray c = call.left(CallField);
    for (int i = 0; i < c.size(); ++i)
        header[at + i] = c[i];
}

QByteArray callAt(const char* p)
{
    int n = 0;
    while (n < CallField && p[n] != '\0')
        ++n;
    return QByteArray(p, n);
}

quint32 le32(const char* p)
{
    return quint32(quint8(p[0])) | quint32(quint8(p[1])) << 8 | quint32(quint8(p[2])) << 16
        | quint32(quint8(p[3])) << 24;
}

QByteArray latin1Call(const QString& call)
{
    return call.trimmed().toUpper().toLatin1();
}

qint64 frameCost(const AgwFrame& f)
{
    return HeaderSize + f.data.size();
}

// Traffic of the station's own connection: its connect, data and
// disconnect frames.  Every other kind is the engine's monitoring.
bool isConnectedTraffic(const AgwFrame& f)
{
    return f.kind == 'D' || f.kind == 'C' || f.kind == 'd';
}

} // namespace

QByteArray encodeAgwFrame(const AgwFrame& f)
{
    QByteArray h(HeaderSize, '\0');
    h[0] = char(f.port);
    h[4] = f.kind;
    h[6] = char(f.pid);
    putCall(h, 8, f.callFrom);
    putCall(h, 18, f.callTo);
    const quint32 n = quint32(f.data.size());
    for (int i = 0; i < 4; ++i)
        h[28 + i] = char((n >> (8 * i)) & 0xFF);
    return h + f.data;
}

bool takeAgwFrames(QByteArray& buffer, std::deque<AgwFrame>& out)
{
    qsizetype pos = 0;
    bool ok = true;
    while (buffer.size() - pos >= HeaderSize) {
        const char* h = buffer.constData() + pos;
        const quint32 n = le32(h + 28);
        if (n > MaxAgwDataLength) {
            ok = false;
            break;
        }
        if (buffer.size() - pos - HeaderSize < qsizetype(n))
            break;
        AgwFrame f;
        f.port = quint8(h[0]);
        f.kind = h[4];
        f.pid = quint8(h[6]);
        f.callFrom = callAt(h + 8);
        f.callTo = callAt(h + 18);
        f.data = QByteArray(h + HeaderSize, qsizetype(n));
        out.push_back(std::move(f));
        pos += HeaderSize + qsizetype(n);
    }
    buffer.remove(0, pos);
    return ok;
}

AgwDelivery deliverAgwFrame(const AgwFrame& f)
{
    AgwDelivery d;
    d.kind = f.kind == 'C' ? 'c' : f.kind;
    d.call = QString::fromLatin1(f.callFrom);
    QByteArray data = f.data;
    if (data.endsWith('\0'))
        data.chop(1);
    d.data = QString::fromLatin1(data);
    return d;
}

bool isOwnConnectionMonitor(const AgwFrame& f, const QString& ownCall)
{
    if (f.kind != 'I' && f.kind != 'S' && f.kind != 'T')
        return false;
    const QByteArray own = latin1Call(ownCall);
    if (own.isEmpty())
        return false;
    auto same = [&](const QByteArray& c) { return c.trimmed().toUpper() == own; };
    return same(f.callFrom) || same(f.callTo);
}

AgwEngine::AgwEngine(QObject* parent) : QObject(parent)
{
    answerTimer_.setSingleShot(true);
    answerTimer_.setInterval(RegistrationWaitMs);
    connect(&answerTimer_, &QTimer::timeout, this, [this] {
        if (awaitingRegistration_) {
            dropSocket();
            finishRegistration(false);
        }
    });
}

AgwEngine::~AgwEngine()
{
    dropSocket();
}

void AgwEngine::setEndpointForTesting(const QString& host, quint16 port)
{
    g_host = host;
    g_port = port;
}

QString AgwEngine::host()
{
    return g_host.isEmpty() ? QStringLiteral("127.0.0.1") : g_host;
}

quint16 AgwEngine::port()
{
    return g_host.isEmpty() ? quint16(8000) : g_port;
}

bool AgwEngine::isConnected() const
{
    return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void AgwEngine::startPoll(const QString& call, const QString& applicationTitle)
{
    (void)applicationTitle; // the TCP interface has no use for it
    dropSocket();
    clearFrames();
    inBuffer_.clear();
    receivedBytes_ = 0;
    registered_ = false;
    ownCall_ = latin1Call(call);
    awaitingRegistration_ = true;
    socket_ = new QTcpSocket(this);
    socket_->setReadBufferSize(MaxSocketBuffer);
    connect(socket_, &QTcpSocket::connected, this, &AgwEngine::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &AgwEngine::onReadyRead);
    connect(socket_, &QTcpSocket::errorOccurred, this, &AgwEngine::onSocketError);
    answerTimer_.start();
    socket_->connectToHost(host(), port());
}

void AgwEngine::onConnected()
{
    AgwFrame x;
    x.kind = 'X';
    x.callFrom = ownCall_;
    send(x);
}

void AgwEngine::onReadyRead()
{
    if (!socket_)
        return;
    // Never hold more than one frame's worth beyond what is whole.
    const QByteArray bytes = socket_->read(MaxInBuffer - inBuffer_.size());
    receivedBytes_ += bytes.size();
    inBuffer_ += bytes;
    std::deque<AgwFrame> got;
    const bool ok = takeAgwFrames(inBuffer_, got);
    for (AgwFrame& f : got) {
        if (awaitingRegistration_ && f.kind == 'X') {
            finishRegistration(f.data.size() >= 1 && f.data[0] == '\x01');
            continue;
        }
        if (isOwnConnectionMonitor(f, QString::fromLatin1(ownCall_)))
            continue;
        queue(std::move(f));
    }
    if (!ok) {
        dropSocket();
        if (awaitingRegistration_)
            finishRegistration(false);
        else
            emit linkLost();
        return;
    }
    // More may have arrived than one read took.
    if (socket_ && socket_->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &AgwEngine::onReadyRead);
}

void AgwEngine::onSocketError()
{
    if (closing_)
        return;
    dropSocket();
    if (awaitingRegistration_)
        finishRegistration(false);
    else
        emit linkLost();
}

void AgwEngine::finishRegistration(bool ok)
{
    awaitingRegistration_ = false;
    answerTimer_.stop();
    if (ok) {
        registered_ = true;
        AgwFrame m;
        m.kind = 'm';
        send(m);
    } else {
        dropSocket(); // a refused call leaves nothing open
    }
    emit registered(ok);
}

void AgwEngine::putData(const QString& callTo, const QString& data, char kind)
{
    AgwFrame f;
    switch (kind) {
    case 'D':
        f.kind = 'D';
        f.pid = 0xF0;
        break;
    case 'c':
        f.kind = 'C';
        f.pid = 0xF0;
        break;
    case 'd':
        f.kind = 'd';
        break;
    default:
        return;
    }
    f.callFrom = ownCall_;
    f.callTo = latin1Call(callTo);
    f.data = data.toLatin1();
    send(f);
}

void AgwEngine::queue(AgwFrame&& f)
{
    waitingBytes_ += frameCost(f);
    frames_.push_back(std::move(f));
    auto scan = frames_.begin();
    while (frames_.size() > 1
           && (frames_.size() > size_t(MaxWaitingFrames) || waitingBytes_ > MaxWaitingBytes)) {
        // The oldest monitored frame goes first; the station's own traffic
        // only when nothing else waits before the newest frame, which
        // always stays.
        const auto newest = frames_.end() - 1;
        while (scan != newest && isConnectedTraffic(*scan))
            ++scan;
        const auto drop = scan != newest ? scan : frames_.begin();
        waitingBytes_ -= frameCost(*drop);
        scan = frames_.erase(drop);
    }
}

void AgwEngine::clearFrames()
{
    frames_.clear();
    waitingBytes_ = 0;
}

std::optional<AgwDelivery> AgwEngine::getData()
{
    if (frames_.empty())
        return std::nullopt;
    AgwDelivery d = deliverAgwFrame(frames_.front());
    waitingBytes_ -= frameCost(frames_.front());
    frames_.pop_front();
    return d;
}

void AgwEngine::send(const AgwFrame& f)
{
    if (isConnected())
        socket_->write(encodeAgwFrame(f));
}

void AgwEngine::close()
{
    if (isConnected()) {
        AgwFrame x;
        x.kind = 'x';
        x.callFrom = ownCall_;
        send(x);
    }
    awaitingRegistration_ = false;
    answerTimer_.stop();
    dropSocket();
    clearFrames();
    inBuffer_.clear();
}

void AgwEngine::dropSocket()
{
    registered_ = false;
    if (!socket_)
        return;
    QTcpSocket* s = socket_;
    socket_ = nullptr;
    closing_ = true;
    s->disconnect(this);
    // disconnectFromHost lets what was written go out first.  The socket
    // may outlive the engine for that; the application owns it meanwhile,
    // so it goes at the program's end at the latest.
    if (s->state() == QAbstractSocket::ConnectedState) {
        s->disconnectFromHost();
        if (s->state() != QAbstractSocket::UnconnectedState) {
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            QTimer::singleShot(2000, s, &QObject::deleteLater);
            s->setParent(QCoreApplication::instance());
            closing_ = false;
            return;
        }
    }
    s->abort();
    s->deleteLater();
    closing_ = false;
}

} // namespace zq
