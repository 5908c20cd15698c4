#include "support/FullDisk.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zq::test {

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    if (::getrlimit(RLIMIT_FSIZE, &old_) != 0)
        return;
    if (old_.rlim_max != RLIM_INFINITY && old_.rlim_max < bytes)
        return;
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = old_;
    lower.rlim_cur = bytes;
    active_ = ::setrlimit(RLIMIT_FSIZE, &lower) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    if (active_)
        ::setrlimit(RLIMIT_FSIZE, &old_);
}

namespace {
constexpr int kCannotSetUp = 77;
}

std::optional<std::string> inChildProcess(const std::function<bool()>& setUp,
                                          const std::function<std::string()>& body)
{
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(report[0]);
        if (!setUp())
            ::_exit(kCannotSetUp);
        const std::string failed = body();
        size_t done = 0;
        while (done < failed.size()) {
            const ssize_t n = ::write(report[1], failed.data() + done, failed.size() - done);
            if (n <= 0)
                break;
            done += size_t(n);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    std::string failed;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(report[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            failed.append(buffer, size_t(n));
    ::close(report[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotSetUp)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return failed + " (the child process did not end normally)";
    return failed;
}

std::optional<std::string> inSmallTmpfs(int kibibytes,
                                        const std::function<std::string(const QString&)>& body)
{
    if (::geteuid() != 0)
        return std::nullopt;
    QTemporaryDir dir;
    if (!dir.isValid())
        return std::nullopt;
    const QByteArray path = QFile::encodeName(dir.path());
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k,mode=0700";
    const QString folder = dir.path();
    return inChildProcess(
        [&] {
            // Mounts made here stay in this process's own namespace.
            return ::unshare(CLONE_NEWNS) == 0
                && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                && ::mount("tmpfs", path.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                           options.constData())
                       == 0;
        },
        [&] { return body(folder); });
}

void fillDisk(const QString& folder, qint64 leaveBytes)
{
    const QByteArray name = QFile::encodeName(folder + QStringLiteral("/filler"));
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
