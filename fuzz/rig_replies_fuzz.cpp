// The radios' reply decoders on arbitrary bytes.  The first byte picks the
// rig type and which query the reply answers; the rest is the reply.

#include "rig/RigDecoders.h"
#include "rig/RigSettings.h"

#include <QByteArray>
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QStringList& types = zq::rigTypeNames();
    const int pick = data[0];
    const QString type = types[pick % types.size()];
    const bool afterFrequency = (pick & 0x80) != 0;
    const QByteArray reply(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const zq::RigReading r = zq::decodeReply(type, reply, afterFrequency, QStringLiteral("FA;"),
                                             QStringLiteral("MD0;"));
    // A decoded frequency is a number.
    if (r.frequency && !std::isfinite(*r.frequency))
        std::abort();
    if (r.mode && !(r.mode == QLatin1String("PH") || r.mode == QLatin1String("CW")
                    || r.mode == QLatin1String("AM") || r.mode == QLatin1String("FM")))
        std::abort();
    return 0;
}
