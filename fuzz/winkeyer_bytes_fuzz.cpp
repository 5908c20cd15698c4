// The bytes a WinKeyer sends, through the open handshake and the status
// decoding.  The input is a script: each step's first byte picks what
// happens (begin an open, a wait that runs out, or a run of keyer bytes
// whose length the same byte gives).
#include "platform/WinKeyer.h"

#include <QByteArrayView>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zq::WinKeyerSession s;
    size_t i = 0;
    while (i < size) {
        const uint8_t op = data[i++];
        zq::WinKeyerSession::Step step;
        switch (op % 4) {
        case 0: step = s.begin(); break;
        case 1: step = s.timedOut(); break;
        default: {
            const size_t n = std::min<size_t>(op / 4, size - i);
            step = s.take(QByteArrayView(reinterpret_cast<const char*>(data + i),
                                         static_cast<qsizetype>(n)));
            i += n;
            break;
        }
        }
        const bool open = s.phase() == zq::WinKeyerSession::Phase::Open;
        if (s.status() < 0 || s.status() > 31)
            __builtin_trap();
        if (open != (s.version() > 0))
            __builtin_trap();
        if (step.finished && (step.result == zq::wkresult::Success) != open)
            __builtin_trap();
        if (!open && s.status() != 0)
            __builtin_trap();
    }
    return 0;
}
