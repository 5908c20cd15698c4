// The Pegasus control program's PEGASUS.OUT on arbitrary bytes.

#include "rig/RigDecoders.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const zq::RigReading r = zq::parsePegasusOut(content);
    if (r.mode && !r.mode->isEmpty() && *r.mode != QLatin1String("PH") && *r.mode != QLatin1String("CW"))
        std::abort();
    if (r.mode && !r.frequency)
        std::abort(); // the mode comes only after a frequency
    return 0;
}
