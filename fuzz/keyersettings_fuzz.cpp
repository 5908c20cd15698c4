// The keyers' settings readers (CW.txt, wave2.txt) on any bytes: what they
// read writes back and reads back the same.

#include "keying/KeyerSettings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const zq::CwSettingsRead cw = zq::parseCwSettings(content);
    if (cw.valuesRead < 0 || cw.valuesRead > zq::cwline::Count)
        std::abort();
    if (cw.complete) {
        const QByteArray written = zq::formatCwSettings(cw.settings);
        const zq::CwSettingsRead back = zq::parseCwSettings(written);
        if (!back.complete || zq::formatCwSettings(back.settings) != written)
            std::abort();
    }

    const zq::PhoneSettingsRead phone = zq::parsePhoneSettings(content);
    if (phone.complete) {
        const QByteArray written = zq::formatPhoneSettings(phone.settings);
        const zq::PhoneSettingsRead back = zq::parsePhoneSettings(written);
        if (!back.complete || zq::formatPhoneSettings(back.settings) != written)
            std::abort();
    }
    return 0;
}
