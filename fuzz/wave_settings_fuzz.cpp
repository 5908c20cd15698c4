// The voice keyer's settings file reader, and what it read written back and
// read again.
#include "keying/KeyerSettings.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const zq::PhoneSettingsRead r = zq::parsePhoneSettings(content);
    const zq::PhoneSettingsRead again = zq::parsePhoneSettings(zq::formatPhoneSettings(r.settings));
    // A whole file reads back as it is written: the texts survive a
    // rewrite unchanged.
    if (r.complete && again.settings.Text != r.settings.Text)
        std::abort();
    return 0;
}
