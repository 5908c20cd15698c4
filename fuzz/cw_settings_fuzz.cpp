// The CW keyer's settings file reader, and what it read written back and
// read again.
#include "keying/KeyerSettings.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const zq::CwSettingsRead r = zq::parseCwSettings(content);
    const zq::CwSettingsRead again = zq::parseCwSettings(zq::formatCwSettings(r.settings));
    (void)again;
    return 0;
}
