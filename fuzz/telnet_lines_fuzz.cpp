// Received Telnet cluster bytes, in chunks of every size the input asks
// for, decoded as the link decodes them, through the line assembly, the
// pane and the spot-line columns, with List DX Only both ways: nothing
// shown holds a control character, and a spot is handed on as received
// with its fields cut from it and cleaned.
#include "CleanText.h"
#include "spots/TelnetLink.h"

#include <QByteArrayView>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the chunk size and the List DX Only setting.
    const qsizetype chunk = 1 + (data[0] & 0x7f);
    const bool listDxOnly = (data[0] & 0x80) != 0;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1),
                               static_cast<qsizetype>(size - 1));
    const QString received = QString::fromLatin1(bytes);
    zq::TelnetIntake intake;
    zq::SpotPane pane;
    for (qsizetype at = 0; at < bytes.size(); at += chunk) {
        intake.take(zq::telnetText(bytes.sliced(at, std::min(chunk, bytes.size() - at))), pane,
                    listDxOnly,
                    [&received](const QString& f, const QString& c, const QString& line) {
                        zq::fuzz::requireSpotAsReceived(f, c, line, received);
                    });
    }
    zq::fuzz::requireClean(pane.text());
    (void)zq::winsockErrorText(static_cast<int>(size));
    return 0;
}
