// The orderly end that an end signal runs, in process: the log window is
// left as its Exit command leaves it.

#include "app/StartProgram.h"
#include "common/ProgramEnd.h"
#include "common/WindowRegistry.h"
#include "entry/LogOnState.h"
#include "support/LogWindowTestSupport.h"

#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

// Runs once per test program: the orderly end happens once in a run.
TEST_F(LogWindowTest, TheOrderlyEndSavesTheOperatingTimeAsExitDoes)
{
    writeLog();
    start(1);
    LogOnState::instance().LoggedOnFlag = 1;
    LogOnState::instance().OperatingSeconds = 3725;

    endProgramInOrder();
    EXPECT_TRUE(programEnded());
    EXPECT_TRUE(WindowRegistry::isLoaded<Outfrm>()) << "unloaded before the event loop returned";
    finishProgramEnd();

    EXPECT_FALSE(WindowRegistry::isLoaded<Outfrm>());
    EXPECT_EQ(savedSettings().AccumulatedOperatingSeconds, 3725);
    EXPECT_EQ(LogOnState::instance().LoggedOnFlag, 0);
    EXPECT_TRUE(backups().isEmpty());
}
