// The rig settings file RigCntrl.txt on arbitrary bytes: whatever it holds,
// the fixed-width fields keep their widths, and a whole read writes back
// as it reads.

#include "platform/QuotedText.h"
#include "rig/RigSettings.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const zq::RigCntrlRead r = zq::parseRigCntrl(content, zq::RigSettings{}, QStringLiteral("None"));
    const zq::RigSettings& s = r.settings;
    if (s.BaudRate.size() != 5 || s.Parity.size() != 1 || s.DataBits.size() != 1
        || s.StopBits.size() != 1 || s.PowerLine.size() != 1 || s.PollRate.size() != 1)
        std::abort();
    if (r.valuesRead < 0 || r.valuesRead > zq::rigline::Count)
        std::abort();
    if (r.complete()) {
        const QByteArray again = zq::formatRigCntrl(s, r.RigType, r.ConvToHex, r.UseFrequency, r.ModeBy);
        const zq::RigCntrlRead back = zq::parseRigCntrl(again, zq::RigSettings{}, QString());
        if (!back.complete() || back.RigType != zq::stripUnsafe(r.RigType)
            || back.settings.PortNumber != s.PortNumber)
            std::abort();
    }
    return 0;
}
