// Received cluster text, one byte per character, as the TNC read takes it,
// through the line splitter, the duplicate filter and the spot-line
// columns: nothing shown holds a control character, and a spot is handed on
// as received with its fields cut from it and cleaned.
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
        stream.add(piece);
        zq::SplitSpotLines(stream, pane, false,
                           [&text](const QString& f, const QString& c, const QString& l) {
                               zq::fuzz::requireSpotAsReceived(f, c, l, text);
                           });
    }
    zq::fuzz::requireClean(pane.text());
    return 0;
}
