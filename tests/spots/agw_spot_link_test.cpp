// The packet engine link as the spotting window drives it: registration,
// the typed link commands and lines byte for byte at a fake engine, and the
// text of received frames (monitored and connected) through the pane, the
// repeat test and the spot hand-over.

#include "spots/AgwSpotLink.h"
#include "support/FakeAgwEngine.h"
#include "support/FakeCluster.h"

#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

// Spot lines in the cluster's columns, without their line end.
const QString SpotA =
    QString::fromLatin1(FakeCluster::spotLine("W3LPL", "14025.0", "JA1ABC", "CW 599").chopped(2));
const QString SpotB =
    QString::fromLatin1(FakeCluster::spotLine("K1TTT", "7012.5", "UA9XYZ", "up 2").chopped(2));

struct Frames {
    AgwSpotLink link;
    SpotPane pane;
    bool listDxOnly = false;
    QStringList forwarded; // "call|frequency"
    QStringList events;
    AgwSpotEvents ev{
        [this](const QString& f, const QString& c, const QString&) { forwarded << c + u'|' + f; },
        {},
        [this](const QString& call) { events << QStringLiteral("connected ") + call; },
        [this](const QString& call) { events << QStringLiteral("disconnected ") + call; }};

    void take(char kind, const char* call, const QString& data)
    {
        AgwDelivery d;
        d.kind = kind;
        d.call = QString::fromLatin1(call);
        d.data = data;
        link.takeFrame(d, pane, listDxOnly, ev);
    }
};

struct EngineFixture {
    FakeAgwEngine engine;
    AgwEngine agw;
    QSignalSpy registered{&agw, &AgwEngine::registered};
    EngineFixture() { engine.useForLink(); }
    ~EngineFixture() { AgwEngine::setEndpointForTesting({}, 0); }
    bool waitFrames(size_t n)
    {
        return QTest::qWaitFor([&] { return engine.received().size() >= n; }, 3000);
    }
};

} // namespace

TEST(AgwSpotFrames, MonitoredSpotShownOnceAndForwarded)
{
    Frames f;
    // The engine's header line, then a spot line, each ended by CR.
    const QString data = QStringLiteral("1:Fm K1TTT To DX <UI pid=F0 Len=80>\r") + SpotA + u'\r';
    f.take('U', "K1TTT", data);
    EXPECT_EQ(f.pane.text(), SpotA + QStringLiteral("\r\n"));
    EXPECT_EQ(f.forwarded, QStringList{"JA1ABC|14025.0"});
    f.take('U', "K1TTT", data); // a repeat within 800 characters
    EXPECT_EQ(f.pane.text(), SpotA + QStringLiteral("\r\n"));
    EXPECT_EQ(f.forwarded.size(), 1);

    // CR LF line ends, and two spot lines in one frame: each counts.
    f.take('U', "N0AX", QStringLiteral("header\r\n") + SpotB + QStringLiteral("\r\n")
                            + SpotA.toLower().replace(QStringLiteral("ja1abc"), QStringLiteral("ZL2AA ")) + QStringLiteral("\r\n"));
    EXPECT_EQ(f.forwarded, (QStringList{"JA1ABC|14025.0", "UA9XYZ|7012.5", "ZL2AA|14025.0"}));
}

TEST(AgwSpotFrames, MonitorTextAndWhatItHides)
{
    Frames f;
    // No "DX" at the start and no "DX " anywhere: shown whole each time.
    f.take('U', "W1AW", QStringLiteral("beacon\rQST\n"));
    f.take('U', "W1AW", QStringLiteral("beacon\rQST\n"));
    const QString shown = QStringLiteral("UW1AW beacon\r\nQST\r\n");
    EXPECT_EQ(f.pane.text(), shown + shown);
    // "DX " inside: neither shown nor forwarded.
    f.take('U', "W1AW", QStringLiteral("hdr\rworked DX on 20\r"));
    EXPECT_EQ(f.pane.text(), shown + shown);
    EXPECT_TRUE(f.forwarded.isEmpty());
    // List DX Only: monitor text is not shown.
    f.listDxOnly = true;
    f.take('U', "W1AW", QStringLiteral("other\r"));
    EXPECT_EQ(f.pane.text(), shown + shown);
    // Over 4000 characters of data: the first 4000 are read.
    f.listDxOnly = false;
    f.take('U', "W1AW", QString(5000, u'z'));
    EXPECT_TRUE(f.pane.text().endsWith(QStringLiteral("UW1AW ") + QString(4000, u'z')));
}

