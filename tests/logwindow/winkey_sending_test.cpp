// CW through the WinKeyer from the log window: a message key's text reaches
// the keyer character by character, a "!" logs the contact once before
// anything goes out, and closing the program closes the keyer.

#include "support/LogWindowTestSupport.h"
#include "support/WinKeyerTestSupport.h"

#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/frmWinKey.h"
#include "platform/WinKeyer.h"

using namespace zq;
using namespace zq::test;

namespace {

class WinKeySendingTest : public LogWindowTest {
protected:
    KeyingState& ks = KeyingState::instance();
    FakeWinKeyer keyer;

    LogWindow& openCw()
    {
        st.CurrentMode = QStringLiteral("CW");
        ks.CwKeyingMethod = 5;
        LogWindow& w = LogWindowTest::open(1);
        w.txtCall->setFocus();
        return w;
    }
};

TEST_F(WinKeySendingTest, MessageWithExclamationMarkLogsOnceThenGoesToTheKeyer)
{
    LogWindow& w = openCw();
    ASSERT_TRUE(openFakeKeyer(keyer));
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[3]->setText(QStringLiteral("TU! $!"));
    w.txtCall->setText(QStringLiteral("W5ABC"));
    w.txtRSTR->setText(QStringLiteral("599"));
    w.txtSec->setText(QStringLiteral("Alderbrook"));
    w.txtRSTS->setText(QStringLiteral("599"));
    QTest::keyClick(w.txtCall, Qt::Key_F3);
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_TRUE(w.txtCall->text().isEmpty());
    ASSERT_TRUE(keyer.waitForBytes(10));
    EXPECT_EQ(keyer.received(), "TU! W5ABC!");
    EXPECT_EQ(ks.CwSendingBusy, 0);
}

TEST_F(WinKeySendingTest, ClosingTheProgramClosesTheKeyer)
{
    LogWindow& w = openCw();
    ASSERT_TRUE(openFakeKeyer(keyer));
    EXPECT_TRUE(w.close());
    EXPECT_EQ(ks.WinKeyerOpen, 0);
    EXPECT_FALSE(WinKeyerLink::instance().isOpen());
    ASSERT_TRUE(keyer.waitForBytes(2));
    EXPECT_EQ(keyer.received(), QByteArray::fromHex("0003"));
}

} // namespace
