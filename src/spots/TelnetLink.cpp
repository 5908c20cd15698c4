#include "spots/TelnetLink.h"

#include <QTcpSocket>
#include <QTimer>
#include <map>

namespace zq {

QString winsockErrorText(int number)
{
    static const std::map<int, const char*> texts = {
        {7, "ERROR: Out of memory."},
        {380, "ERROR: The property value is invalid."},
        {383, "ERROR: The property is read-only."},
        {394, "ERROR: The property can't be read."},
        {1004, "ERROR: The operation was canceled."},
        {10014, "ERROR: The requested address is a broadcast address, but flag is not set."},
        {10035, "ERROR: Socket is non-blocking and the specified operation will block."},
        {10036, "ERROR: A blocking Winsock operation in progress."},
        {10037, "ERROR: The operation is completed. No blocking operation in progress"},
        {10038, "ERROR: The descriptor is not a socket."},
        {10040, "ERROR: The datagram is too large to fit into the buffer and is truncated."},
        {10043, "ERROR: The specified port is not supported."},
        {10048, "ERROR: Address in use."},
        {10049, "ERROR: Address not available from the local machine."},
        {10050, "ERROR: Network subsystem failed."},
        {10051, "ERROR: The network cannot be reached from this host at this time."},
        {10052, "ERROR: Connection has timed out when SO_KEEPALIVE is set."},
        {10053, "ERROR: Connection is aborted due to timeout or other failure."},
        {10054, "ERROR: The connection is reset by remote side.!"},
        {10055, "ERROR: No buffer space is available."},
        {10056, "ERROR: Socket is already connected."},
        {10057, "ERROR: Socket is not connected."},
        {10058, "ERROR: Socket has been shut down."},
        {10060, "ERROR: Socket has been shut down."},
        {10061, "ERROR: Connection is forcefully rejected."},
        {10093, "ERROR: WinsockInit should be called first."},
        {11001, "ERROR: Authoritative answer: Host not found."},
        {11002, "ERROR: Non-Authoritative answer: Host not found."},
        {11003, "ERROR: Non-recoverable errors."},
        {11004, "ERROR: Valid name, no data record of requested type."},
    };
    const auto it = texts.find(number);
    return it != texts.end() ? QString::fromLatin1(it->second)
                             : QStringLiteral("Error number ") + QString::number(number);
}

int winsockErrorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return 10061;
    case QAbstractSocket::HostNotFoundError: return 11001;
    case QAbstractSocket::SocketTimeoutError: return 10060;
    case QAbstractSocket::RemoteHostClosedError: return 10054;
    case QAbstractSocket::NetworkError: return 10050;
    case QAbstractSocket::SocketResourceError: return 10055;
    case QAbstractSocket::AddressInUseError: return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError: return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError: return 10043;
    default: return 10053; // aborted by some other failure
    }
}

quint16 telnetPortNumber(const QString& portText)
{
    bool ok = false;
    const uint port = portText.trimmed().toUInt(&ok);
    return ok && port >= 1 && port <= 65535 ? static_cast<quint16>(port) : 0;
}

QString telnetText(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes);
}

int TelnetIntake::take(QStringView chunk, SpotPane& pane, bool listDxOnly, const Forward& forward,
                       const std::function<void()>& paneChanged)
{
    if (chunk.isEmpty())
        return 0;
    if (!listDxOnly) {
        pane.append(cleanLinkText(chunk));
        pane.trim();
        if (paneChanged)
            paneChanged();
    }
    lines_.add(chunk);
    int forwarded = 0;
    QString line;
    while (lines_.nextLine(&line)) {
        if (!isSpotLine(line))
            continue;
        const DXSpotFields f = parseDXSpotLine(line);
        ++forwarded;
        if (forward)
            forward(f.frequency, f.call, line);
        if (listDxOnly) {
            pane.append(cleanLinkText(line));
            pane.trim();
            if (paneChanged)
                paneChanged();
        }
    }
    return forwarded;
}

TelnetLink::TelnetLink(TelnetLinkOwner owner, QObject* parent)
    : QObject(parent), owner_(std::move(owner)), socket_(new QTcpSocket(this))
{
    socket_->setObjectName(QStringLiteral("Winsock1"));
    socket_->setReadBufferSize(4 * Portion);
    connect(socket_, &QTcpSocket::readyRead, this, &TelnetLink::onReadyRead);
    connect(socket_, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError e) { fail(winsockErrorNumber(e)); });
    // A close by the cluster is an error like any other.
    connect(socket_, &QAbstractSocket::disconnected, this, [this] { fail(10054); });
}

TelnetLink::~TelnetLink()
{
    open_ = false;
    socket_->disconnect(this);
}

QString TelnetLink::connectTo(const QString& host, const QString& portText)
{
    close();
    const QString h = host.trimmed();
    const quint16 port = telnetPortNumber(portText);
    open_ = true;
    if (h.isEmpty() || port == 0) {
        fail(InvalidPropertyError);
        return {};
    }
    socket_->connectToHost(h, port);
    if (!open_)
        return {}; // failed at once, reported
    return h + u':' + QString::number(port);
}

bool TelnetLink::isConnected() const
{
    return open_ && socket_->state() == QAbstractSocket::ConnectedState;
}

bool TelnetLink::sendLine(const QString& text)
{
    if (!isConnected())
        return false;
    socket_->write((text + QStringLiteral("\r\n")).toLatin1());
    return true;
}

void TelnetLink::close()
{
    open_ = false;
    socket_->abort();
}

void TelnetLink::onReadyRead()
{
    portionQueued_ = false;
    if (!open_)
        return;
    const QByteArray bytes = socket_->read(Portion);
    if (!bytes.isEmpty() && owner_.dataArrival)
        owner_.dataArrival(telnetText(bytes));
    // A burst is taken in portions, with other events in between.
    if (open_ && socket_->bytesAvailable() > 0 && !portionQueued_) {
        portionQueued_ = true;
        QTimer::singleShot(0, this, &TelnetLink::onReadyRead);
    }
}

void TelnetLink::fail(int number)
{
    if (!open_)
        return; // reported already, or closed by us
    // What the cluster sent before it went away is still shown.
    while (open_ && socket_->bytesAvailable() > 0) {
        const QByteArray bytes = socket_->read(Portion);
        if (owner_.dataArrival)
            owner_.dataArrival(telnetText(bytes));
    }
    if (!open_)
        return;
    open_ = false;
    socket_->abort();
    if (owner_.error)
        owner_.error(number);
}

} // namespace zq
