// The rate graph over whatever dates, times and bands a log may hold: one
// contact per line, "date|time|band", then the drawing on a small picture.
#include "logstore/ContactLog.h"
#include "output/RateGraph.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 16)
        return 0;
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    zq::ContactLog& log = zq::ContactLog::instance();
    log.reset();
    for (const QByteArray& line : content.split('\n')) {
        if (log.ContactCount >= 400)
            break;
        const QList<QByteArray> f = line.split('|');
        zq::ContactRecord& c = log[++log.ContactCount];
        c.LogDate = QString::fromLatin1(f.value(0));
        c.LogTime = QString::fromLatin1(f.value(1));
        c.LogBand = QString::fromLatin1(f.value(2));
    }
    const zq::BandColours bands = {qRgb(255, 255, 255), qRgb(0, 0, 255), qRgb(255, 0, 0),
                                   qRgb(0, 255, 0), qRgb(128, 255, 255), qRgb(255, 0, 255),
                                   qRgb(255, 255, 0)};
    const zq::RateGraph g = zq::computeRateGraph(log, log.ContactCount, bands, qRgb(0, 0, 0));
    QImage picture(160, 120, QImage::Format_RGB32);
    picture.fill(Qt::black);
    zq::RateGraphFrame frame;
    frame.twipsPerPixelX = frame.twipsPerPixelY = 60;
    zq::drawRateGraph(picture, g, frame);
    return 0;
}
