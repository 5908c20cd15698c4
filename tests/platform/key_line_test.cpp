// Key lines on real devices (a pseudo-terminal the test opens, named in
// ComPorts.txt) and the registry of keying ports.

#include "platform/ComPorts.h"
#include "platform/KeyLine.h"
#include "platform/KeyingPorts.h"
#include "support/TestEnv.h"

#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

using namespace zq;
using namespace zq::test;

namespace {

// A pseudo-terminal pair; the slave is the "serial port".
struct Pty {
    int master = -1, slave = -1;
    QString slaveName;
    Pty()
    {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0)
            slaveName = QString::fromLocal8Bit(name);
    }
    ~Pty()
    {
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
    }
};

TEST(KeyLine, SerialLineOnAPseudoTerminalNamedInComPorts)
{
    TestEnv env;
    Pty pty;
    ASSERT_FALSE(pty.slaveName.isEmpty());
    env.writeWorkFile("ComPorts.txt", ("# key line\n3=" + pty.slaveName + "\n").toUtf8());

    QString error;
    auto line = openKeyLine(KeyLinePort::serial(3), &error);
    ASSERT_NE(line, nullptr) << error.toStdString();
    EXPECT_TRUE(line->isOpen());
    // Modem lines a pseudo-terminal lacks are no failure.
    EXPECT_TRUE(line->down(KeySignal::Rts));
    EXPECT_TRUE(line->up(KeySignal::Rts));
    EXPECT_TRUE(line->down(KeySignal::Dtr));

    // Our own exclusive descriptor: nobody else opens the port meanwhile.
    EXPECT_EQ(openKeyLine(KeyLinePort::serial(3), &error), nullptr);
    EXPECT_FALSE(error.isEmpty());

    line->close();
    EXPECT_FALSE(line->isOpen());
    EXPECT_FALSE(line->down(KeySignal::Dtr)); // no descriptor is used after close
    line->close();                            // a second close does nothing
    EXPECT_NE(openKeyLine(KeyLinePort::serial(3), &error), nullptr);
}

TEST(KeyLine, PortsThatCannotBeOpenedSayWhy)
{
    TestEnv env;
    env.writeWorkFile("plain.txt", "not a port");
    env.writeWorkFile("ComPorts.txt", ("4=" + env.workPath("plain.txt") + "\n5=/nonexistent/tty\n"
                                       "LPT&H378=" + env.workPath("plain.txt") + "\n")
                                          .toUtf8());
    setParportProcRootOverride(env.workPath("noparport"));
    const KeyLinePort ports[] = {
        KeyLinePort::serial(4),                           // a plain file
        KeyLinePort::serial(5),                           // no such device
        KeyLinePort::serial(0),                           // no port number
        KeyLinePort::parallel(QStringLiteral("888")),     // a plain file, no ppdev
        KeyLinePort::parallel(QStringLiteral("&H278")),   // no device at the address
        KeyLinePort::parallel(QStringLiteral("LPT1")),    // no address
    };
    for (const KeyLinePort& p : ports) {
        SCOPED_TRACE(p.serialPort);
        SCOPED_TRACE(p.parallelAddress.toStdString());
        QString error;
        EXPECT_EQ(openKeyLine(p, &error), nullptr);
        EXPECT_FALSE(error.isEmpty());
    }
    setParportProcRootOverride({});
}

TEST(KeyLine, RecordingLineReleasesItsRaisedLinesWhenClosed)
{
    RecordingKeyLine line(KeyLinePort::parallel(QStringLiteral("&H378")));
    line.down(KeySignal::Rts);
    line.close();
    const auto t = line.transitions();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_TRUE(t[0].down);
    EXPECT_EQ(t[0].parallelValue, 3);
    EXPECT_FALSE(t[1].down);
    EXPECT_EQ(t[1].parallelValue, 2);
    EXPECT_LE(t[0].at, t[1].at);
}

