#pragma once
// Keying through recording key lines on a virtual clock: every key line
// the program opens records its transitions, a keyed message takes no real
// time, and what was keyed reads back unit by unit.

#include "keying/MorseKeyer.h"
#include "platform/KeyLine.h"

#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace zq::test {

class RecordedKeying {
public:
    // With `wrapReal`, each recording line passes its calls on to the real
    // line of the port (a pseudo-terminal, say); a port that cannot be
    // opened then fails as it would without the recorder.
    explicit RecordedKeying(bool wrapReal = false);
    ~RecordedKeying();
    // Installs the recorder and its clock again (after a program-state reset).
    void install();

    VirtualKeyingClock& clock() { return *clock_; }
    std::vector<RecordingKeyLine::Transition> transitions() const;
    std::vector<KeyLinePort> openedPorts() const;

    // The key line's state unit by unit from the start to the clock's now:
    // '1' down, '0' up.
    QString keyedUnits(double unitMs) const;
    // What was keyed, read back as text (at 13 WPM unless told otherwise);
    // "=" stands for the pattern "-" and "=" share.
    QString keyedText(double wpm = 13) const;
    // Milliseconds of virtual time since the start.
    double elapsedMs() const;
    // Starts afresh: the start moves to the clock's now, the transitions
    // recorded so far are forgotten.
    void restart();

    // Holds the keying thread at its next key-down until release().
    void holdAtNextKeyDown();
    // Holds the keying thread `ms` after the start until release(): what is
    // done at that moment happens first, then the thread stops.
    void holdAtMs(double ms);
    void release();
    // Runs `f` on the user-interface thread (from its event loop) once the
    // keying thread is held.
    void whenHeld(std::function<void()> f, int triesLeft = 5000);

private:
    std::shared_ptr<VirtualKeyingClock> clock_;
    KeyingClock::time_point start_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<RecordingKeyLine::Transition> transitions_;
    std::vector<KeyLinePort> opened_;
    bool wrapReal_ = false;
    bool holdNext_ = false;
    bool holding_ = false;
};

// The units a text keys: the patterns of its characters one after another
// (word-space adjustment `space`).
QString patternOf(const QString& text, double space = 0);

// Text of a unit pattern: characters split at gaps of three units, words
// at gaps of eleven.
QString decodeUnits(const QString& units);

} // namespace zq::test
