// The Telnet link against a loopback cluster: the connect target, login and
// typed lines, spot lines gathered under any chunking, and the failures
// (refusal, unknown host, a close by the cluster, settings with nothing to
// connect to), each reported once and none after our own close.

#include "spots/TelnetLink.h"
#include "support/FakeCluster.h"

#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

struct Intake {
    TelnetIntake intake;
    SpotPane pane;
    bool listDxOnly = false;
    QStringList forwarded; // "call|frequency"
    QStringList records;

    // A chunk of bytes (one character each) as the link decodes it.
    void receive(QStringView chunk)
    {
        intake.take(telnetText(chunk.toLatin1()), pane, listDxOnly,
                    [this](const QString& f, const QString& c, const QString& line) {
                        forwarded << c + u'|' + f;
                        records << parseDXSpotLine(line).record;
                    });
    }
};

const QByteArray Login = "Welcome to the node\r\nlogin: ";
const QByteArray Spot1 = FakeCluster::spotLine("W3LPL", "14025.0", "JA1ABC", "CW 599");
const QByteArray Spot2 = FakeCluster::spotLine("K1TTT", "7012.5", "UA9XYZ", "up 2");
const QByteArray Spot3 = FakeCluster::spotLine("N0AX", "3525.0", "ZL2AA");

// A cluster session: prompt, announcements, keep-alives, spots; the last
// line unfinished.
QString session()
{
    return QString::fromLatin1(Login + "N0CALL de NODE 10-Dec-2026 1234Z >\r\n" + Spot1
                               + "\r\n\a\r\n" + Spot2 + "To ALL de K1ABC: gm all\r\n" + Spot1
                               + Spot3 + "DX de W1AW:      14070.0  unfinis");
}

struct Link {
    FakeCluster cluster;
    QString data;
    QList<int> errors;
    TelnetLink link{{[this](const QString& chunk) { data += chunk; },
                     [this](int number) { errors << number; }}};
};

} // namespace

TEST(TelnetErrors, TextsAndNumbers)
{
    struct Case {
        int number;
        const char* text;
    };
    for (const Case& c : std::initializer_list<Case>{
             {380, "ERROR: The property value is invalid."},
             {10054, "ERROR: The connection is reset by remote side.!"},
             {10058, "ERROR: Socket has been shut down."},
             {10060, "ERROR: Socket has been shut down."},
             {10061, "ERROR: Connection is forcefully rejected."},
             {11001, "ERROR: Authoritative answer: Host not found."},
             {10037, "ERROR: The operation is completed. No blocking operation in progress"},
             {10059, "Error number 10059"},
             {0, "Error number 0"}})
        EXPECT_EQ(winsockErrorText(c.number), QString::fromLatin1(c.text)) << c.number;

    EXPECT_EQ(winsockErrorNumber(QAbstractSocket::ConnectionRefusedError), 10061);
    EXPECT_EQ(winsockErrorNumber(QAbstractSocket::HostNotFoundError), 11001);
    EXPECT_EQ(winsockErrorNumber(QAbstractSocket::SocketTimeoutError), 10060);
    EXPECT_EQ(winsockErrorNumber(QAbstractSocket::RemoteHostClosedError), 10054);
    EXPECT_EQ(winsockErrorNumber(QAbstractSocket::NetworkError), 10050);

    for (const char* bad : {"", " ", "0", "65536", "-1", "23x", "2 3", "abc", "1e3"})
        EXPECT_EQ(telnetPortNumber(QString::fromLatin1(bad)), 0) << bad;
    EXPECT_EQ(telnetPortNumber(QStringLiteral("23")), 23);
    EXPECT_EQ(telnetPortNumber(QStringLiteral(" 7300 ")), 7300);
    EXPECT_EQ(telnetPortNumber(QStringLiteral("65535")), 65535);
}

