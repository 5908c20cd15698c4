// WK.txt as the WinKeyer window reads it when it loads.
#include "keying/WinKeyerSettings.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const zq::WinKeyerSettingsRead r = zq::parseWinKeyerSettings(content);
    if (r.valuesRead < 0 || r.valuesRead > zq::wkline::Count)
        __builtin_trap();
    if (r.complete) {
        // What was read completely writes back and reads back the same.
        const zq::WinKeyerSettingsRead again =
            zq::parseWinKeyerSettings(zq::formatWinKeyerSettings(r.settings));
        if (!again.complete || again.settings.WinKeyerPort != r.settings.WinKeyerPort
            || again.settings.WinKeyerPinConfig != r.settings.WinKeyerPinConfig
            || again.settings.WinKeyerKeyMode != r.settings.WinKeyerKeyMode)
            __builtin_trap();
    }
    return 0;
}
