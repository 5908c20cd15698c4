#include "support/RefusedPort.h"

#include "platform/PortAccess.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>
#include <grp.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zq::test {

RefusedPort::RefusedPort()
{
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        return;
    device_ = QString::fromLocal8Bit(name);
    const QByteArray path = QFile::encodeName(device_);
    if (::geteuid() == 0) {
        const struct group* dialout = ::getgrnam("dialout");
        const gid_t gid = dialout ? dialout->gr_gid : 20;
        ok_ = ::chown(path.constData(), 0, gid) == 0 && ::chmod(path.constData(), 0660) == 0;
    } else {
        ok_ = ::chmod(path.constData(), 0) == 0;
    }
    struct stat st {};
    ok_ = ok_ && ::stat(path.constData(), &st) == 0;
    if (ok_) {
        const struct group* g = ::getgrgid(st.st_gid);
        group_ = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(st.st_gid);
    }
}

RefusedPort::~RefusedPort()
{
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

void RefusedPort::asRefusedUser(const std::function<void()>& body) const
{
    if (::geteuid() != 0) {
        body();
        return;
    }
    // Only the effective ids and the groups change, so root's come back
    // after the body.
    std::vector<gid_t> groups(static_cast<size_t>(std::max(0, ::getgroups(0, nullptr))));
    groups.resize(static_cast<size_t>(std::max(0, ::getgroups(static_cast<int>(groups.size()),
                                                              groups.data()))));
    // The working folder (the current one) is the operator's own: the
    // refused user reads ComPorts.txt there.
    struct stat cwd {};
    const bool opened = ::stat(".", &cwd) == 0 && ::chmod(".", cwd.st_mode | 0005) == 0;
    const bool noGroups = ::setgroups(0, nullptr) == 0;
    const bool group = noGroups && ::setegid(65534) == 0;
    const bool user = group && ::seteuid(65534) == 0;
    body();
    // The rest of the run must not go on as another user.
    if ((user && ::seteuid(0) != 0) || (group && ::setegid(0) != 0)
        || (noGroups && ::setgroups(groups.size(), groups.data()) != 0))
        std::abort();
    if (opened)
        ::chmod(".", cwd.st_mode & 07777);
}

QString refusal(const RefusedPort& port)
{
    const QString words = portPermissionText(port.device(), EACCES);
    if (!words.contains(port.device())
        || !words.contains(QStringLiteral("sudo usermod -aG %1 $USER").arg(port.group())))
        ADD_FAILURE() << "the words for a refused device: " << words.toStdString();
    return words;
}

} // namespace zq::test