TEST(AgwSpotFrames, ConnectedStationLinesAcrossFrames)
{
    Frames f;
    f.take('c', "NODE", QStringLiteral("*** CONNECTED With Station NODE\r"));
    EXPECT_EQ(f.link.ConnectedCall, QStringLiteral("NODE"));
    EXPECT_EQ(f.events, QStringList{"connected NODE"});
    EXPECT_TRUE(f.pane.text().endsWith(u"** Connected to NODE **"));

    // Another station's connect, or its disconnect, changes nothing.
    f.take('c', "OTHER", QString());
    f.take('d', "OTHER", QString());
    EXPECT_EQ(f.link.ConnectedCall, QStringLiteral("NODE"));
    EXPECT_EQ(f.events.size(), 1);

    // Spot lines split across frames, CR LF line ends.
    const QString stream = QStringLiteral("Hello N0CALL\r\n") + SpotA + QStringLiteral("\r\n")
                           + SpotB + QStringLiteral("\r\n") + SpotA + QStringLiteral("\r\n");
    for (const qsizetype size : {qsizetype(1), qsizetype(9), qsizetype(40), qsizetype(77)}) {
        Frames g;
        g.take('c', "NODE", QString());
        for (qsizetype at = 0; at < stream.size(); at += size)
            g.take('D', "node", stream.mid(at, size));
        // The repeat of SpotA within 800 characters is dropped.
        EXPECT_EQ(g.forwarded, (QStringList{"JA1ABC|14025.0", "UA9XYZ|7012.5"})) << size;
        EXPECT_EQ(g.pane.text().count(SpotA), 1) << size;
        EXPECT_EQ(g.pane.text().count(u"Hello N0CALL"), 1) << size;
    }

    // The connected station disconnects.
    f.take('d', "NODE", QString());
    EXPECT_TRUE(f.link.ConnectedCall.isEmpty());
    EXPECT_EQ(f.events.last(), QStringLiteral("disconnected NODE"));
    EXPECT_TRUE(f.pane.text().endsWith(u"\r\n** Disconnected from NODE **\r\n"));
}

