#pragma once
// The Telnet link to a DX cluster: a TCP connection whose received text is
// shown as it arrives and gathered into lines, every complete spot line
// being handed on once with its own fields, however the text falls into
// chunks.  No duplicate filter: a spot the cluster repeats is handed on
// again.
//
// The link never waits on the socket: connecting finishes in the
// background, received bytes are taken in bounded portions, and every
// failure is reported once, as a socket error number, and never after the
// owner's own close.

#include "spots/SpotIntake.h"

#include <QAbstractSocket>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <functional>

class QTcpSocket;

namespace zq {

// The text reported for a socket error number ("Error number " and the
// number for one not in the table).
QString winsockErrorText(int number);

// The error number reported for a failure of the platform's socket.
int winsockErrorNumber(QAbstractSocket::SocketError error);

// Error number for a setting there is nothing to connect to: an empty
// host, or a port that is not a whole number 1 to 65535.
constexpr int InvalidPropertyError = 380;

// The port of a port text; 0 when it is not a whole number 1 to 65535
// (blanks around it are allowed).
quint16 telnetPortNumber(const QString& portText);

// The received Telnet text as the pane shows it and the spot lines it
// holds.  While `listDxOnly` is false every chunk is shown as it came;
// while it is true only the spot lines are shown, each after it was handed
// on; the pane is shown cleaned text (cleanLinkText).  Lines are assembled
// across chunks as received, an unfinished line bounded as for the TNC
// stream, and a spot line is handed on as received with its fields
// (parseDXSpotLine).
class TelnetIntake {
public:
    using Forward = std::function<void(const QString& frequency, const QString& call,
                                       const QString& line)>;

    void reset() { lines_.reset(); }
    // Takes one received chunk; returns the number of spot lines handed on.
    int take(QStringView chunk, SpotPane& pane, bool listDxOnly, const Forward& forward,
             const std::function<void()>& paneChanged = {});

private:
    SpotStream lines_;
};

// Received bytes as text: one character per byte (Latin-1), as received,
// so spot columns count bytes as the cluster wrote them.
QString telnetText(QByteArrayView bytes);

// What the link reports to its owner (the spotting window).
struct TelnetLinkOwner {
    // Received text (telnetText), at most one portion at a time.
    std::function<void(const QString& chunk)> dataArrival;
    // A failure, once per connection; the socket is closed already.
    std::function<void(int number)> error;
};

class TelnetLink : public QObject {
    Q_OBJECT
public:
    // Bytes taken per data event; a longer burst is taken in further
    // portions with other events in between.
    static constexpr qint64 Portion = 4 * 1024;

    explicit TelnetLink(TelnetLinkOwner owner, QObject* parent = nullptr);
    ~TelnetLink() override;

    // Closes any earlier connection and starts connecting in the
    // background.  Returns the connect notice's "host:port" target, or an
    // empty text when the host or port cannot be used (the error 380 is
    // then reported before this returns).
    QString connectTo(const QString& host, const QString& portText);

    // True while connected (the socket's state 7).
    bool isConnected() const;
    // Sends `text` and CR LF, one byte per character; false when not
    // connected (nothing is sent or queued).
    bool sendLine(const QString& text);
    // Our own close: nothing more is reported for this connection.
    void close();

    QTcpSocket* socket() const { return socket_; }

private:
    void onReadyRead();
    void fail(int number);

    TelnetLinkOwner owner_;
    QTcpSocket* socket_ = nullptr;
    bool open_ = false;          // a connection is wanted and not yet failed
    bool portionQueued_ = false; // a further portion is scheduled
};

} // namespace zq
