#pragma once
// A WinKeyer on a pseudo-terminal for tests and benchmarks.  The program
// opens the terminal's device like a serial port; the fake, on its own
// thread behind the master side, records every byte with its arrival time,
// answers the echo test, host open and the status request, sends status
// bytes when told, can stay silent, and can be unplugged.
//
// Needs only Qt Core and POSIX (no test framework), so benchmarks use it too.

#include <QByteArray>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <termios.h>

namespace zq::test {

class FakeWinKeyer {
public:
    struct Byte {
        uint8_t value;
        std::chrono::steady_clock::time_point at;
    };

    FakeWinKeyer();
    ~FakeWinKeyer();
    FakeWinKeyer(const FakeWinKeyer&) = delete;
    FakeWinKeyer& operator=(const FakeWinKeyer&) = delete;

    bool ok() const { return master_ >= 0; }
    // The device the program opens (its slave side).
    QString devicePath() const { return path_; }

    // Behaviour, settable at any time.
    void setVersion(uint8_t v);        // host open's answer (default 31)
    void setSilent(bool silent);       // answer nothing at all
    void setEchoReply(int byte);       // -1: echo what was sent (default)
    void setHostOpenSilent(bool silent); // answer the echo test, not host open
    // Bytes to the program (status bytes and the like).
    void send(const QByteArray& bytes);
    // Closes the keyer's side: the program's reads and writes fail.
    void unplug();

    // Every byte the program sent, in order.
    QByteArray received() const;
    std::vector<Byte> receivedStamped() const;
    void clearReceived();
    // The line settings as the program left them (tcgetattr on the keyer's
    // side of the terminal).
    termios lineSettings() const;

    // Runs the event loop until `done` holds or `timeoutMs` passes; true when
    // it held.  The program under test lives in the event loop.
    static bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
    // Runs the event loop until the program has sent at least n bytes.
    bool waitForBytes(int n, int timeoutMs = 5000) const;

private:
    void run();
    void handle(uint8_t b, QByteArray& reply);
    void wake();

    int master_ = -1;
    int slave_ = -1; // held open so the terminal lives between the program's opens
    int wakeRead_ = -1, wakeWrite_ = -1;
    QString path_;
    std::thread thread_;

    mutable std::mutex m_;
    std::condition_variable cv_;
    std::vector<Byte> received_;
    QByteArray outgoing_;
    bool stop_ = false;
    bool unplugRequested_ = false;
    bool unplugged_ = false;
    bool silent_ = false;
    uint8_t version_ = 31;
    int echoReply_ = -1;
    bool hostOpenSilent_ = false;

    // Command parsing (keyer thread only).
    std::deque<uint8_t> command_;
};

} // namespace zq::test
