// The station preferences reader (QSOpref.txt) on any bytes: it reads what
// it can and the writer's output of the result reads back the same.

#include "FuzzFolder.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zq::fuzz::writeInput(QStringLiteral("QSOpref.txt"), data, size);
    zq::StationSettings::instance() = zq::StationSettings{};
    if (zq::ReadPrefFile() != zq::PrefReadResult::Ok)
        return 0;
    const QByteArray written = zq::formatPrefFile();
    zq::fuzz::writeInput(QStringLiteral("QSOpref.txt"),
                         reinterpret_cast<const uint8_t*>(written.constData()),
                         static_cast<size_t>(written.size()));
    zq::StationSettings::instance() = zq::StationSettings{};
    if (zq::ReadPrefFile() != zq::PrefReadResult::Ok || zq::formatPrefFile() != written)
        std::abort();
    return 0;
}
