#include "platform/PortAccess.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zq {

QString portPermissionText(const QString& device, int err)
{
    if (err != EACCES && err != EPERM)
        return {};
    const QString refused =
        QStringLiteral("%1: %2.").arg(device, QString::fromLocal8Bit(std::strerror(err)));
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0)
        return refused;
    if (st.st_gid == 0)
        return refused
               + QStringLiteral("  It belongs to the group root: ask whoever runs this machine "
                                "for access to it.");
    const group* g = ::getgrgid(st.st_gid);
    const QString name = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(st.st_gid);
    return refused
           + QStringLiteral("  Only the members of its group, %1, may open it.  Join the group "
                            "with\n    sudo usermod -aG %1 $USER\nthen log out and in again.")
                 .arg(name);
}

QString portPermissionTextAfterFailedOpen(const QString& device)
{
    if (device.isEmpty()
        || ::faccessat(AT_FDCWD, QFile::encodeName(device).constData(), R_OK | W_OK, AT_EACCESS)
               == 0)
        return {};
    return portPermissionText(device, errno);
}

QString withPortPermission(const QString& message, const QString& permission)
{
    return permission.isEmpty() ? message : message + QStringLiteral("\n\n") + permission;
}

} // namespace zq
