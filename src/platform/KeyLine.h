#pragma once
// Key lines: a transmitter's CW key or push-to-talk line driven by the
// program itself, on a serial port's DTR or RTS modem line or on a parallel
// port's control register.
//
//   open   openKeyLine(port) - the serial device through serialPortDevice(n),
//          opened as our own exclusive descriptor with DTR and RTS cleared
//          at once (HUPCL stays set, so closing drops DTR as well); the
//          parallel device through parallelPortDevice(address), claimed
//          with PPCLAIM.
//   down   down(signal) - DTR or RTS raised (TIOCMBIS); the parallel
//          control register written with 3.
//   up     up(signal)   - the modem line cleared (TIOCMBIC); the control
//          register written with 2.
//   close  close()      - every line this object raised is released first,
//          then the descriptor is closed.  After close no call touches the
//          descriptor again; down/up then report false.
//
// A KeyLine may be driven from one thread (the keying thread) and closed
// from another (the user-interface thread, when another keyer takes the
// port): every call is serialised by the line's own lock.
//
// A device without modem lines (a pseudo-terminal) opens fine; raising a
// line on it does nothing and is not a failure.

#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace zq {

// Which line of the port a call drives.  A parallel port has one key line
// (its control register) whatever the signal says.
enum class KeySignal { Rts, Dtr };

// The port a key line lives on.
struct KeyLinePort {
    enum class Kind { None, Serial, Parallel };
    Kind kind = Kind::None;
    int serialPort = 0;       // Serial: port number n (ComPorts.txt, else /dev/ttyS<n-1>)
    QString parallelAddress;  // Parallel: base address as typed, decimal or "&H" hex

    static KeyLinePort serial(int n) { return {Kind::Serial, n, {}}; }
    static KeyLinePort parallel(const QString& address) { return {Kind::Parallel, 0, address}; }
    bool operator==(const KeyLinePort& o) const
    {
        return kind == o.kind && serialPort == o.serialPort && parallelAddress == o.parallelAddress;
    }
};

// Parallel control register values: key (or PTT) on, and off.
constexpr int kParallelKeyDown = 3;
constexpr int kParallelKeyUp = 2;

class KeyLine {
public:
    virtual ~KeyLine() = default;
    KeyLine(const KeyLine&) = delete;
    KeyLine& operator=(const KeyLine&) = delete;

    // False when the line is closed or the device refused.
    bool down(KeySignal s) { return set(s, true); }
    bool up(KeySignal s) { return set(s, false); }
    bool set(KeySignal s, bool on);
    // Releases every raised line, then closes; calling it again does nothing.
    void close();
    bool isOpen() const;
    KeyLinePort port() const { return port_; }

protected:
    explicit KeyLine(const KeyLinePort& port) : port_(port) {}
    // Called under the lock while open.
    virtual bool drive(KeySignal s, bool on) = 0;
    virtual void release() = 0;

private:
    mutable std::mutex mutex_;
    bool open_ = true;
    bool raised_[2] = {false, false}; // by KeySignal
    KeyLinePort port_;
};

// Opens the key line of a port; nullptr with *error set when it cannot be
// opened (no such device, in use, not a serial or parallel port, no
// device for a parallel address).  Kind::None opens nothing and is no
// error: nullptr with *error left empty.  *permission is the operator's
// words for a device this user may not open (PortAccess.h), else "".
std::unique_ptr<KeyLine> openKeyLine(const KeyLinePort& port, QString* error = nullptr,
                                     QString* permission = nullptr);

// A fake key line for tests and benchmarks: records every change of each
// line with the time of its clock (steady_clock unless told otherwise),
// optionally passing each call on to a real line it wraps.
class RecordingKeyLine final : public KeyLine {
public:
    using TimeSource = std::function<std::chrono::steady_clock::time_point()>;
    struct Transition {
        std::chrono::steady_clock::time_point at;
        KeySignal signal;
        bool down;
        int parallelValue; // 3 or 2 for a parallel port, else 0
    };

    explicit RecordingKeyLine(const KeyLinePort& port, std::unique_ptr<KeyLine> inner = nullptr,
                              TimeSource now = nullptr);

    std::vector<Transition> transitions() const;
    bool closed() const { return !isOpen(); }
    // Called on the driving thread after each recorded change (tests use it
    // to hold the keying thread at a known point).
    void setOnTransition(std::function<void(const Transition&)> hook);

protected:
    bool drive(KeySignal s, bool on) override;
    void release() override;

private:
    mutable std::mutex recordMutex_;
    std::vector<Transition> transitions_;
    std::unique_ptr<KeyLine> inner_;
    TimeSource now_;
    std::function<void(const Transition&)> hook_;
};

} // namespace zq
