#include "support/FullDisk.h"

#include <QByteArray>
#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace zq::test {

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    if (::getrlimit(RLIMIT_FSIZE, &old_) != 0)
        return;
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = old_;
    lower.rlim_cur = bytes;
    if (old_.rlim_max != RLIM_INFINITY && old_.rlim_max < bytes)
        return;
    active_ = ::setrlimit(RLIMIT_FSIZE, &lower) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    if (active_)
        ::setrlimit(RLIMIT_FSIZE, &old_);
}

SmallDisk::SmallDisk(int kibibytes)
{
    if (!dir_.isValid() || ::geteuid() != 0)
        return;
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k,mode=0700";
    mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                       MS_NOSUID | MS_NODEV, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

void SmallDisk::fill(qint64 leaveBytes)
{
    const QByteArray name = QFile::encodeName(dir_.path() + QStringLiteral("/filler"));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const QByteArray block(4096, 'x');
    off_t size = 0;
    for (;;) {
        const ssize_t n = ::write(fd, block.constData(), size_t(block.size()));
        if (n <= 0)
            break;
        size += n;
    }
    if (leaveBytes > 0)
        (void)::ftruncate(fd, size > leaveBytes ? size - leaveBytes : 0);
    ::fsync(fd);
    ::close(fd);
}

} // namespace zq::test
