// Received cluster text, one byte per character, through the line splitter,
// the duplicate filter and the spot-line columns.
#include "spots/SpotIntake.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data),
                                             static_cast<qsizetype>(size));
    zq::SpotStream stream;
    zq::SpotPane pane;
    // Two pieces, as a port may deliver them.
    for (const QString& piece : {text.left(text.size() / 3), text.mid(text.size() / 3)}) {
        stream.add(piece);
        zq::SplitSpotLines(stream, pane, false,
                           [](const QString& f, const QString& c, const QString& l) {
                               (void)f;
                               (void)c;
                               (void)zq::parseDXSpotLine(l);
                           });
    }
    return 0;
}
