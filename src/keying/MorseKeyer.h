#pragma once
// The software Morse keyer: a keying thread that takes characters from the
// send buffer and keys them on a key line, timed on absolute deadlines of
// the monotonic clock.
//
// One schedule per drain: every element's deadline is the previous one plus
// one unit, so characters follow each other without added gaps.  The
// schedule restarts from "now" only after the thread had to wait for
// something else (the next typed character, a contact logged for "!", a
// port opened by the user-interface thread).
//
// The user-interface thread never blocks: drain() runs a local event loop
// until the buffer is empty and keyed, so the windows take keys, Esc and
// Backspace act on the buffer, and a message key may replace the buffer
// while it is sent.  Whatever the keying thread needs of the windows (a
// key line, logging a contact for "!") it asks for through the hooks below,
// which run on the user-interface thread while the keying thread waits.

#include "platform/KeyLine.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QEventLoop;

namespace zq {

class SendBuffer;

enum class CwTiming { None, Timer, Sleep, Loop };

// The settings the keying thread reads, taken from the CW keyer's controls
// whenever one of them changes.
struct MorseSettings {
    // CwKeyingMethod: 1 the serial port's RTS line, 2 its DTR line, 3 the
    // parallel port's control register; 0 keys nothing and takes no time,
    // any other method is timed on no line.
    uint8_t method = 0;
    std::optional<double> wpm;   // Text11; below 1 or none keys nothing
    std::optional<double> space; // txtSpace; none: a character keys nothing
    CwTiming timing = CwTiming::Timer;
    double loopsPer60ms = 0;     // Loop method calibration

    // The kind of port the chosen line lives on.
    KeyLinePort::Kind lineKind() const;
};

// How the keying thread waits.  The real clock sleeps to about 1 ms before
// a Timer deadline and then spins; tests use a virtual clock.
class KeyingClock {
public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~KeyingClock() = default;
    virtual time_point now() = 0;
    // Waits until t (spin: the Timer method's sleep-then-spin, else a plain
    // sleep); false when `stop` was set meanwhile.
    virtual bool waitUntil(time_point t, bool spin, const std::atomic<bool>& stop) = 0;
    // The Loop method: the counting loop of `passes` passes.
    virtual bool countPasses(double passes, double loopsPer60ms, const std::atomic<bool>& stop) = 0;
};

std::shared_ptr<KeyingClock> realKeyingClock();

// A clock whose time moves only by the waits: every wait ends at once at
// its deadline, and a Loop wait takes passes / loopsPer60ms x 60 ms.
class VirtualKeyingClock final : public KeyingClock {
public:
    time_point now() override { return time_point(std::chrono::nanoseconds(ns_.load())); }
    bool waitUntil(time_point t, bool spin, const std::atomic<bool>& stop) override;
    bool countPasses(double passes, double loopsPer60ms, const std::atomic<bool>& stop) override;

private:
    std::atomic<long long> ns_{1'000'000'000'000LL};
};

// Keying clock of every keyer created from now on (nullptr: the real one).
void setKeyingClockForTesting(std::shared_ptr<KeyingClock> clock);

class MorseKeyer : public QObject {
    Q_OBJECT
public:
    struct LineAnswer {
        std::shared_ptr<KeyLine> line; // nullptr: time the characters without a line
        bool dropRest = false;         // no usable port: the rest of the buffer is dropped
    };

    explicit MorseKeyer(SendBuffer& buffer, QObject* parent = nullptr);
    ~MorseKeyer() override;

    void setSettings(const MorseSettings& s);
    MorseSettings settings() const;

    // Hooks, run on the user-interface thread while the keying thread waits.
    // needLine: the chosen line is not open (or is of the other kind).
    std::function<LineAnswer(const MorseSettings&)> needLine;
    // A "!" was reached (only while a keying method is set).
    std::function<void()> exclamation;
    // After each character taken from the buffer (keyed or not).
    std::function<void()> characterDone;

    // Keys the buffer until it is empty and keyed, running the event loop
    // meanwhile.  A call while a drain runs waits for that drain.
    void drain();
    bool draining() const { return running_; }
    // Stops keying at once: the current character is abandoned and its line
    // released before this returns (within one sleep slice of the thread);
    // a running drain() returns.
    void abort();

    // The keying thread's CPU time in the last drain, in seconds.
    double lastDrainCpuSeconds() const { return cpuSeconds_.load(); }

private:
    enum class Request { None, Line, Exclamation };

    void worker();
    void runDrain();
    // One character; false when the rest of the buffer is to be dropped.
    bool Transmit(QChar c, const MorseSettings& first);
    bool ask(Request r, LineAnswer* answer);
    void serveRequest();
    void finished();
    void start();
    void post(std::function<void()> f);

    SendBuffer& buffer_;
    std::shared_ptr<KeyingClock> clock_;

    mutable std::mutex settingsMutex_;
    MorseSettings settings_;
    uint64_t generation_ = 0;

    std::mutex mutex_;
    std::condition_variable cv_;
    bool startRequested_ = false;
    bool quit_ = false;
    bool keying_ = false; // the thread is in a drain
    std::atomic<bool> stop_{false};
    Request request_ = Request::None;
    bool answered_ = false;
    LineAnswer answer_;
    std::thread thread_;

    // Keying-thread state of one drain.
    KeyingClock::time_point next_{};
    bool restartSchedule_ = true; // the thread waited for something else
    std::shared_ptr<KeyLine> line_;
    bool lineAnswered_ = false;
    uint64_t answeredGeneration_ = 0;

    std::atomic<double> cpuSeconds_{0};

    // User-interface side.
    bool running_ = false;
    std::vector<QEventLoop*> loops_;
};

} // namespace zq
