// PackSpot.txt as read at every opening of the spotting window.
#include "spots/SpotSettings.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    zq::PackSpotValues v;
    if (zq::parsePackSpot(content, v) == 14) {
        zq::PackSpotValues again;
        zq::parsePackSpot(zq::formatPackSpot(v), again);
    }
    (void)v.tnc.SerialSettings();
    return 0;
}
