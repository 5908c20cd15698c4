// Received cluster text, one byte per character, cleaned as the TNC read
// cleans it, through the line splitter, the duplicate filter and the
// spot-line columns: nothing handed on or shown holds a control character.
#include "CleanText.h"
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
        stream.add(zq::cleanLinkText(piece));
        zq::SplitSpotLines(stream, pane, false,
                           [](const QString& f, const QString& c, const QString& l) {
                               zq::fuzz::requireClean(f);
                               zq::fuzz::requireClean(c);
                               zq::fuzz::requireClean(l);
                               zq::fuzz::requireClean(zq::parseDXSpotLine(l).record);
                           });
    }
    zq::fuzz::requireClean(pane.text());
    return 0;
}