TEST(KeyingPorts, ASerialClaimReleasesTheOtherSerialUsersOnly)
{
    TestEnv env;
    std::vector<RecordingKeyLine*> opened;
    KeyingPorts::setOpenerForTesting([&](const KeyLinePort& p, QString*, QString*) {
        auto l = std::make_unique<RecordingKeyLine>(p);
        opened.push_back(l.get());
        return std::unique_ptr<KeyLine>(std::move(l));
    });
    KeyingPorts& ports = KeyingPorts::instance();

    auto cw = ports.claimLine(KeyingOwner::CwKeyLine, KeyLinePort::serial(1));
    ASSERT_NE(cw, nullptr);
    cw->down(KeySignal::Dtr);
    // The voice keyer takes a port: the CW line goes up, then closes.
    auto ptt = ports.claimLine(KeyingOwner::Ptt, KeyLinePort::serial(2));
    EXPECT_FALSE(cw->isOpen());
    EXPECT_FALSE(opened[0]->transitions().back().down);
    EXPECT_EQ(ports.line(KeyingOwner::CwKeyLine), nullptr);
    EXPECT_EQ(ports.line(KeyingOwner::Ptt), ptt);

    // The WinKeyer claims with its own release step; it runs once when
    // another serial claim comes, and may call back in.
    int winKeyerReleases = 0;
    auto claimWinKeyer = [&] {
        ports.claim(KeyingOwner::WinKeyer, [&] {
            ++winKeyerReleases;
            ports.release(KeyingOwner::WinKeyer);
        });
    };
    claimWinKeyer();
    EXPECT_FALSE(ptt->isOpen());
    EXPECT_TRUE(ports.holds(KeyingOwner::WinKeyer));

    // The parallel port is no serial port: claiming it closes nothing, and
    // no serial claim closes it.
    auto parallelCw =
        ports.claimLine(KeyingOwner::CwKeyLine, KeyLinePort::parallel(QStringLiteral("&H378")));
    auto parallelPtt =
        ports.claimLine(KeyingOwner::PttParallel, KeyLinePort::parallel(QStringLiteral("&H278")));
    EXPECT_EQ(winKeyerReleases, 0);
    EXPECT_TRUE(ports.holds(KeyingOwner::WinKeyer));
    ptt = ports.claimLine(KeyingOwner::Ptt, KeyLinePort::serial(2));
    EXPECT_EQ(winKeyerReleases, 1);
    EXPECT_TRUE(parallelCw->isOpen());
    EXPECT_TRUE(parallelPtt->isOpen());
    claimWinKeyer();
    EXPECT_FALSE(ptt->isOpen());
    EXPECT_TRUE(parallelCw->isOpen());
    EXPECT_TRUE(parallelPtt->isOpen());

    // An owner's new claim replaces its own earlier one; two owners of one
    // parallel device take turns (it is claimed by one descriptor at a time).
    ports.claimLine(KeyingOwner::PttParallel, KeyLinePort::parallel(QStringLiteral("&H378")));
    EXPECT_FALSE(parallelPtt->isOpen());
    EXPECT_FALSE(parallelCw->isOpen());
    auto serialCw = ports.claimLine(KeyingOwner::CwKeyLine, KeyLinePort::serial(3));
    EXPECT_EQ(winKeyerReleases, 2);
    EXPECT_TRUE(ports.holds(KeyingOwner::PttParallel));

    // A port of kind None gives up the owner's claim and opens nothing.
    EXPECT_EQ(ports.claimLine(KeyingOwner::CwKeyLine, KeyLinePort{}), nullptr);
    EXPECT_FALSE(serialCw->isOpen());
    EXPECT_TRUE(ports.holds(KeyingOwner::PttParallel));
    ports.releaseAll();
    EXPECT_FALSE(ports.holds(KeyingOwner::PttParallel));
    EXPECT_EQ(winKeyerReleases, 2);
    KeyingPorts::setOpenerForTesting(nullptr);
}

} // namespace
