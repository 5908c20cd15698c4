// The shared preferences file (SharedUserPreferences.xml) on any bytes:
// loading keeps it, setting a key leaves every other byte in place, and the
// written file reads back as what was in memory.

#include "FuzzFolder.h"
#include "startup/SharedPrefs.h"

#include <QFile>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path =
        zq::fuzz::writeInput(QStringLiteral("SharedUserPreferences.xml"), data, size);
    zq::SharedPrefs::instance() = zq::SharedPrefs{};
    zq::LoadSharedPrefs(path);
    QString key = QStringLiteral("Own_Call");
    if (!zq::SetSharedPref(key, QStringLiteral("K0ZQ & <Sons>"), 1))
        return 0;
    const QString text = zq::SharedPrefs::instance().SharedPrefsText;
    if (!text.contains(QStringLiteral("<OWN_CALL>K0ZQ &amp; &lt;Sons&gt;</OWN_CALL>")))
        std::abort();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray written = f.readAll();
    const QString expected = text + QStringLiteral("\r\n");
    if (!zq::SharedPrefs::instance().Latin1File) {
        if (written != expected.toUtf8())
            std::abort();
    } else if (QString::fromLatin1(written) != expected && QString::fromUtf8(written) != expected) {
        std::abort();
    }
    return 0;
}
