#pragma once
// The WinKeyer's serial host protocol and the program's one link to a
// keyer.  The keyer forms the Morse itself; the host sends it settings and
// characters and reads back the status bytes it volunteers.
//
// The line: 1200 baud, 8 data bits, no parity, 2 stop bits, no flow
// control, raw; DTR on and RTS off after opening (the keyer may draw its
// power from them).  Everything runs on the user-interface thread and never
// blocks it: bytes are read as they arrive and the open handshake waits on
// timers, so wk_open reports its result through a callback.
//
// The wk_* calls act on the link and do nothing while it is not open (apart
// from wk_open); wk_getstatus then reads 0.

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QSerialPort;
class QTimer;

namespace zq {

// Result codes of wk_open.
namespace wkresult {
constexpr long Success = 0;
constexpr long NoEchoResponse = -1;    // the echo test got no answer in time
constexpr long EchoMismatch = -2;      // it got another byte back
constexpr long NoOpenResponse = -3;    // host open got no version byte in time
constexpr long ComOpenFailed = -4;     // the device did not open
constexpr long GetComStateFailed = -5; // its line settings could not be read
constexpr long SetComStateFailed = -6; // or set
constexpr long AlreadyOpen = -8;       // a link is already open (or opening)
constexpr long NotOpen = -9;           // an open was given up by a close
} // namespace wkresult

// The host's commands, byte for byte.
namespace wkcmd {
QByteArray echoTest();                          // 00 04 55
QByteArray hostOpen();                          // 00 02
QByteArray hostClose();                         // 00 03
QByteArray speed(uint8_t wpm);                  // 02 n
QByteArray weight(uint8_t weight);              // 03 n
QByteArray pttLeadTail(uint8_t lead, uint8_t tail); // 04 lead tail (10 ms units)
QByteArray pinConfig(uint8_t config);           // 09 n
QByteArray mode(uint8_t mode);                  // 0E n
QByteArray ditDahRatio(uint8_t ratio);          // 17 n
QByteArray clearBuffer();                       // 0A
QByteArray backspace();                         // 08
QByteArray statusRequest();                     // 15
} // namespace wkcmd

// The byte that sends character `c`: printable ASCII (32 to 126) only.  A
// byte below 32 is a command to the keyer, so anything else is not sent.
std::optional<char> wkCharacterByte(QChar c);

// What a byte from the keyer is: C0-FF status, 80-BF speed pot, the rest
// the echo of a character sent.
enum class KeyerByteKind { Status, SpeedPot, Echo };
KeyerByteKind keyerByteKind(uint8_t b);

// The protocol state of one link, without any I/O: the open handshake and
// the decoding of the bytes the keyer sends.  Any byte sequence is safe to
// feed in any phase.
class WinKeyerSession {
public:
    enum class Phase { Closed, AwaitEcho, AwaitVersion, Open };
    struct Step {
        bool finished = false;   // the handshake ended now
        long result = wkresult::Success;
        uint8_t version = 0;     // the keyer's version when it succeeded
        QByteArray send;         // bytes to write next
    };

    // Starts the handshake: the echo test goes out.
    Step begin();
    // Bytes that arrived.  In the handshake the first byte answers the
    // step waited on; bytes after the version byte and every byte of an
    // open link go through the status decoding.
    Step take(QByteArrayView bytes);
    // The step waited on got no answer in time.
    Step timedOut();
    void reset();

    Phase phase() const { return phase_; }
    // The low five bits of the last status byte; 0 before any.  4 is busy,
    // 1 XOFF (the keyer's buffer is nearly full).
    int status() const { return status_; }
    uint8_t version() const { return version_; }

private:
    Step finish(long result, uint8_t version);
    void decode(QByteArrayView bytes);

    Phase phase_ = Phase::Closed;
    int status_ = 0;
    uint8_t version_ = 0;
};

// Status bits the sender looks at.
constexpr int kWkStatusXoff = 0x01;
constexpr int kWkStatusBusy = 0x04;

// The link to the keyer.  One per program (WinKeyerLink::instance()).
class WinKeyerLink : public QObject {
    Q_OBJECT
public:
    using OpenDone = std::function<void(long result, uint8_t version)>;

    static WinKeyerLink& instance();

    // Opens serial port `port` (mapped by ComPorts) and runs the handshake.
    // `done` runs exactly once: at once for a result known without waiting
    // (-8, -4, -5, -6), otherwise from the event loop within about a
    // second.  A failed open leaves the port closed.
    void open(int port, OpenDone done);
    // Sends host close and closes the port; an open under way is given up
    // (its callback gets -9).  Nothing happens when closed.
    void close();
    bool isOpen() const { return session_.phase() == WinKeyerSession::Phase::Open; }
    bool isBusyOpening() const;
    // Writes a command; ignored unless open.  A write failure closes the link.
    void send(const QByteArray& bytes);
    // The last status (see WinKeyerSession::status), after taking in the
    // bytes that have arrived; 0 unless open.
    int status();
    // The device of the open link ("" when closed).
    QString deviceName() const;
    // When the last open failed (-4) for want of permission on the device,
    // the operator's words for it (PortAccess.h); else "".
    QString permissionText() const { return permissionText_; }

    // Waits of the protocol, in milliseconds (tests and benchmarks keep the
    // defaults; they are named so the rules read in one place).
    static constexpr int kAnswerMs = 500;        // echo and host-open answers
    static constexpr int kSilentHoldMs = 2000;   // XOFF with nothing heard: ask
    static constexpr int kStatusAnswerMs = 500;  // the asked status must come

signals:
    // The link broke (read or write failure, a keyer that stopped
    // answering) and has been closed.
    void failed();
    // A status byte arrived.
    void statusChanged(int status);

private:
    WinKeyerLink();
    void onReadyRead();
    void onError();
    void onAnswerTimeout();
    void onSilenceTimeout();
    void apply(const WinKeyerSession::Step& step);
    void closePort();
    void fail();
    void watchSilence();

    QSerialPort* port_ = nullptr;
    QTimer* answerTimer_ = nullptr;  // the handshake's waits
    QTimer* silenceTimer_ = nullptr; // the hold-back watch
    bool statusAsked_ = false;
    bool quiet_ = false;      // errors raised by our own set-up and close
    unsigned opening_ = 0;    // counts the port's openings
    WinKeyerSession session_;
    OpenDone pending_;
    QString permissionText_;
};

// The keyer's host calls as the program uses them.
void wk_open(int port, WinKeyerLink::OpenDone done);
void wk_close();
void wk_wpm(uint8_t wpm);
void wk_weight(uint8_t weight);
void wk_ptt_leadtail(uint8_t leadIn, uint8_t tail);
void wk_pincfg(uint8_t config);
void wk_setmode(uint8_t mode);
void wk_ditdah_ratio(uint8_t ratio);
void wk_char(char c);
int32_t wk_getstatus(); // above 0 while the keyer is sending; 5 and up: hold back
void wk_clearbuf();     // drops the characters the keyer still holds
void wk_backspace();    // takes back the last character it still holds

} // namespace zq
