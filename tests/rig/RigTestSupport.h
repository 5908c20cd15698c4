#pragma once
// The rig dialog tests: a started log window (so frequency and mode reach
// it through Form1), the rig dialog, and fake radios on pseudo-terminals
// mapped to port 3.

#include "common/WindowRegistry.h"
#include "rig/RigControlfrm.h"
#include "support/FakeRadio.h"
#include "support/LogWindowTestSupport.h"

#include <QListWidget>
#include <QRadioButton>
#include <QTimer>

namespace zq::test {

class RigTest : public LogWindowTest {
protected:
    static constexpr int RadioPort = 3;

    void SetUp() override
    {
        LogWindowTest::SetUp();
        // Every port maps to a device that does not exist until a fake
        // radio takes one: no test ever opens real hardware.
        FakeRadio none(FakeRadio::Family::Raw);
        none.writeComPorts(env.workDir(), 0);
    }

    // The out-of-state log window, started; its own questions forgotten.
    LogWindow& begin()
    {
        LogWindow& w = start(1);
        env.prompt().clear();
        return w;
    }

    // Ticks until the radio has taken `queries` queries and their replies
    // have been read, letting the radio answer before each tick.
    void pollUntil(FakeRadio& radio, int queries, int maxTicks = 16)
    {
        for (int i = 0; i < maxTicks; ++i) {
            if (radio.queries().size() >= queries && rig().AwaitingReply == 0)
                return;
            pumpFor(25);
            tick();
        }
    }

    RigControlfrm& rig() { return DefaultInstance<RigControlfrm>(); }

    // Selects a type in the list as the operator does.
    void choose(const QString& type)
    {
        const auto found = rig().List1->findItems(type, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_EQ(found.size(), 1) << type.toStdString();
        rig().List1->setCurrentItem(found.first());
    }

    // The radio on port 3, chosen in the dialog.
    void attach(FakeRadio& radio)
    {
        ASSERT_TRUE(radio.ok());
        radio.writeComPorts(env.workDir(), RadioPort);
        rig().optComm(RadioPort - 1)->setChecked(true);
    }

    // Test with the poll timer held: the test drives the ticks itself.
    void startTest()
    {
        rig().Command1_Click();
        rig().tmrGetData->stop();
    }

    // Lets the fake take the queries sent so far and answer them.
    static void settle(FakeRadio& radio, int queries)
    {
        pumpUntil([&] { return radio.queries().size() >= queries; });
        pumpFor(30);
    }

    void tick() { rig().tmrGetData_Timer(); }
};

} // namespace zq::test
