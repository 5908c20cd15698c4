// The set-frequency and set-mode commands built from arbitrary poll strings
// (they come from RigCntrl.txt and the rig dialog's boxes), frequencies and
// modes, and the typed-number reader of the tuning windows.  A command is
// either refused with a reason and no bytes, or sent whole.
//
// Input: byte 0 picks the rig type, bytes 1-4 are the frequency (a float's
// bytes), the rest is split at '\n' into frequency box, mode box, poll
// string, mode and a typed number.

#include "rig/RigCommands.h"
#include "rig/RigSettings.h"

#include <QByteArray>
#include <QList>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5)
        return 0;
    const QStringList& types = zq::rigTypeNames();
    zq::RigCommandContext ctx;
    ctx.rigType = data[0] < types.size() ? types[data[0]] : QStringLiteral("Unknown");
    float mhz = 0;
    std::memcpy(&mhz, data + 1, sizeof mhz);
    const QByteArray rest(reinterpret_cast<const char*>(data + 5), static_cast<qsizetype>(size - 5));
    const QList<QByteArray> parts = rest.split('\n');
    auto part = [&](int i) { return i < parts.size() ? QString::fromUtf8(parts[i]) : QString(); };
    ctx.freqBox = part(0);
    ctx.modeBox = part(1);
    ctx.freqPoll = part(2);
    ctx.kenwoodVfo = data[0] & 1 ? 1 : 10;

    const zq::RigCommand f = zq::buildFrequencyCommand(ctx, mhz);
    if (!f.ok() && !f.bytes.isEmpty())
        std::abort(); // a refused command sends nothing
    if (f.ok() && !(mhz > 0 && std::isfinite(mhz)))
        std::abort();
    if (f.ok() && f.form == zq::CommandForm::Bytes && f.bytes.isEmpty())
        std::abort();
    for (int ms : f.pausesMs) {
        if (ms < 0 || ms > 1000)
            std::abort();
    }

    const zq::RigCommand m = zq::buildModeCommand(ctx, part(3));
    if (!m.ok() && !m.bytes.isEmpty())
        std::abort();

    if (const std::optional<double> v = zq::readDecimal(part(4))) {
        if (!std::isfinite(*v))
            std::abort();
        (void)zq::decimalText(*v, 15);
        (void)zq::scanFrequencyText(static_cast<float>(*v));
    }
    (void)zq::pegasusInContent(mhz, part(3));
    return 0;
}
