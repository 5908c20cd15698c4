#pragma once
// The software Morse keyer: a keying thread that takes characters from the
// send buffer and keys them on a key line, timed on absolute deadlines of
// the monotonic clock.
//
// One schedule: every change of the key line is due one or more units
// after the previous one, so characters follow each other without added
// gaps.  A character ends with its closing key-up units: the next one is
// taken from the buffer only when they have passed (so a message that
// replaces the buffer meanwhile replaces it), and the next drain starts no
// earlier than they end.  A drain is therefore over for its caller as soon as its last
// change of the line is made: the caller hands over the next text while
// the line is up, and a text handed over within that silence continues
// the schedule with no gap added.  The schedule only moves later: after a
// wait for something else (a contact logged for "!", a port opened by the
// user-interface thread) it starts from "now" when that is later.  A change
// made a little late (a tenth of a unit at most, and no more than 1 ms: the
// usual wake-up of a quiet machine) leaves the schedule where it is, so a
// message does not drift; the key-up after it is that much shorter, and an
// element is never keyed shorter than its units.  A change made later than
// that (the thread woke late on a busy machine) moves the rest of the
// schedule by its lateness, so the element or key-up it ends is stretched
// and no other element or gap is shortened, merged or dropped.
//
// The user-interface thread never blocks: drain() runs a local event loop
// until the buffer is empty and keyed, so the windows take keys, Esc and
// Backspace act on the buffer, and a message key may replace the buffer
// while it is sent.  Whatever the keying thread needs of the windows (a
// key line, logging a contact for "!") it asks for through the hooks below,
// which run on the user-interface thread while the keying thread waits.
//
// The keying thread asks for real-time priority for itself when a drain
// starts with the Timer or Sleep method (platform/ThreadPriority.h), so a
// busy machine does not stretch what it keys; where the system grants none
// it keys at normal priority and says so once a run.  The Loop method, and
// keying that takes no time, run at normal priority: they never block.

#include "platform/KeyLine.h"
#include "platform/ThreadPriority.h"

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
    // The port the chosen line lives on as typed (the serial port number or
    // the parallel address): a line opened for another one is asked for
    // again.
    QString port;

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
    // The schedule of a finished drain ends at t: the line stays up until
    // then, and nothing keys earlier.  The real clock has nothing to do
    // (the next drain waits for it); a virtual one counts the silence as
    // passed, as the real clock would have by the time the caller looks.
    virtual void scheduleEndsAt(time_point) {}
    // The Loop method's calibration: passes of countPasses' loop per 60 ms
    // on this computer; nullopt when no time was measured.
    virtual std::optional<double> calibrateLoop() = 0;
};

std::shared_ptr<KeyingClock> realKeyingClock();

// A clock whose time moves only by the waits: every wait ends at once at
// its deadline, and a Loop wait takes passes / loopsPer60ms x 60 ms.
//
// Its "now" is never before the end of the last drain's schedule: time the
// user-interface side spends between two drains (advance()) passes within
// that silence first, as it does on the real clock.
class VirtualKeyingClock final : public KeyingClock {
public:
    time_point now() override;
    bool waitUntil(time_point t, bool spin, const std::atomic<bool>& stop) override;
    bool countPasses(double passes, double loopsPer60ms, const std::atomic<bool>& stop) override;
    void scheduleEndsAt(time_point t) override;
    std::optional<double> calibrateLoop() override;

    // A computer whose counting loop makes `passesPerMs` passes per
    // millisecond: a Loop wait then takes passes / passesPerMs, and the
    // calibration finds it.  Unset (0), a Loop wait takes the time its
    // loopsPer60ms says and the calibration measures no time.
    void setLoopSpeed(double passesPerMs) { loopSpeed_ = passesPerMs; }

    // Time passing outside the keying thread (the user-interface thread at
    // work, say).
    void advance(std::chrono::nanoseconds d);
    // The `n`th wait from now (0: the next one) ends `lateness` after its
    // deadline: a late wake-up of a busy machine.
    void wakeLate(int n, std::chrono::nanoseconds lateness);
    // Every wait from now on ends late by the next value of `lateness` in
    // turn, over and over (the small lateness of every wake-up of a quiet
    // machine); empty: on time again.  Adds to wakeLate's.
    void wakeLateEach(std::vector<std::chrono::nanoseconds> lateness);