TEST(TelnetIntake, EverySpotLineOnceUnderAnyChunking)
{
    const QString text = session();
    const QStringList expected = {"JA1ABC|14025.0", "UA9XYZ|7012.5", "JA1ABC|14025.0",
                                  "ZL2AA|3525.0"};
    for (qsizetype size : {qsizetype(1), qsizetype(2), qsizetype(7), qsizetype(15),
                           qsizetype(79), qsizetype(80), qsizetype(81), text.size()}) {
        Intake in;
        for (qsizetype at = 0; at < text.size(); at += size)
            in.receive(QStringView(text).mid(at, size));
        // Shown as received (less the keep-alive's BEL, a control
        // character); every complete spot line forwarded once, a repeated
        // one again (no duplicate filter here).
        EXPECT_EQ(in.pane.text(), QString(text).remove(u'\a')) << size;
        EXPECT_EQ(in.forwarded, expected) << size;
        EXPECT_EQ(in.records.first(), QString::fromLatin1(Spot1.mid(3))) << size;
    }
}

TEST(TelnetIntake, ListDxOnlyShowsEachForwardedLine)
{
    Intake in;
    in.listDxOnly = true;
    const QString text = session();
    for (qsizetype at = 0; at < text.size(); at += 13)
        in.receive(QStringView(text).mid(at, 13));
    EXPECT_EQ(in.pane.text(), QString::fromLatin1(Spot1 + Spot2 + Spot1 + Spot3));
    EXPECT_EQ(in.forwarded.size(), 4);

    // Ticked off again: the chunks show as they come.
    in.listDxOnly = false;
    in.receive(u"hello\r\n");
    EXPECT_TRUE(in.pane.text().endsWith(u"hello\r\n"));
}

TEST(TelnetIntake, OverlongLinesAreDroppedAndTheStreamGoesOn)
{
    Intake in;
    // A spot line buried at the end of a line longer than the bound, sent
    // in pieces, is dropped whole; the line after it counts.
    const QString longLine = QStringLiteral("DX ") + QString(SpotStream::MaxLine + 100, u'x');
    for (qsizetype at = 0; at < longLine.size(); at += 1000)
        in.receive(QStringView(longLine).mid(at, 1000));
    in.receive(u"\r\n");
    in.receive(QString::fromLatin1(Spot2));
    EXPECT_EQ(in.forwarded, QStringList{"UA9XYZ|7012.5"});
    // The pane stays bounded whatever arrives.
    EXPECT_LE(in.pane.text().size(), SpotPane::TrimAbove);
}

TEST(TelnetLink, ConnectsLogsInAndReceivesSpots)
{
    Link t;
    EXPECT_FALSE(t.link.sendLine(QStringLiteral("early"))); // not yet connected
    const QString target = t.link.connectTo(QStringLiteral("127.0.0.1"), t.cluster.portText());
    EXPECT_EQ(target, QStringLiteral("127.0.0.1:") + t.cluster.portText());
    ASSERT_TRUE(t.cluster.waitForClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.data == u"login: "; }, 3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.link.isConnected(); }, 3000));

    // Typed text goes out with CR LF, one byte per character.
    EXPECT_TRUE(t.link.sendLine(QStringLiteral("N0CALL")));
    EXPECT_TRUE(t.link.sendLine(QString()));
    EXPECT_TRUE(t.link.sendLine(QStringLiteral("Gr\u00fc\u00dfe")));
    ASSERT_TRUE(t.cluster.waitForReceived(17));
    EXPECT_EQ(t.cluster.received(), QByteArray("N0CALL\r\n\r\nGr\xfc\xdf" "e\r\n"));

    // Spot lines in pieces, keep-alives between them.
    Intake in;
    t.cluster.send("\r\nHello N0CALL, this is NODE\r\n");
    t.cluster.send(Spot1.left(20));
    t.cluster.send(Spot1.mid(20) + "\r\n");
    t.cluster.send(Spot2.left(50));
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.data.size() >= 37 + Spot1.size() + 52; }, 3000));
    t.cluster.send(Spot2.mid(50));
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.data.endsWith(QString::fromLatin1(Spot2)); }, 3000));
    in.receive(t.data);
    EXPECT_EQ(in.forwarded, (QStringList{"JA1ABC|14025.0", "UA9XYZ|7012.5"}));

    // Our own close reports nothing.
    t.link.close();
    t.cluster.send("more");
    QTest::qWait(50);
    EXPECT_TRUE(t.errors.isEmpty());
    EXPECT_FALSE(t.link.sendLine(QStringLiteral("late")));
}

