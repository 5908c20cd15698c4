// The packet engine link: frames on the wire byte for byte, the reading of
// received frames, and the link's life against a fake engine.

#include "platform/AgwEngine.h"
#include "support/FakeAgwEngine.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

struct LinkFixture {
    FakeAgwEngine engine;
    AgwEngine link;
    QSignalSpy registered{&link, &AgwEngine::registered};
    QSignalSpy lost{&link, &AgwEngine::linkLost};
    LinkFixture() { engine.useForLink(); }
    ~LinkFixture() { AgwEngine::setEndpointForTesting({}, 0); }

    bool registerAs(const char* call)
    {
        link.startPoll(QString::fromLatin1(call), QStringLiteral("Form1"));
        if (!registered.wait(3000))
            return false;
        return registered.last().at(0).toBool();
    }
    bool waitFrames(size_t n)
    {
        return QTest::qWaitFor([&] { return engine.received().size() >= n; }, 3000);
    }
};

} // namespace

TEST(AgwFrames, EncodeAndTakeByteForByte)
{
    AgwFrame f = FakeAgwEngine::frame('D', "W1AW", "NODE-1", "SH/DX\r");
    const QByteArray bytes = encodeAgwFrame(f);
    ASSERT_EQ(bytes.size(), 36 + 6);
    EXPECT_EQ(bytes[0], '\0');
    EXPECT_EQ(bytes[4], 'D');
    EXPECT_EQ(quint8(bytes[6]), 0xF0);
    EXPECT_EQ(bytes.mid(8, 10), QByteArray("W1AW\0\0\0\0\0\0", 10));
    EXPECT_EQ(bytes.mid(18, 10), QByteArray("NODE-1\0\0\0\0", 10));
    EXPECT_EQ(bytes.mid(28, 4), QByteArray("\x06\0\0\0", 4));
    EXPECT_EQ(bytes.mid(36), QByteArray("SH/DX\r"));

    // Split anywhere, two frames come out whole and in order.
    const QByteArray two = bytes + encodeAgwFrame(FakeAgwEngine::frame('U', "K1TTT", "ID", "x"));
    for (int cut = 1; cut < two.size(); cut += 7) {
        QByteArray buf = two.left(cut);
        std::deque<AgwFrame> out;
        ASSERT_TRUE(takeAgwFrames(buf, out));
        buf += two.mid(cut);
        ASSERT_TRUE(takeAgwFrames(buf, out));
        ASSERT_EQ(out.size(), 2u) << cut;
        EXPECT_EQ(out[0].data, QByteArray("SH/DX\r"));
        EXPECT_EQ(out[1].callFrom, QByteArray("K1TTT"));
        EXPECT_TRUE(buf.isEmpty());
    }

    // A header announcing more than 64 KiB of data stops the reading.
    QByteArray absurd = encodeAgwFrame(f);
    absurd[30] = '\x02'; // 0x020006 bytes
    std::deque<AgwFrame> out;
    EXPECT_FALSE(takeAgwFrames(absurd, out));
    EXPECT_TRUE(out.empty());
}

TEST(AgwFrames, DeliveryAndOwnMonitorCopies)
{
    AgwDelivery d = deliverAgwFrame(FakeAgwEngine::frame('C', "NODE", "W1AW", QByteArray("hi\0\0", 4)));
    EXPECT_EQ(d.kind, 'c');
    EXPECT_EQ(d.call, QStringLiteral("NODE"));
    EXPECT_EQ(d.data, QString::fromLatin1("hi\0", 3)); // one NUL dropped
    EXPECT_EQ(deliverAgwFrame(FakeAgwEngine::frame('d', "NODE", "W1AW", "")).kind, 'd');

    const struct {
        char kind;
        const char* from;
        const char* to;
        bool own;
    } cases[] = {{'I', "W1AW", "NODE", true}, {'S', "NODE", "w1aw", true},
                 {'T', "W1AW", "NODE", true}, {'U', "W1AW", "ID", false},
                 {'I', "K1TTT", "NODE", false}, {'D', "NODE", "W1AW", false}};
    for (const auto& c : cases)
        EXPECT_EQ(isOwnConnectionMonitor(FakeAgwEngine::frame(c.kind, c.from, c.to, "x"),
                                         QStringLiteral(" w1aw ")),
                  c.own)
            << c.kind << c.from;
}