    // Stops the keying thread at `t`: the first wait that would end after
    // t ends at t and stays there until resume().  What the keying thread
    // does at t itself is done before it stops.
    void holdAt(time_point t);
    bool held();
    void resume();

private:
    std::atomic<long long> ns_{1'000'000'000'000LL};
    std::atomic<long long> scheduleEnd_{0};
    std::atomic<double> loopSpeed_{0};
    std::mutex lateMutex_;
    int waitsToLate_ = -1;
    long long lateNs_ = 0;
    std::vector<long long> lateEach_;
    size_t lateEachNext_ = 0;
    std::mutex holdMutex_;
    std::condition_variable holdCv_;
    long long holdAtNs_ = -1;
    bool held_ = false;
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
    // A "!" was reached (only while a keying method is set).  Once the
    // keying thread has reached a "!", this runs exactly once for it,
    // whatever stops the keying next (abort, the program's end, the keyer
    // going away): from the queued hand-over when that runs, else as the
    // keyer is destroyed.  A "!" not reached before keying stops never
    // runs it.
    std::function<void()> exclamation;
    // After each character taken from the buffer (keyed or not).
    std::function<void()> characterDone;

    // Keys the buffer until it is empty and keyed, running the event loop
    // meanwhile; it returns with the last change of the line, the key-up
    // that ends the last character still running (msUntilScheduleEnd).  A
    // call while a drain runs waits for that drain.
    void drain();
    bool draining() const { return running_; }
    // Stops keying at once: the current character is abandoned and its line
    // released before this returns (within one sleep slice of the thread);
    // a running drain() returns.
    void abort();

    // The Loop method's calibration, on the loop the keying thread counts
    // (on the keying clock of the keyers).
    static std::optional<double> calibrateLoop();

    // The keying thread's CPU time in the last drain, in seconds.
    double lastDrainCpuSeconds() const { return cpuSeconds_.load(); }
    // True while a "!" the keying thread has reached waits for the
    // user-interface thread to run `exclamation`.
    bool owesExclamation();

    // Milliseconds from now to the end of the last drain's schedule (the
    // key-up units that end its last character); 0 when that has passed.
    double msUntilScheduleEnd();

    // The real-time priority the keying thread asks for.
    static constexpr int kRealtimePriority = 10;
    // The keying thread's scheduling as it stood when the last drain began.
    ThreadSchedule keyingSchedule() const;
    // Where the notice that keying runs at normal priority goes (once a
    // run; nullptr: standard error).  Setting it starts a new run.
    static void setPriorityNoticeForTesting(std::function<void(const QString&)> notice);

private:
    enum class Request { None, Line, Exclamation };

    void worker();
    // The keying thread's priority for keying with `s`: real-time for the
    // Timer and Sleep methods (asked for only when `mayRaise`, and not
    // again once refused), normal for every other way.
    void keyAtPriorityFor(const MorseSettings& s, bool mayRaise);
    void runDrain();
    // One character; false when the rest of the buffer is to be dropped.
    // It returns with its last change of the line; the key-up units after
    // it are still to pass (next_).
    bool Transmit(QChar c, const MorseSettings& first);
    // Waits until t (until next_); false when keying stops meanwhile.
    bool waitUntil(KeyingClock::time_point t, bool spin);
    bool waitForSchedule();
    bool ask(Request r, LineAnswer* answer);
    void serveRequest();
    // Runs `exclamation` for every "!" owed (user-interface thread).
    void serveExclamations();
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
    // The "!"s reached and not yet handed to `exclamation`: a request the
    // keying thread gives up when keying stops, these are not.
    int exclamationsOwed_ = 0;
    bool answered_ = false;
    LineAnswer answer_;
    std::thread thread_;

    // Keying-thread state, kept from one drain to the next.
    KeyingClock::time_point next_{}; // when the next change of the line is due
    KeyingClock::time_point reached_{}; // the latest moment waited for
    std::shared_ptr<KeyLine> line_;
    QString linePort_;               // the port line_ was asked for
    bool lineAnswered_ = false;      // in this drain
    uint64_t answeredGeneration_ = 0;
    std::atomic<long long> scheduleEndNs_{0};
    // Never before "now": after a wait for something else, and at the
    // start of a drain.
    void catchUp();

    std::atomic<double> cpuSeconds_{0};
    bool realtimeRefused_ = false; // keying thread
    mutable std::mutex scheduleMutex_;
    ThreadSchedule schedule_;

    // User-interface side.
    bool running_ = false;
    std::vector<QEventLoop*> loops_;
};

} // namespace zq
