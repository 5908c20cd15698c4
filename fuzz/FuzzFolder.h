#pragma once
// For fuzz targets whose reader takes a file by name: one temporary folder,
// recorded as the working, user and shared folder, into which each input is
// written before the reader runs.  Header-only so each target stays one
// program of its own.

#include "platform/Folders.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

namespace zq::fuzz {

inline const QString& fuzzFolder()
{
    static QTemporaryDir dir;
    static const bool ready = [] {
        Folders& f = Folders::instance();
        f.WorkingDirectory = f.UserDirectory = f.SharedDirectory = dir.path();
        f.WorkingDrive = QStringLiteral("/");
        return true; // the current folder stays: libFuzzer reads its corpus from there
    }();
    (void)ready;
    static const QString path = dir.path();
    return path;
}

// Writes the input as `name` in the fuzz folder; its path.  Plain system
// calls: a buffered QFile costs allocations per input that, under the
// sanitizers, outweigh many a reader.
inline QString writeInput(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = fuzzFolder() + QLatin1Char('/') + name;
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return path;
    for (size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    return path;
}

} // namespace zq::fuzz
