// Received bytes of the packet engine link, split into frames and read.
#include "platform/AgwEngine.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray buffer(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::deque<zq::AgwFrame> frames;
    // Fed in two pieces, as a socket may deliver it.
    QByteArray rest = buffer.mid(buffer.size() / 2);
    buffer.truncate(buffer.size() / 2);
    if (zq::takeAgwFrames(buffer, frames)) {
        buffer += rest;
        zq::takeAgwFrames(buffer, frames);
    }
    for (const zq::AgwFrame& f : frames) {
        (void)zq::deliverAgwFrame(f);
        (void)zq::isOwnConnectionMonitor(f, QStringLiteral("W1AW"));
    }
    return 0;
}
