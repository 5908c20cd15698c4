// The WinKeyer host protocol: the open handshake, the commands byte for
// byte, the line settings, the decoding of the keyer's bytes, and a link
// that breaks (unplugged, or a keyer that stops answering while it holds
// the sender back).

#include "support/FakeWinKeyer.h"
#include "support/TestEnv.h"
#include "support/WinKeyerTestSupport.h"

#include "platform/WinKeyer.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

TEST(WinKeyerSession, KeyerBytesSetTheStatusFromStatusBytesOnly)
{
    struct Case {
        const char* bytes;
        int status;
    } const cases[] = {
        {"", 0},
        {"c4", 4},         // busy
        {"c5", 5},         // busy, XOFF
        {"c4 85", 4},      // the speed pot changes nothing
        {"c5 41 42", 5},   // nor does the echo of characters
        {"c5 c0", 0},      // the last status counts
        {"ff", 31},        // five bits
        {"80 bf 00 7f", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        WinKeyerSession s;
        s.begin();
        s.take(hex("55"));
        const auto step = s.take(hex("1e"));
        ASSERT_TRUE(step.finished);
        s.take(hex(c.bytes));
        EXPECT_EQ(s.status(), c.status);
    }
}

TEST(WinKeyerSession, HandshakeAnswersAndTheirResults)
{
    WinKeyerSession s;
    EXPECT_EQ(s.begin().send, hex("00 04 55"));
    auto step = s.take(hex("55"));
    EXPECT_FALSE(step.finished);
    EXPECT_EQ(step.send, hex("00 02"));
    step = s.take(hex("17 c4")); // version 23, then a status byte
    EXPECT_TRUE(step.finished);
    EXPECT_EQ(step.result, wkresult::Success);
    EXPECT_EQ(step.version, 23);
    EXPECT_EQ(s.phase(), WinKeyerSession::Phase::Open);
    EXPECT_EQ(s.status(), 4);

    struct Failure {
        const char* name;
        std::function<WinKeyerSession::Step(WinKeyerSession&)> run;
        long result;
    } const failures[] = {
        {"echo silent", [](WinKeyerSession& k) { return k.timedOut(); }, wkresult::NoEchoResponse},
        {"echo mismatch", [](WinKeyerSession& k) { return k.take(hex("54")); },
         wkresult::EchoMismatch},
        {"host open silent",
         [](WinKeyerSession& k) {
             k.take(hex("55"));
             return k.timedOut();
         },
         wkresult::NoOpenResponse},
        {"version 0",
         [](WinKeyerSession& k) {
             k.take(hex("55"));
             return k.take(hex("00"));
         },
         wkresult::NoOpenResponse},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        WinKeyerSession k;
        k.begin();
        step = f.run(k);
        EXPECT_TRUE(step.finished);
        EXPECT_EQ(step.result, f.result);
        EXPECT_EQ(step.version, 0);
        EXPECT_EQ(k.phase(), WinKeyerSession::Phase::Closed);
        EXPECT_EQ(k.status(), 0);
    }
}

TEST(WinKeyerSession, OnlyPrintableAsciiIsSentAsACharacter)
{
    EXPECT_EQ(wkCharacterByte(u' '), ' ');
    EXPECT_EQ(wkCharacterByte(u'!'), '!');
    EXPECT_EQ(wkCharacterByte(u'~'), '~');
    for (char16_t c : {u'\r', u'\x1f', u'\x7f', u'\x0a', u'\u00c4', u'\u20ac'})
        EXPECT_FALSE(wkCharacterByte(QChar(c)).has_value()) << int(c);
}

class WinKeyerLinkTest : public ::testing::Test {
protected:
    TestEnv env;
    FakeWinKeyer keyer;
    WinKeyerLink& link = WinKeyerLink::instance();

    struct Opened {
        bool done = false;
        long result = 1;
        int version = -1;
    };
    // Opens port 7 and waits for the result.
    Opened open()
    {
        Opened o;
        wk_open(7, [&o](long r, uint8_t v) {
            o.done = true;
            o.result = r;
            o.version = v;
        });
        FakeWinKeyer::waitUntil([&] { return o.done; });
        return o;
    }

    void SetUp() override
    {
        ASSERT_TRUE(keyer.ok());
        useFakeKeyerPort(keyer);
    }
};

TEST_F(WinKeyerLinkTest, OpensWithTheHandshakeOnTheKeyersLineSettings)
{
    keyer.setVersion(31);
    const Opened o = open();
    ASSERT_TRUE(o.done);
    EXPECT_EQ(o.result, wkresult::Success);
    EXPECT_EQ(o.version, 31);
    EXPECT_TRUE(link.isOpen());
    EXPECT_EQ(keyer.received(), hex("00 04 55 00 02"));

    const termios t = keyer.lineSettings();
    EXPECT_EQ(cfgetospeed(&t), B1200);
    EXPECT_EQ(cfgetispeed(&t), B1200);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(t.c_oflag & OPOST);

    // A second open while open: -8 at once, nothing sent.
    const Opened again = open();
    EXPECT_EQ(again.result, wkresult::AlreadyOpen);
    EXPECT_TRUE(link.isOpen());
}

TEST_F(WinKeyerLinkTest, EachCallSendsItsCommandBytes)
{
    ASSERT_EQ(open().result, wkresult::Success);
    keyer.clearReceived();
    wk_wpm(25);
    wk_weight(50);
    wk_ptt_leadtail(3, 255);
    wk_ditdah_ratio(67);
    wk_pincfg(6);
    wk_setmode(48);
    wk_char('!');
    wk_backspace();
    wk_clearbuf();
    wk_close();
    const QByteArray want = hex("02 19 03 32 04 03 ff 17 43 09 06 0e 30 21 08 0a 00 03");
    ASSERT_TRUE(keyer.waitForBytes(int(want.size())));
    EXPECT_EQ(keyer.received(), want);
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(link.deviceName().isEmpty());

    // Closed, the calls send nothing and the status reads 0; it opens again.
    wk_wpm(30);
    EXPECT_EQ(wk_getstatus(), 0);
    keyer.clearReceived();
    ASSERT_EQ(open().result, wkresult::Success);
    EXPECT_EQ(keyer.received(), hex("00 04 55 00 02"));
}

TEST_F(WinKeyerLinkTest, FailedOpensReportTheirCodeAndLeaveThePortClosed)
{
    struct Case {
        const char* name;
        std::function<void(FakeWinKeyer&)> setUp;
        long result;
        const char* sent;
    } const cases[] = {
        {"silent keyer", [](FakeWinKeyer& k) { k.setSilent(true); }, wkresult::NoEchoResponse,
         "00 04 55"},
        {"wrong echo", [](FakeWinKeyer& k) { k.setEchoReply(0x54); }, wkresult::EchoMismatch,
         "00 04 55"},
        {"no version", [](FakeWinKeyer& k) { k.setHostOpenSilent(true); },
         wkresult::NoOpenResponse, "00 04 55 00 02"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWinKeyer k;
        useFakeKeyerPort(k);
        c.setUp(k);
        const Opened o = open();
        ASSERT_TRUE(o.done);
        EXPECT_EQ(o.result, c.result);
        EXPECT_EQ(o.version, 0);
        EXPECT_FALSE(link.isOpen());
        EXPECT_TRUE(link.deviceName().isEmpty());
        ASSERT_TRUE(k.waitForBytes(int(hex(c.sent).size())));
        EXPECT_EQ(k.received(), hex(c.sent));
    }

    // A port whose device does not exist, and port 0: -4 at once.
    env.writeWorkFile(QStringLiteral("ComPorts.txt"), "7=/dev/zq-no-such-keyer\n");
    for (int port : {7, 0}) {
        long result = 1;
        wk_open(port, [&](long r, uint8_t) { result = r; });
        EXPECT_EQ(result, wkresult::ComOpenFailed) << port;
    }
}

TEST_F(WinKeyerLinkTest, UnpluggedKeyerClosesTheLink)
{
    ASSERT_EQ(open().result, wkresult::Success);
    QSignalSpy failed(&link, &WinKeyerLink::failed);
    keyer.unplug();
    EXPECT_TRUE(FakeWinKeyer::waitUntil([&] { return failed.count() == 1; }));
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(wk_getstatus(), 0);
    wk_char('E'); // nothing to write to; no second failure
    QCoreApplication::processEvents();
    EXPECT_EQ(failed.count(), 1);
}

TEST_F(WinKeyerLinkTest, KeyerHoldingBackInSilenceIsAskedThenGivenUp)
{
    ASSERT_EQ(open().result, wkresult::Success);
    QSignalSpy failed(&link, &WinKeyerLink::failed);
    keyer.clearReceived();

    // XOFF and then nothing: the link asks for the status; an answering
    // keyer says it is ready again.
    keyer.send(hex("c5"));
    ASSERT_TRUE(FakeWinKeyer::waitUntil([] { return wk_getstatus() == 5; }));
    ASSERT_TRUE(keyer.waitForBytes(1, 10000));
    EXPECT_EQ(keyer.received(), hex("15"));
    EXPECT_TRUE(FakeWinKeyer::waitUntil([] { return wk_getstatus() == 0; }));
    EXPECT_TRUE(link.isOpen());

    // A keyer that answers nothing is given up.
    keyer.setSilent(true);
    keyer.send(hex("c5"));
    EXPECT_TRUE(FakeWinKeyer::waitUntil([&] { return failed.count() == 1; }, 10000));
    EXPECT_FALSE(link.isOpen());
}

} // namespace
