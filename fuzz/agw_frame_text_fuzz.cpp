// Received packet engine frames, split from the input's bytes, through the
// spotting link's text handling: monitored and connected frames, connect
// and disconnect frames, the pane, the repeat test and the spot columns.
// Nothing handed on or shown holds a control character.
#include "CleanText.h"
#include "platform/AgwEngine.h"
#include "spots/AgwSpotLink.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <deque>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray buffer(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::deque<zq::AgwFrame> frames;
    zq::takeAgwFrames(buffer, frames);
    zq::AgwSpotLink link;
    zq::SpotPane pane;
    zq::AgwSpotEvents events;
    events.forward = [](const QString& f, const QString& c, const QString& line) {
        zq::fuzz::requireClean(f);
        zq::fuzz::requireClean(c);
        zq::fuzz::requireClean(line);
        zq::fuzz::requireClean(zq::parseDXSpotLine(line).record);
    };
    bool listDxOnly = false;
    for (const zq::AgwFrame& f : frames) {
        link.takeFrame(zq::deliverAgwFrame(f), pane, listDxOnly, events);
        listDxOnly = (f.port & 1) != 0;
    }
    // What is left, read as one frame's text from the connected station
    // and from a monitored one.
    zq::AgwDelivery rest;
    rest.kind = 'D';
    rest.call = link.ConnectedCall;
    rest.data = QString::fromLatin1(buffer);
    link.takeFrame(rest, pane, false, events);
    rest.call = QStringLiteral("OTHER");
    link.takeFrame(rest, pane, false, events);
    zq::fuzz::requireClean(pane.text());
    zq::fuzz::requireClean(link.ConnectedCall);
    return 0;
}
