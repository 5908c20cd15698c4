#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    if (injectedFault(path, error))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, file.errorString());
        return false;
    }
    if (file.write(data) != data.size()) {
        setError(error, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) { // commit syncs to disk before the rename
        setError(error, file.errorString());
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
    qsizetype written = 0;
    while (ok && written < data.size()) {
        ssize_t n = ::write(fd, data.constData() + written, size_t(data.size() - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
        } else {
            written += n;
        }
    }
    if (ok && ::fsync(fd) != 0)
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
