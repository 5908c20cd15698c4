#pragma once
// The program's one serial port layer, shared by every link that talks to a
// device over a serial line (the rig, the TNC).  It keeps the shape of the
// classic serial port control the windows were designed around, over
// QSerialPort:
//
//   SerialPort port;
//   port.setCommPort(3);                     // ComPorts.txt line "3=/dev/ttyUSB0"
//   port.setHandshaking(Handshaking::Rts);   // hardware flow control
//   if (!port.setSettings("4800,N,8,2")) ... // refused settings
//   port.setDTREnable(false);                // asked before opening ...
//   port.setRTSEnable(false);
//   if (!port.open()) report(port.errorString());
//   port.setRTSEnable(true);                 // ... and after (powers an interface)
//   port.output(QByteArray("FA;"));          // each byte goes out as it stands
//   QByteArray reply = port.input();         // whatever arrived; never waits
//
// Port numbers map to devices only through ComPorts.h (`serialPortDevice`):
// the line "n=DEVICE" of ComPorts.txt in the working folder, else
// /dev/ttyS<n-1>.
//
// Data is bytes.  Text protocols convert with Latin-1, one character per
// byte (`outputText`, `inputText`), never UTF-8, so byte values 128-255
// pass through unchanged.
//
// Nothing here blocks the user interface: `output` queues the bytes and
// pushes as many as the driver takes at once, the rest leaves as the event
// loop runs; `input` takes what the driver holds right now without waiting
// for more.  `drain` is the one bounded wait, for a last command before
// closing.  Everything runs on the thread that created the object (the
// user interface thread).
//
// Modem lines: `dtr()` and `rts()` tell what was last asked for, whether or
// not the device has the lines (a pseudo-terminal has none; asking such a
// device for a line is not an error).  Opening applies the lines last asked
// for, so a caller that clears both before `open` never finds them raised.
//
// Handshaking: None, XonXoff and Rts map onto QSerialPort's flow control
// (under RTS/CTS the driver owns RTS; `setRTSEnable` is then only recorded);
// RtsXonXoff (RTS/CTS and Xon/Xoff together, which QSerialPort cannot
// express) sets CRTSCTS and IXON|IXOFF on the open descriptor with termios.
//
// Failures are values, never exceptions: `open` and `setSettings` return
// false and `errorString()` says why; `output` returns false on a closed or
// failed port; `input` returns nothing then; `outBufferCount` is 0 on a
// closed port.  A device that vanishes or hangs up while open (a USB
// adapter pulled, the far end of a pseudo-terminal closed) closes the port
// once control is back in the event loop and `lost` is emitted, once; the
// owner shows the link closed as after any close.  From the moment the
// loss is noticed, `output` fails, `input` gives only what arrived before
// and `drain` does not wait.

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <optional>

namespace zq {

enum class Handshaking { None, XonXoff, Rts, RtsXonXoff };

// Parsed form of a settings text "baud,parity,data,stop" such as
// "4800,N,8,2": baud a positive whole number; parity N, O, E, M or S (any
// case); data bits 5 to 8; stop bits 1, 1.5 or 2.  Blanks around each part
// are allowed.  nullopt for anything else.
struct SerialSettings {
    qint32 baud = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};
std::optional<SerialSettings> parseSerialSettings(const QString& text);

class SerialPort final : public QObject {
    Q_OBJECT
public:
    explicit SerialPort(QObject* parent = nullptr);
    ~SerialPort() override;

    // Port number 1..; takes effect at the next open.
    void setCommPort(int n) { commPort_ = n; }
    int commPort() const { return commPort_; }
    // The device the port number maps to (through ComPorts.txt).
    QString deviceName() const;

    // Checks and keeps the settings; applied at once when open.  False (and
    // the old settings kept) when the text is not valid or the open device
    // refuses them.
    bool setSettings(const QString& text);
    QString settings() const { return settingsText_; }

    // Applied at once when open, else at the next open.
    void setHandshaking(Handshaking h);
    Handshaking handshaking() const { return handshaking_; }

    // The modem lines as last asked for.
    void setDTREnable(bool on);
    void setRTSEnable(bool on);
    bool dtr() const { return dtr_; }
    bool rts() const { return rts_; }

    // Opens the mapped device with the settings and handshaking; false when
    // the port is already open, the number maps to no device, or the device
    // is missing, in use or refuses the settings.
    bool open();
    void close();
    bool isOpen() const;
    QString errorString() const { return error_; }
    // When the last open failed for want of permission on the device, the
    // operator's words for it (PortAccess.h); else "".
    QString permissionText() const { return permissionText_; }

    // Queues bytes for sending; false when the port is not open or the
    // write fails.
    bool output(const QByteArray& bytes);
    bool outputText(const QString& text); // Latin-1, one byte per character
    // Takes and returns every byte received so far (at most the read
    // buffer's size); empty when nothing arrived or the port is closed.
    QByteArray input();
    QString inputText(); // Latin-1, one character per byte
    // Bytes still waiting to be sent: those the layer holds plus those in
    // the driver's output queue.  0 on a closed port.
    qint64 outBufferCount() const;
    // Drops whatever has been received and not yet read.
    void discardInput();

    // Waits, at most `maxMs` milliseconds, until everything queued has left
    // the driver.  The only wait of the layer: for a last command before the
    // port closes.  True when the output drained.
    bool drain(int maxMs);

    // Bytes the layer keeps of unread input; more waits in the driver.
    static constexpr qint64 ReadBufferSize = 64 * 1024;

signals:
    // The device went away or hung up; the port is closed already.
    void lost();

private:
    void applyLines();
    bool applyHandshaking();
    void onError(QSerialPort::SerialPortError e);
    bool hungUp() const;

    QSerialPort* port_ = nullptr;
    int commPort_ = 1;
    QString settingsText_ = QStringLiteral("9600,N,8,1");
    SerialSettings settings_;
    Handshaking handshaking_ = Handshaking::None;
    bool dtr_ = false;
    bool rts_ = false;
    QString error_;
    QString permissionText_;
    // Counts the opens, so a loss noticed for one opening never closes the
    // next; a loss waits to be handled at most once per opening.
    quint64 opening_ = 0;
    bool losing_ = false;
};

} // namespace zq
