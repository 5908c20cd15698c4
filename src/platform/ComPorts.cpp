#include "platform/ComPorts.h"

#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>

namespace zq {
namespace {

QString g_folderOverride;
QString g_procRootOverride;

// Lines of ComPorts.txt as (key, device); the file is tiny, so a bound of
// 64 KiB is far above anything valid and keeps a stray file from being read
// whole.
QList<QPair<QString, QString>> readComPorts()
{
    QList<QPair<QString, QString>> out;
    const QString folder = g_folderOverride.isEmpty() ? Folders::instance().WorkingDirectory
                                                      : g_folderOverride;
    if (folder.isEmpty()) return out;
    QFile f;
    if (!openRegularFile(f, fileIn(folder, QStringLiteral("ComPorts.txt")))) return out;
    const QByteArray bytes = f.read(64 * 1024);
    for (const QByteArray& raw : bytes.split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        const QString dev = line.mid(eq + 1).trimmed();
        if (dev.isEmpty()) continue;
        out.append({key, dev});
    }
    return out;
}

} // namespace

std::optional<long> parsePortAddress(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    long v = 0;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        v = t.mid(2).toLong(&ok, 16);
    else
        v = t.toLong(&ok, 10);
    if (!ok || v < 0) return std::nullopt;
    return v;
}

QString serialPortDevice(int n)
{
    if (n < 1) return {};
    for (const auto& [key, dev] : readComPorts()) {
        bool ok = false;
        const int k = key.toInt(&ok);
        if (ok && k == n) return dev;
    }
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

QString parallelPortDevice(const QString& address)
{
    const auto want = parsePortAddress(address);
    if (!want) return {};
    for (const auto& [key, dev] : readComPorts()) {
        if (!key.startsWith(QLatin1String("LPT"), Qt::CaseInsensitive)) continue;
        const auto have = parsePortAddress(key.mid(3));
        if (have && *have == *want) return dev;
    }
    // base-addr holds the port's addresses in decimal, the first being the base.
    const QString root = g_procRootOverride.isEmpty() ? QStringLiteral("/proc/sys/dev/parport")
                                                      : g_procRootOverride;
    const QStringList entries = QDir(root).entryList({QStringLiteral("parport*")}, QDir::Dirs);
    for (const QString& e : entries) {
        QFile f;
        if (!openRegularFile(f, root + QLatin1Char('/') + e + QStringLiteral("/base-addr"))) continue;
        const QString first = QString::fromLatin1(f.read(256)).simplified().section(QLatin1Char(' '), 0, 0);
        bool ok = false;
        const long base = first.toLong(&ok, 10);
        if (ok && base == *want) return QStringLiteral("/dev/") + e;
    }
    return {};
}

void setComPortsFolderOverride(const QString& folder) { g_folderOverride = folder; }
void setParportProcRootOverride(const QString& root) { g_procRootOverride = root; }

} // namespace zq
