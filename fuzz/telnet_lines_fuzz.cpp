// Received Telnet cluster text, one byte per character, in chunks of every
// size the input asks for, through the line assembly, the pane and the
// spot-line columns, with List DX Only both ways.
#include "spots/TelnetLink.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the chunk size and the List DX Only setting.
    const qsizetype chunk = 1 + (data[0] & 0x7f);
    const bool listDxOnly = (data[0] & 0x80) != 0;
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data + 1),
                                             static_cast<qsizetype>(size - 1));
    zq::TelnetIntake intake;
    zq::SpotPane pane;
    for (qsizetype at = 0; at < text.size(); at += chunk) {
        intake.take(QStringView(text).mid(at, chunk), pane, listDxOnly,
                    [](const QString& f, const QString& c, const QString& line) {
                        (void)f;
                        (void)c;
                        (void)zq::parseDXSpotLine(line);
                    });
    }
    (void)zq::winsockErrorText(static_cast<int>(size));
    return 0;
}
