// The county map's hot-spot table reader, and the fill from each hot spot
// it accepts on a small picture.
#include "output/CountyMap.h"

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 16)
        return 0;
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const auto spots = zq::parseHotSpots(content, &error);
    if (!spots)
        return 0;
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 0; x < 64; ++x)
        picture.setPixel(x, 16, qRgb(0, 0, 0));
    zq::CountyColours colours(1);
    QStringList names;
    for (const zq::HotSpot& s : *spots)
        names << s.name;
    zq::colourWorkedCounties(picture, *spots, names, colours);
    return 0;
}
