// The words for a port this user may not open, and every port layer giving
// them for a device that refuses it (and only then).

#include "platform/ComPorts.h"
#include "platform/KeyLine.h"
#include "platform/PortAccess.h"
#include "platform/SerialPort.h"
#include "platform/WinKeyer.h"
#include "support/RefusedPort.h"
#include "support/TestEnv.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zq;
using namespace zq::test;

namespace {

std::string text(const QString& s)
{
    return s.toStdString();
}

// A refusal names the device, the system's reason, the group that owns the
// device and the command that joins it; any other failure has no such
// words.
TEST(PortAccess, APermissionFailureNamesTheDeviceItsGroupAndTheFix)
{
    TestEnv env;
    env.writeWorkFile("ttyZQ0", "");
    const QString device = env.workPath("ttyZQ0");
    const QByteArray path = QFile::encodeName(device);
    // Root gives the device to dialout, as Debian does its serial ports;
    // another user's file keeps that user's group.
    if (::geteuid() == 0)
        if (const group* dialout = ::getgrnam("dialout"))
            ASSERT_EQ(::chown(path.constData(), 0, dialout->gr_gid), 0);
    struct stat st {};
    ASSERT_EQ(::stat(path.constData(), &st), 0);
    ASSERT_NE(st.st_gid, 0u) << "the test needs a device of a group other than root";
    const group* g = ::getgrgid(st.st_gid);
    const std::string groupName = g ? g->gr_name : std::to_string(st.st_gid);

    for (const int err : {EACCES, EPERM}) {
        SCOPED_TRACE(err);
        const std::string t = text(portPermissionText(device, err));
        EXPECT_EQ(t.rfind(text(device) + ": " + std::strerror(err) + ".", 0), 0u) << t;
        EXPECT_NE(t.find("its group, " + groupName + ","), std::string::npos) << t;
        EXPECT_NE(t.find("\n    sudo usermod -aG " + groupName + " $USER\n"), std::string::npos)
            << t;
        EXPECT_NE(t.find("log out and in again"), std::string::npos) << t;
    }
    for (const int err : {0, ENOENT, EBUSY, ENODEV, EIO})
        EXPECT_EQ(portPermissionText(device, err), "") << err;

    // A device whose group cannot be read says only what was refused; one
    // of root's group is not to be joined.
    EXPECT_EQ(text(portPermissionText(env.workPath("nothing/ttyZQ1"), EACCES)),
              text(env.workPath("nothing/ttyZQ1")) + ": " + std::strerror(EACCES) + ".");
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    if (st.st_gid == 0) {
        const std::string t = text(portPermissionText("/dev/null", EACCES));
        EXPECT_NE(t.find("group root"), std::string::npos) << t;
        EXPECT_EQ(t.find("usermod"), std::string::npos) << t;
    }

    EXPECT_EQ(withPortPermission("Invalid port.", ""), "Invalid port.");
    EXPECT_EQ(withPortPermission("Invalid port.", "why"), "Invalid port.\n\nwhy");
}

// Every layer that opens a port gives the words for a device it may not
// open: the serial port of the rig and the TNC, the CW and PTT key lines
// on a serial or a parallel port, the WinKeyer's link.  A device that is
// missing gives none.
TEST(PortAccess, EveryPortLayerGivesThemForARefusedDeviceOnly)
{
    TestEnv env;
    RefusedPort refused;
    ASSERT_TRUE(refused.ok());
    env.writeWorkFile("ComPorts.txt", ("3=" + refused.device() + "\n4=/nonexistent/ttyZQ\n"
                                       "LPT&H378=" + refused.device() + "\n")
                                          .toUtf8());
    const QString expected = portPermissionText(refused.device(), EACCES);
    ASSERT_NE(expected.indexOf("its group, " + refused.group() + ","), -1) << text(expected);

    struct Seen {
        QString serial, keyLine, parallel, winKeyer;
        long winKeyerResult = 0;
    };
    auto openAll = [](int port) {
        Seen seen;
        SerialPort serial;
        serial.setCommPort(port);
        EXPECT_FALSE(serial.open());
        seen.serial = serial.permissionText();
        QString error;
        EXPECT_EQ(openKeyLine(KeyLinePort::serial(port), &error, &seen.keyLine), nullptr);
        EXPECT_EQ(openKeyLine(KeyLinePort::parallel(port == 3 ? "&H378" : "&H278"), &error,
                              &seen.parallel),
                  nullptr);
        wk_open(port, [&](long result, uint8_t) { seen.winKeyerResult = result; });
        seen.winKeyer = WinKeyerLink::instance().permissionText();
        return seen;
    };

    Seen seen;
    refused.asRefusedUser([&] { seen = openAll(3); });
    EXPECT_EQ(seen.serial, expected);
    EXPECT_EQ(seen.keyLine, expected);
    EXPECT_EQ(seen.parallel, expected);
    EXPECT_EQ(seen.winKeyerResult, wkresult::ComOpenFailed);
    EXPECT_EQ(seen.winKeyer, expected);

    setParportProcRootOverride(env.workPath("noparport"));
    seen = openAll(4);
    setParportProcRootOverride({});
    EXPECT_EQ(seen.serial, "");
    EXPECT_EQ(seen.keyLine, "");
    EXPECT_EQ(seen.parallel, "");
    EXPECT_EQ(seen.winKeyerResult, wkresult::ComOpenFailed);
    EXPECT_EQ(seen.winKeyer, "");
}

} // namespace
