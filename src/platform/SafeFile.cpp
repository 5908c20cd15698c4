#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zq {

namespace {
std::function<bool(const QString&)>& faultHook()
{
    static std::function<bool(const QString&)> hook;
    return hook;
}

bool injectedFault(const QString& path, QString* error)
{
    auto& hook = faultHook();
    if (hook && hook(path)) {
        if (error)
            *error = QStringLiteral("No space left on device");
        return true;
    }
    return false;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}
} // namespace

void setWriteFaultForTesting(std::function<bool(const QString&)> fails)
{
    faultHook() = std::move(fails);
}

namespace {

// The mode a new file gets: what the process's umask leaves of rw-rw-rw-.
mode_t newFileMode()
{
    static const mode_t mode = [] {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        return mode_t(0666 & ~mask);
    }();
    return mode;
}

// Writes all of data to fd; false with errno set on failure.
bool writeAll(int fd, const QByteArray& data)
{
    qsizetype written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + written, size_t(data.size() - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        written += n;
    }
    return true;
}

// Makes a rename in `folder` durable.  A file system that cannot sync a
// folder (EINVAL) has nothing more to do.
bool syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    const int err = errno;
    ::close(fd);
    errno = err;
    return ok;
}

} // namespace

// Each step is checked by hand rather than through QSaveFile: Qt 6.4's
// QSaveFile::commit() reports success after its final flush of a small
// file failed (a full disk), and then renames the short file over the
// target.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    QFileInfo info(path);
    // A link is followed: the file it names is replaced, the link stays.
    const QString target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    const QFileInfo targetInfo(target);
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(targetInfo.absolutePath());
    QByteArray temp = QFile::encodeName(targetInfo.absolutePath() + QStringLiteral("/.")
                                        + targetInfo.fileName() + QStringLiteral(".XXXXXX"));

    auto fail = [&](int fd) {
        const int err = errno;
        setError(error, QString::fromLocal8Bit(strerror(err)));
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.constData());
        return false;
    };

    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        setError(error, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    struct stat old {};
    const mode_t mode = ::stat(targetName.constData(), &old) == 0 ? mode_t(old.st_mode & 07777)
                                                                  : newFileMode();
    if (::fchmod(fd, mode) != 0)
        return fail(fd);
    if (auto& hook = faultHook(); hook && hook(path)) {
        errno = ENOSPC;
        return fail(fd);
    }
    if (!writeAll(fd, data) || ::fsync(fd) != 0)
        return fail(fd);
    if (::close(fd) != 0)
        return fail(-1);
    if (::rename(temp.constData(), targetName.constData()) != 0)
        return fail(-1);
    if (!syncFolder(folder)) {
        // The new content is in place but may not survive a power cut.
        setError(error, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    return true;
}

bool appendAndSync(const QString& path, const QByteArray& data, QString* error, qint64 keep)
{
    if (injectedFault(path, error))
        return false;
    const QByteArray native = QFile::encodeName(path);
    int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        setError(error, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    off_t before = ::lseek(fd, 0, SEEK_END);
    bool ok = before >= 0;
    if (ok && keep >= 0 && keep < before) {
        ok = ::ftruncate(fd, off_t(keep)) == 0;
        if (ok)
            before = off_t(keep);
    }
    if (ok && (!writeAll(fd, data) || ::fsync(fd) != 0))
        ok = false;
    if (!ok) {
        setError(error, QString::fromLocal8Bit(strerror(errno)));
        if (before >= 0) {
            // Take back whatever part of the line reached the file.
            (void)::ftruncate(fd, before);
            (void)::fsync(fd);
        }
    }
    ::close(fd);
    return ok;
}

bool copyFileAtomically(const QString& src, const QString& dst, QString* error)
{
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly)) {
        setError(error, in.errorString());
        return false;
    }
    QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        setError(error, in.errorString());
        return false;
    }
    return writeFileAtomically(dst, data, error);
}

QString uniqueBackupPath(const QString& path, const QByteArray& content)
{
    QFileInfo info(path);
    auto sameOrFree = [&](const QString& p) {
        QFile f(p);
        if (!f.exists())
            return true;
        if (!f.open(QIODevice::ReadOnly))
            return false;
        return f.readAll() == content;
    };
    if (sameOrFree(path))
        return path;
    const QString dir = info.path();
    const QString stem = info.completeBaseName();
    const QString ext = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    for (int n = 2;; ++n) {
        QString candidate = dir + QLatin1Char('/') + stem + QLatin1Char('-') + QString::number(n) + ext;
        if (sameOrFree(candidate))
            return candidate;
    }
}

} // namespace zq
