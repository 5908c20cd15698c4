// The band plan reader and the mode lookup over whatever it reads.
#include "rig/BandPlan.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > static_cast<size_t>(zq::MaxBandPlanFileBytes))
        return 0;
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    static zq::BandPlanRows rows;
    for (bool extraOnly : {false, true}) {
        zq::readBandPlan(content, rows, extraOnly);
        for (float f : {1.9f, 7.2f, 14.2f, 0.0f, -1.0f}) {
            QString mode;
            zq::BandPlanMode(rows, f, mode);
            (void)zq::formatPlanFrequency(f);
        }
    }
    return 0;
}