TEST(AgwSpotCommands, CallsLinesAndWrap)
{
    EXPECT_EQ(AgwSpotLink::usableCall(QStringLiteral(" w1aw ")), QStringLiteral("w1aw"));
    EXPECT_EQ(AgwSpotLink::usableCall(QStringLiteral("KH6ABC-15")), QStringLiteral("KH6ABC-15"));
    EXPECT_TRUE(AgwSpotLink::usableCall(QStringLiteral("   ")).isEmpty());
    EXPECT_TRUE(AgwSpotLink::usableCall(QStringLiteral("KH6ABCD-15")).isEmpty()); // never cut
    EXPECT_EQ(AgwSpotLink::registrationTitle(QStringLiteral(" Form1 ")), QStringLiteral("Form1"));

    EXPECT_TRUE(AgwSpotLink::wrapDue(QString(70, u'a') + u' '));
    EXPECT_FALSE(AgwSpotLink::wrapDue(QString(69, u'a') + u' '));
    EXPECT_FALSE(AgwSpotLink::wrapDue(QString(71, u'a')));

    EngineFixture fx;
    AgwSpotLink link;
    // A blank or over-long own call registers nothing.
    EXPECT_FALSE(link.startRegistration(fx.agw, QStringLiteral("  "), QStringLiteral("Form1")));
    EXPECT_FALSE(link.startRegistration(fx.agw, QStringLiteral("ABCDEFGHIJ"), QStringLiteral("Form1")));
    QTest::qWait(50);
    EXPECT_TRUE(fx.engine.received().empty());

    ASSERT_TRUE(link.startRegistration(fx.agw, QStringLiteral("w1aw"), QStringLiteral("Form1")));
    ASSERT_TRUE(fx.registered.wait(3000));
    EXPECT_TRUE(fx.registered.last().at(0).toBool());
    ASSERT_TRUE(fx.waitFrames(2));

    EXPECT_TRUE(link.sendText(QStringLiteral(":c node"), fx.agw));      // 'C' to NODE, P nothing
    EXPECT_FALSE(link.sendText(QStringLiteral(":C"), fx.agw));          // call required
    EXPECT_FALSE(link.sendText(QStringLiteral(":C KH6ABCD-15"), fx.agw));
    EXPECT_TRUE(link.sendText(QStringLiteral(":x node"), fx.agw));      // nothing
    EXPECT_TRUE(link.sendText(QStringLiteral("SH/DX"), fx.agw));        // not connected: nothing
    EXPECT_TRUE(link.sendText(QStringLiteral(":D"), fx.agw));           // not connected: nothing
    link.ConnectedCall = QStringLiteral("NODE");
    EXPECT_TRUE(link.sendText(QStringLiteral("SH/DX"), fx.agw));
    EXPECT_TRUE(link.sendText(QStringLiteral(":d"), fx.agw));
    EXPECT_TRUE(link.ConnectedCall == u"NODE"); // until the engine reports it
    link.close(fx.agw);
    EXPECT_TRUE(link.ConnectedCall.isEmpty());
    ASSERT_TRUE(fx.waitFrames(7));

    struct Want {
        char kind;
        QByteArray from, to, data;
    };
    const std::vector<Want> want = {{'X', "W1AW", "", ""},      {'m', "W1AW", "", ""},
                                    {'C', "W1AW", "NODE", ""},  {'D', "W1AW", "NODE", "SH/DX\r"},
                                    {'d', "W1AW", "NODE", ""},  {'d', "W1AW", "NODE", ""},
                                    {'x', "W1AW", "", ""}};
    const auto& got = fx.engine.received();
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].kind, want[i].kind) << i;
        EXPECT_EQ(got[i].callTo, want[i].to) << i;
        if (want[i].kind != 'X' && want[i].kind != 'm' && want[i].kind != 'x')
            EXPECT_EQ(got[i].data, want[i].data) << i;
    }
    EXPECT_EQ(got[3].pid, 0xF0);
}

TEST(AgwSpotCommands, PollTakesWaitingFramesUpToTheBound)
{
    EngineFixture fx;
    AgwSpotLink link;
    ASSERT_TRUE(link.startRegistration(fx.agw, QStringLiteral("W1AW"), QStringLiteral("Form1")));
    ASSERT_TRUE(fx.registered.wait(3000));
    for (int i = 0; i < 100; ++i)
        fx.engine.sendFrame(FakeAgwEngine::frame(
            'U', "K1TTT", "DX",
            ("hdr\r" + SpotA.toLatin1().replace("JA1ABC", "K" + QByteArray::number(i).leftJustified(5)) + "\r")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return fx.agw.framesWaiting() == 100; }, 3000));
    SpotPane pane;
    int forwarded = 0;
    AgwSpotEvents ev;
    ev.forward = [&](const QString&, const QString&, const QString&) { ++forwarded; };
    EXPECT_EQ(link.poll(fx.agw, pane, false, ev), AgwSpotLink::FramesPerTick);
    EXPECT_EQ(link.poll(fx.agw, pane, false, ev), 100 - AgwSpotLink::FramesPerTick);
    EXPECT_EQ(link.poll(fx.agw, pane, false, ev), 0);
    EXPECT_EQ(forwarded, 100);
}
