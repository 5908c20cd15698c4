// Holding the program while a device is awaited: the operator's keys and the
// program's own timers and work wait until the hold ends, then follow in
// the order they came; the awaited device's timers go on.

#include "platform/EventHold.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using namespace zq;
using namespace std::chrono_literals;

namespace {

// A device that ends after `ms` on a timer that holds let run.
class Device : public QObject {
    Q_OBJECT
public:
    explicit Device(int ms)
    {
        end.setSingleShot(true);
        EventHold::keepRunning(&end);
        connect(&end, &QTimer::timeout, this, &Device::ended);
        end.start(ms);
    }
    QTimer end;
signals:
    void ended();
};

TEST(EventHold, WhatComesDuringAHoldFollowsItInOrder)
{
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus();

    QStringList log;
    QTimer program; // a repeat or a tick of the program
    program.setSingleShot(true);
    QObject::connect(&program, &QTimer::timeout, [&] {
        log << "timer" + QString(EventHold::active() ? " held" : "");
    });
    program.start(10);
    QTimer operatorTypes; // the operator, who is not held
    EventHold::keepRunning(&operatorTypes);
    operatorTypes.setSingleShot(true);
    QObject::connect(&operatorTypes, &QTimer::timeout, [&] {
        QTest::keyClicks(first, "K1");
        EventHold::runAfter([&] { log << "work " + second->text(); });
        log << "typed " + first->text();
    });
    operatorTypes.start(20);

    Device dev(120);
    const bool signalled = EventHold::waitFor(&dev, &Device::ended, 5s);
    EXPECT_TRUE(signalled);
    EXPECT_FALSE(EventHold::active());
    EXPECT_EQ(log, QStringList{"typed "}); // nothing took effect inside
    second->setFocus(); // what the waiting code does next: the keys follow the focus
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(log, (QStringList{"typed ", "timer", "work K1"}));
    EXPECT_TRUE(first->text().isEmpty());
    EXPECT_EQ(second->text(), "K1");
}

TEST(EventHold, AWaitEndsAtItsBoundAndHoldsNest)
{
    Device never(60000);
    EXPECT_FALSE(EventHold::waitFor(&never, &Device::ended, 50ms));

    int ran = 0;
    {
        EventHold::Scope outer;
        {
            EventHold::Scope inner;
            EventHold::runAfter([&] { ++ran; });
        }
        EXPECT_TRUE(EventHold::active());
        QApplication::processEvents();
        EXPECT_EQ(ran, 0);
    }
    EXPECT_FALSE(EventHold::active());
    QApplication::processEvents();
    EXPECT_EQ(ran, 1);
    EventHold::runAfter([&] { ++ran; }); // no hold: at once
    EXPECT_EQ(ran, 2);
}

} // namespace

#include "event_hold_test.moc"
