// Wave files chosen by the operator, read for their PCM layout.
#include "platform/WaveDevice.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString reason;
    if (const auto f = zq::parseWaveHeader(bytes, &reason)) {
        // The layout must lie inside the bytes read.
        if (f->dataOffset + f->dataSize > bytes.size() || f->dataSize < 0)
            __builtin_trap();
    }
    return 0;
}
