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

// Writes the input as `name` in the fuzz folder; its path.
inline QString writeInput(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = fuzzFolder() + QLatin1Char('/') + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}

} // namespace zq::fuzz
