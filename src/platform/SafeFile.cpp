#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// The bytes of a path: its folder ("." for a bare name) and its last name.
QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// The kernel's own bound on the links of one path.
constexpr int kMaxLinks = 40;

// Follows `path` through every link to the file a write replaces; a
// relative link is read from the folder of the link that holds it.  The
// end need not exist yet.  False with errno set (ELOOP past kMaxLinks).
bool followLinks(QByteArray* path)
{
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(path->constData(), &st) != 0)
            return errno == ENOENT;
        if (!S_ISLNK(st.st_mode))
            return true;
        if (hops == kMaxLinks) {
            errno = ELOOP;
            return false;
        }
        QByteArray target(st.st_size > 0 ? qsizetype(st.st_size) + 1 : 256, '\0');
        for (;;) {
            const ssize_t n = ::readlink(path->constData(), target.data(), size_t(target.size()));
            if (n < 0)
                return false;
            if (n < target.size()) {
                target.truncate(n);
                break;
            }
            target.resize(target.size() * 2);
        }
        *path = target.startsWith('/') ? target : folderOf(*path) + '/' + target;
    }
}

// The reason a reader or a writer refuses an existing file that is not a
// regular one.
QString notRegularReason(const struct stat& st)
{
    return S_ISDIR(st.st_mode) ? QString::fromLocal8Bit(strerror(EISDIR))
                               : QStringLiteral("Not a regular file");
}

// Whether this process may replace the existing file `st` at `path`, as an
// append to it would be allowed: a regular file that the kernel lets it
// open for writing, with at least one write permission bit set.  A file
// with none (chmod a-w) is read-only for every user, root included.
bool mayReplace(const QByteArray& path, const struct stat& st, QString* error)
{
    if (!S_ISREG(st.st_mode)) {
        setError(error, notRegularReason(st));
        return false;
    }
    if (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0) {
        setError(error, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        setError(error, QString::fromLocal8Bit(strerror(EACCES)));
        return false;
    }
    return true;
}

// Temporary files are named "." + the target's name + kTempMark + six
// characters of mkostemp(3), cut so that the name stays within the folder's
// limit for one name.
constexpr char kTempMark[] = ".zqtmp.";
constexpr qsizetype kTempMarkLength = sizeof kTempMark - 1;
constexpr qsizetype kUniqueLength = 6;

// The name of every temporary file of a write of `name` in `folder` up to
// its six unique characters.
QByteArray temporaryStem(const QByteArray& folder, const QByteArray& name)
{
    long limit = ::pathconf(folder.constData(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    const qsizetype room = qsizetype(limit) - 1 - kTempMarkLength - kUniqueLength;
    qsizetype keep = std::clamp<qsizetype>(room, 0, name.size());
    // A cut name ends on a whole UTF-8 character.
    while (keep > 0 && keep < name.size() && (uchar(name[keep]) & 0xC0) == 0x80)
        --keep;
    return '.' + name.left(keep) + kTempMark;
}

QByteArray temporaryTemplate(const QByteArray& folder, const QByteArray& name)
{
    return folder + '/' + temporaryStem(folder, name) + QByteArray(kUniqueLength, 'X');
}

// Whether `name` is a temporary file's name with the stem `stem` (any
// letter case).
bool isTemporaryNameOf(const QByteArray& name, const QByteArray& stem)
{
    if (name.size() != stem.size() + kUniqueLength
        || qstrnicmp(name.constData(), stem.constData(), size_t(stem.size())) != 0)
        return false;
    for (qsizetype i = stem.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// Gives the temporary file the owner and group of the file it replaces, as
// far as this process may: root keeps both, a member of the file's group
// keeps the group.
void keepOwner(int fd, const struct stat& old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, uid_t(-1), old.st_gid);
}

} // namespace

bool openRegularFile(QFile& file, const QString& path, QString* error, QIODevice::OpenMode extra)
{
    const QByteArray native = QFile::encodeName(path);
    // Looked at before the open: opening a device can change its lines.
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        setError(error, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        setError(error, notRegularReason(st));
        return false;
    }
    // The open itself does not wait (on a pipe put in its place meanwhile),
    // and what was opened is looked at again.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        setError(error, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0
        || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int err = errno;
        setError(error, S_ISREG(st.st_mode) ? QString::fromLocal8Bit(strerror(err))
                                            : notRegularReason(st));
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly | extra, QFileDevice::AutoCloseHandle)) {
        setError(error, file.errorString());
        ::close(fd);
        return false;
    }
    return true;
}

QString resolvedWriteTarget(const QString& path)
{
    QByteArray target = QFile::encodeName(path);
    if (!target.startsWith('/'))
        target = QFile::encodeName(QDir::currentPath()) + '/' + target;
    followLinks(&target);
    return QFile::decodeName(target);
}

// Each step is checked by hand rather than through QSaveFile: Qt 6.4's
// QSaveFile::commit() reports success after its final flush of a small
// file failed (a full disk), and then renames the short file over the
// target.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    // A link is followed to the end of its chain: the file it names is
    // replaced, every link stays.
    QByteArray target = QFile::encodeName(path);
    if (!followLinks(&target)) {
        setError(error, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    if (replacing && !mayReplace(target, old, error))
        return false;
    const QByteArray folder = folderOf(target);
    QByteArray temp = temporaryTemplate(folder, nameOf(target));

    auto fail = [&](int fd) {
        const int err = errno;
        setError(error, QString::fromLocal8Bit(strerror(err)));
        ::unlink(temp.constData());
        if (fd >= 0)
            ::close(fd);
        return false;
    };

    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        setError(error, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    // Held until the file is closed: the start-up clean-up of stale
    // temporary files passes over a file being written.
    (void)::flock(fd, LOCK_EX | LOCK_NB);
    if (replacing)
        keepOwner(fd, old); // before the mode: a change of owner clears set-id bits
    if (::fchmod(fd, replacing ? mode_t(old.st_mode & 07777) : newFileMode()) != 0)
        return fail(fd);
    if (auto& hook = faultHook(); hook && hook(path)) {
        errno = ENOSPC;
        return fail(fd);
    }
    if (!writeAll(fd, data) || ::fsync(fd) != 0)
        return fail(fd);
    if (::close(fd) != 0)
        return fail(-1);
    if (::rename(temp.constData(), target.constData()) != 0)
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
    struct stat old {};
    if (::stat(native.constData(), &old) == 0 && !mayReplace(native, old, error))
        return false;
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

int removeStaleTemporaryFiles(const QString& folder, const QStringList& names)
{
    const QByteArray dirName = QFile::encodeName(folder);
    QList<QByteArray> stems;
    for (const QString& n : names)
        stems << temporaryStem(dirName, QFile::encodeName(n));
    DIR* dir = ::opendir(dirName.constData());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (std::none_of(stems.cbegin(), stems.cend(),
                         [&](const QByteArray& stem) { return isTemporaryNameOf(name, stem); }))
            continue;
        const int fd = ::openat(::dirfd(dir), name.constData(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        // A file whose writer still runs holds its lock.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
            && ::unlinkat(::dirfd(dir), name.constData(), 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

bool copyFileAtomically(const QString& src, const QString& dst, QString* error)
{
    QFile in;
    if (!openRegularFile(in, src, error))
        return false;
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
        if (!QFileInfo::exists(p))
            return true;
        QFile f;
        if (!openRegularFile(f, p))
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