TEST(AgwLink, RegistersSendsReadsAndCloses)
{
    LinkFixture fx;
    ASSERT_TRUE(fx.registerAs("w1aw "));
    EXPECT_TRUE(fx.link.isRegistered());
    ASSERT_TRUE(fx.waitFrames(2));
    EXPECT_EQ(fx.engine.received()[0].kind, 'X');
    EXPECT_EQ(fx.engine.received()[0].callFrom, QByteArray("W1AW"));
    EXPECT_EQ(fx.engine.received()[1].kind, 'm');

    fx.link.putData(QStringLiteral("node"), {}, 'c');
    fx.link.putData(QStringLiteral("NODE"), {}, 'P'); // sends nothing
    fx.link.putData(QStringLiteral("NODE"), QStringLiteral("SH/DX\r"), 'D');
    fx.link.putData(QStringLiteral("NODE"), {}, 'd');
    ASSERT_TRUE(fx.waitFrames(5));
    const auto& r = fx.engine.received();
    EXPECT_EQ(r[2].kind, 'C');
    EXPECT_EQ(r[2].callTo, QByteArray("NODE"));
    EXPECT_EQ(r[3].kind, 'D');
    EXPECT_EQ(r[3].data, QByteArray("SH/DX\r"));
    EXPECT_EQ(r[4].kind, 'd');

    // Received frames wait in order; the engine's copies of our own
    // connection are dropped.
    fx.engine.sendFrame(FakeAgwEngine::frame('I', "W1AW", "NODE", "echo"));
    fx.engine.sendFrame(FakeAgwEngine::frame('U', "K1TTT", "ID", "DX de K1TTT: 14025.0 JA1ABC\r"));
    fx.engine.sendFrame(FakeAgwEngine::frame('C', "NODE", "W1AW", "*** CONNECTED\r"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return fx.link.framesWaiting() == 2; }, 3000));
    auto first = fx.link.getData();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->kind, 'U');
    EXPECT_EQ(fx.link.getData()->kind, 'c');
    EXPECT_FALSE(fx.link.getData());

    fx.link.close();
    ASSERT_TRUE(fx.waitFrames(6));
    EXPECT_EQ(fx.engine.received()[5].kind, 'x');
    EXPECT_FALSE(fx.link.isConnected());
    EXPECT_EQ(fx.lost.size(), 0);
}

TEST(AgwLink, RefusalSilenceAndNoEngineFailTheRegistration)
{
    {
        LinkFixture fx;
        fx.engine.registration = FakeAgwEngine::Registration::Refuse;
        EXPECT_FALSE(fx.registerAs("W1AW"));
        EXPECT_FALSE(fx.link.isConnected());
    }
    {
        LinkFixture fx;
        fx.engine.registration = FakeAgwEngine::Registration::Silent;
        EXPECT_FALSE(fx.registerAs("W1AW")); // after the 2 s bound
        EXPECT_EQ(fx.registered.size(), 1);
    }
    {
        quint16 closedPort;
        {
            QTcpServer s;
            s.listen(QHostAddress::LocalHost, 0);
            closedPort = s.serverPort();
        }
        AgwEngine link;
        QSignalSpy registered(&link, &AgwEngine::registered);
        AgwEngine::setEndpointForTesting(QStringLiteral("127.0.0.1"), closedPort);
        link.startPoll(QStringLiteral("W1AW"), QStringLiteral("Form1"));
        ASSERT_TRUE(registered.wait(3000));
        EXPECT_FALSE(registered.last().at(0).toBool());
        AgwEngine::setEndpointForTesting({}, 0);
    }
}

TEST(AgwLink, LostEngineAndAbsurdLengthEndTheLink)
{
    for (bool absurd : {false, true}) {
        LinkFixture fx;
        ASSERT_TRUE(fx.registerAs("W1AW"));
        if (absurd) {
            QByteArray bad = encodeAgwFrame(FakeAgwEngine::frame('U', "K1TTT", "ID", "x"));
            bad[31] = '\x7F';
            fx.engine.sendRaw(bad);
        } else {
            fx.engine.dropClient();
        }
        ASSERT_TRUE(fx.lost.wait(3000)) << absurd;
        EXPECT_EQ(fx.lost.size(), 1);
        EXPECT_FALSE(fx.link.isConnected());
        EXPECT_FALSE(fx.link.isRegistered());
    }
}

TEST(AgwLink, AFloodOfLargeFramesIsHeldWithinItsByteBoundOldestMonitoredFirst)
{
    // An engine monitoring a busy channel sends large frames faster than
    // the window reads them: what waits stays within about a megabyte, the
    // monitored frames go oldest first and the station's own traffic stays.
    LinkFixture fx;
    ASSERT_TRUE(fx.registerAs("W1AW"));
    const QByteArray big(60000, 'm');
    QByteArray all = encodeAgwFrame(FakeAgwEngine::frame('C', "K1TTT", "W1AW", "*** CONNECTED"));
    for (int i = 0; i < 40; ++i)
        all += encodeAgwFrame(FakeAgwEngine::frame('U', "K1TTT", "ID", big + QByteArray::number(i)));
    fx.engine.sendRaw(all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fx.link.bytesReceived() >= all.size(); }, 10000));
    EXPECT_LE(fx.link.bytesWaiting(), AgwEngine::MaxWaitingBytes);
    // The connect frame and as many large frames as the bound holds.
    EXPECT_LE(fx.link.framesWaiting(), 1 + int(AgwEngine::MaxWaitingBytes / 60000));
    EXPECT_GE(fx.link.framesWaiting(), int(AgwEngine::MaxWaitingBytes / 60036));

    std::vector<AgwDelivery> got;
    while (const std::optional<AgwDelivery> d = fx.link.getData())
        got.push_back(*d);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got.front().kind, 'c');
    EXPECT_EQ(got.front().data, "*** CONNECTED");
    EXPECT_TRUE(got.back().data.endsWith("m39"));
    EXPECT_EQ(fx.link.bytesWaiting(), 0);
}
