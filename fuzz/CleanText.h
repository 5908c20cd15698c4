#pragma once
// For the spot link targets: what a link hands on or shows holds no control
// character but CR and LF (no C0, DEL or C1), whatever bytes arrived.
// Header-only so each target stays one program of its own.

#include <QStringView>
#include <cstdlib>

namespace zq::fuzz {

inline void requireClean(QStringView text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\r' && u != u'\n') || (u >= 0x7F && u <= 0x9F))
            std::abort();
    }
}

} // namespace zq::fuzz
