#pragma once
// The AGW Packet Engine's TCP interface (a packet engine serving a sound
// card modem or a TNC, by default on 127.0.0.1:8000), as the spotting
// window uses it: register the station's call, read received frames, send
// data, connect and disconnect frames, unregister.
//
// Every frame is a 36-byte header and its data:
//   byte 0        radio port (0 here)
//   byte 4        data kind, a character ('X', 'm', 'D', 'C', 'd', 'x', ...)
//   byte 6        PID (0xF0 for data)
//   bytes 8-17    CallFrom, NUL-padded
//   bytes 18-27   CallTo, NUL-padded
//   bytes 28-31   data length, little-endian
//   bytes 32-35   user field
// Texts travel one byte per character (Latin-1).
//
// The link lives on the user-interface thread and never waits: bytes are
// taken as readyRead delivers them, whole frames are queued, and the
// registration's answer arrives as a signal (at most 2 s after the
// request).

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <optional>

class QTcpSocket;

namespace zq {

struct AgwFrame {
    quint8 port = 0;
    char kind = 0;
    quint8 pid = 0;
    QByteArray callFrom; // without the NUL padding
    QByteArray callTo;
    QByteArray data;
};

// The bytes of one frame.  Calls longer than 10 bytes are cut (callers
// refuse them before).
QByteArray encodeAgwFrame(const AgwFrame& f);

// Frames larger than this are not ours to read: the link is closed.
constexpr quint32 MaxAgwDataLength = 64 * 1024;

// Pops every whole frame from the front of `buffer` into `out`.  False when
// a header announces more than MaxAgwDataLength bytes of data (the stream
// cannot be trusted after that; nothing more is taken).
bool takeAgwFrames(QByteArray& buffer, std::deque<AgwFrame>& out);

// A frame as the window reads it: kind 'C' reads as 'c'; the call is the
// frame's CallFrom; one trailing NUL of the data is dropped.
struct AgwDelivery {
    char kind = 0;
    QString call;
    QString data; // one character per byte
};
AgwDelivery deliverAgwFrame(const AgwFrame& f);

// True for the engine's monitor copy of the station's own connected
// traffic: kinds 'I', 'S' and 'T' from or to `ownCall` (any case).
bool isOwnConnectionMonitor(const AgwFrame& f, const QString& ownCall);

class AgwEngine : public QObject {
    Q_OBJECT
public:
    explicit AgwEngine(QObject* parent = nullptr);
    ~AgwEngine() override;

    // Where the engine listens; tests point it at their fake.
    static void setEndpointForTesting(const QString& host, quint16 port); // "" restores
    static QString host();
    static quint16 port();

    // Closes any earlier connection, connects and asks to register `call`.
    // `registered` follows: true when the engine's 'X' reply holds 1 (the
    // monitor request 'm' is then sent once), false when it holds anything
    // else, the connection fails, or no answer comes within 2 s.
    void startPoll(const QString& call, const QString& applicationTitle);
    bool isRegistered() const { return registered_; }
    bool isConnected() const;

    // Sends a frame of the window's kind to `callTo`: "D" data, "c"
    // connect ('C' on the wire), "d" disconnect; "P" and any other kind
    // send nothing.  Nothing is sent while not connected.
    void putData(const QString& callTo, const QString& data, char kind);

    // The next received frame, oldest first; nullopt when none waits.
    std::optional<AgwDelivery> getData();
    int framesWaiting() const { return static_cast<int>(frames_.size()); }
    // What the waiting frames hold, headers and data, in bytes.
    qint64 bytesWaiting() const { return waitingBytes_; }
    // Bytes read from the engine since the connection was made.
    qint64 bytesReceived() const { return receivedBytes_; }

    // Unregisters ('x') and closes, after what was written has gone out.
    void close();

    // The most frames, and the most bytes of frames, kept waiting.  Past
    // either the oldest monitored frame is dropped (traffic of a connected
    // station only when no monitored frame is left).
    static constexpr int MaxWaitingFrames = 4096;
    static constexpr qint64 MaxWaitingBytes = 1024 * 1024;
    // The most bytes the socket holds before they are read.
    static constexpr qint64 MaxSocketBuffer = 1024 * 1024;

signals:
    void registered(bool ok);
    // The engine went away, or sent what cannot be a frame.  The link is
    // closed already.
    void linkLost();

private:
    void onConnected();
    void onReadyRead();
    void onSocketError();
    void finishRegistration(bool ok);
    void send(const AgwFrame& f);
    void dropSocket();
    void queue(AgwFrame&& f);
    void clearFrames();

    QTcpSocket* socket_ = nullptr;
    QTimer answerTimer_;
    QByteArray inBuffer_;
    std::deque<AgwFrame> frames_;
    qint64 waitingBytes_ = 0;
    qint64 receivedBytes_ = 0;
    QByteArray ownCall_;
    bool awaitingRegistration_ = false;
    bool registered_ = false;
    bool closing_ = false;
};

} // namespace zq
