// The hand-over of a "!" from the keying thread to the windows: once the
// keyer has reached a "!", its hook runs exactly once, whatever stops the
// keying before the windows took it (the program's end, the keyer's
// window unloaded, the keyer destroyed with it); a "!" never reached never
// runs it.

#include "common/ProgramEnd.h"
#include "keying/KeyingState.h"
#include "keying/MorseKeyer.h"
#include "platform/InnerLoop.h"
#include "support/KeyingTestSupport.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace zq;
using namespace zq::test;

namespace {

// The program ends; the keyer's window unloads (its loops are left) and
// stays until the queued work has run; it unloads and is destroyed first.
enum class End { ProgramEnd, WindowLeft, WindowGone };

// Keys "E!" at 20 WPM (60 ms units) timed on no line.  Once the "E" is
// done, the window thread stays busy until the keying thread has reached
// the "!" (with `reached`; it is let go from a hold before it) or while it
// is held before it (without), and then the end comes, before the window thread has run anything the keying thread
// handed to it.  Then the window thread runs what is queued for it.
// Returns how often the "!" hook ran.
int hookRunsAfter(End end, bool reached)
{
    TestEnv env;
    RecordedKeying rec;
    SendBuffer buffer;
    auto window = std::make_unique<QObject>();
    QPointer<MorseKeyer> keyer = new MorseKeyer(buffer, window.get());
    MorseSettings s;
    s.method = 4; // keyed on no line: nothing else is asked of the windows
    s.wpm = 20;
    s.space = 0;
    keyer->setSettings(s);
    int runs = 0;
    keyer->exclamation = [&runs] { ++runs; };
    bool first = true;
    keyer->characterDone = [&] {
        if (!std::exchange(first, false))
            return;
        const QDeadlineTimer bound(10000); // a bound, not a measure
        auto until = [&](const std::function<bool()>& done) {
            while (!done() && !bound.hasExpired())
                QThread::usleep(200);
        };
        until([&] { return rec.clock().held(); });
        if (reached) {
            rec.clock().resume();
            until([&] { return keyer->owesExclamation(); });
        }
        switch (end) {
        case End::ProgramEnd: endProgram(); break;
        case End::WindowLeft:
        case End::WindowGone: InnerLoop::leaveLoopsOf(window.get()); break;
        }
    };
    // Held after the "E"'s key-up, before the "!" is due at 240 ms, so the
    // "!" is reached (or not) while the window thread is busy.
    rec.holdAtMs(120);
    buffer = QStringLiteral("E!");
    keyer->drain();
    EXPECT_EQ(runs, 0) << "the hand-over ran before the end";
    if (end == End::WindowGone)
        window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    window.reset();
    return runs;
}

} // namespace

TEST(ExclamationHandOver, AReachedExclamationRunsItsHookOnceWhateverStopsTheKeying)
{
    for (End end : {End::ProgramEnd, End::WindowLeft, End::WindowGone}) {
        SCOPED_TRACE(static_cast<int>(end));
        EXPECT_EQ(hookRunsAfter(end, true), 1);
        EXPECT_EQ(hookRunsAfter(end, false), 0) << "a \"!\" never reached ran its hook";
    }
}
