// Received packet engine frames, split from the input's bytes, through the
// spotting link's text handling: monitored and connected frames, connect
// and disconnect frames, the pane, the repeat test and the spot columns.
// Nothing shown holds a control character, and a spot is handed on as
// received (within the text its station sent) with its fields cut from it
// and cleaned.
#include "CleanText.h"
#include "platform/AgwEngine.h"
#include "spots/AgwSpotLink.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray buffer(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::deque<zq::AgwFrame> frames;
    zq::takeAgwFrames(buffer, frames);
    zq::AgwSpotLink link;
    zq::SpotPane pane;
    // What each station (its call cleaned, any case) has sent so far: a
    // spot line stands within it, whether from one frame or gathered
    // across the connected station's frames.
    std::map<QString, QString> sent;
    const QString* station = nullptr;
    zq::AgwSpotEvents events;
    events.forward = [&station](const QString& f, const QString& c, const QString& line) {
        zq::fuzz::requireSpotAsReceived(f, c, line, *station);
    };
    const auto take = [&](const zq::AgwDelivery& d, bool listDxOnly) {
        QString& text = sent[zq::cleanLinkText(d.call).toCaseFolded()];
        text += QStringView(d.data).left(zq::AgwSpotLink::MaxFrameData);
        station = &text;
        link.takeFrame(d, pane, listDxOnly, events);
    };
    bool listDxOnly = false;
    for (const zq::AgwFrame& f : frames) {
        take(zq::deliverAgwFrame(f), listDxOnly);
        listDxOnly = (f.port & 1) != 0;
    }
    // What is left, read as one frame's text from the connected station
    // and from a monitored one.
    zq::AgwDelivery rest;
    rest.kind = 'D';
    rest.call = link.ConnectedCall;
    rest.data = QString::fromLatin1(buffer);
    take(rest, false);
    rest.call = QStringLiteral("OTHER");
    take(rest, false);
    zq::fuzz::requireClean(pane.text());
    zq::fuzz::requireClean(link.ConnectedCall);
    return 0;
}