TEST(TelnetLink, ACloseByTheClusterIsReportedOnceAfterItsLastText)
{
    Link t;
    t.link.connectTo(QStringLiteral("127.0.0.1"), t.cluster.portText());
    ASSERT_TRUE(t.cluster.waitForClient());
    t.cluster.send("73, bye\r\n");
    t.cluster.closeClient();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !t.errors.isEmpty(); }, 3000));
    QTest::qWait(50);
    EXPECT_EQ(t.errors, QList<int>{10054});
    EXPECT_TRUE(t.data.endsWith(u"73, bye\r\n"));
    EXPECT_FALSE(t.link.isConnected());
}

TEST(TelnetLink, FailuresAreReportedOnce)
{
    // Nothing to connect to: reported at once as 380, no connect notice.
    for (const auto& [host, port] : std::initializer_list<std::pair<const char*, const char*>>{
             {"", "23"}, {"  ", "23"}, {"127.0.0.1", ""}, {"127.0.0.1", "0"},
             {"127.0.0.1", "70000"}, {"127.0.0.1", "telnet"}}) {
        Link t;
        EXPECT_TRUE(t.link.connectTo(QString::fromLatin1(host), QString::fromLatin1(port)).isEmpty());
        QTest::qWait(10);
        EXPECT_EQ(t.errors, QList<int>{InvalidPropertyError}) << host << ":" << port;
    }

    {
        Link t;
        const QString port = t.cluster.portText();
        t.cluster.stopListening();
        EXPECT_FALSE(t.link.connectTo(QStringLiteral("127.0.0.1"), port).isEmpty());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !t.errors.isEmpty(); }, 5000));
        QTest::qWait(50);
        EXPECT_EQ(t.errors, QList<int>{10061});
    }
    {
        Link t;
        t.link.connectTo(QStringLiteral("no-such-node.invalid"), QStringLiteral("7300"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !t.errors.isEmpty(); }, 20000));
        QTest::qWait(50);
        EXPECT_EQ(t.errors, QList<int>{11001});
    }
    {
        // Open Port again while connected: the old connection ends quietly.
        Link t;
        t.link.connectTo(QStringLiteral("127.0.0.1"), t.cluster.portText());
        ASSERT_TRUE(t.cluster.waitForClient());
        ASSERT_TRUE(QTest::qWaitFor([&] { return t.link.isConnected(); }, 3000));
        t.link.connectTo(QStringLiteral("127.0.0.1"), t.cluster.portText());
        ASSERT_TRUE(QTest::qWaitFor([&] { return t.link.isConnected(); }, 3000));
        QTest::qWait(50);
        EXPECT_TRUE(t.errors.isEmpty());
    }
}

TEST(TelnetLink, ABurstComesInBoundedPortions)
{
    Link t;
    qsizetype largest = 0;
    int forwarded = 0;
    TelnetIntake intake;
    SpotPane pane;
    TelnetLink link{{[&](const QString& chunk) {
                         largest = std::max(largest, chunk.size());
                         forwarded += intake.take(chunk, pane, false, {});
                     },
                     [&](int n) { t.errors << n; }}};
    link.connectTo(QStringLiteral("127.0.0.1"), t.cluster.portText());
    ASSERT_TRUE(t.cluster.waitForClient());
    QByteArray burst = "\r\n"; // ends the login prompt's line
    for (int i = 0; i < 4000; ++i)
        burst += FakeCluster::spotLine("W3LPL", QByteArray::number(14000 + i % 300).constData(),
                                       ("K" + QByteArray::number(i)).constData());
    t.cluster.send(burst);
    ASSERT_TRUE(QTest::qWaitFor([&] { return forwarded == 4000; }, 10000));
    EXPECT_LE(largest, TelnetLink::Portion);
    EXPECT_TRUE(t.errors.isEmpty());
}
