#include "output/CountyMap.h"

#include "entry/TextCompare.h"
#include "platform/QuotedText.h"

#include <QFile>
#include <chrono>
#include <cmath>

// The map's resources live in the core library; a static library has to
// register them itself.
static void registerCountyMapResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(CountyMapZQ);
        return true;
    }();
    (void)done;
}

namespace zq {

namespace {

constexpr int MaxHotSpots = 1000;
constexpr int MaxCoordinate = 10000;

const QString PicturePath = QStringLiteral(":/countymap/CountyMapZQ.png");
const QString HotSpotPath = QStringLiteral(":/countymap/CountyMapZQ.txt");

bool readCoordinate(const QuotedValue& v, int minimum, int* out)
{
    double d = 0;
    if (v.quoted || v.text.isEmpty() || !parseNumber(v, &d))
        return false;
    if (d != std::floor(d) || d < minimum || d > MaxCoordinate)
        return false;
    *out = static_cast<int>(d);
    return true;
}

} // namespace

QPoint HotSpot::centre() const
{
    return {static_cast<int>(std::lround(left + width / 2.0)),
            static_cast<int>(std::lround(top + height / 2.0))};
}

std::optional<std::vector<HotSpot>> parseHotSpots(const QByteArray& content, QString* error)
{
    auto fail = [&](int line, const QString& why) -> std::optional<std::vector<HotSpot>> {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(line).arg(why);
        return std::nullopt;
    };
    std::vector<HotSpot> spots;
    QuotedLineReader reader(content);
    QList<QuotedValue> values;
    bool ok = true;
    while (reader.next(&values, &ok)) {
        const int line = reader.lineNumber();
        if (!ok)
            return fail(line, QStringLiteral("a quote is not closed"));
        if (static_cast<int>(spots.size()) >= MaxHotSpots)
            return fail(line, QStringLiteral("more than %1 hot spots").arg(MaxHotSpots));
        if (values.size() != 5)
            return fail(line, QStringLiteral("5 values expected"));
        HotSpot s;
        if (!values[0].quoted || values[0].text.isEmpty())
            return fail(line, QStringLiteral("the county name is missing"));
        s.name = values[0].text;
        if (!readCoordinate(values[1], 0, &s.left) || !readCoordinate(values[2], 0, &s.top)
            || !readCoordinate(values[3], 1, &s.width) || !readCoordinate(values[4], 1, &s.height))
            return fail(line, QStringLiteral("a position or size is not a whole number from 0 to %1")
                                  .arg(MaxCoordinate));
        spots.push_back(std::move(s));
    }
    return spots;
}

QImage countyMapPicture()
{
    registerCountyMapResources();
    QImage image(PicturePath);
    if (image.isNull())
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

std::vector<HotSpot> countyMapHotSpots()
{
    registerCountyMapResources();
    QFile f(HotSpotPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return parseHotSpots(f.readAll()).value_or(std::vector<HotSpot>{});
}

int floodFill(QImage& picture, QPoint seed, QRgb fill)
{
    if (picture.isNull() || !picture.rect().contains(seed))
        return 0;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    const int w = picture.width();
    const int h = picture.height();
    const QRgb opaque = 0xFF000000u;
    const QRgb target = picture.pixel(seed) | opaque;
    const QRgb paint = fill | opaque;
    if (target == paint)
        return 0;

    auto* bits = reinterpret_cast<QRgb*>(picture.bits());
    const qsizetype stride = picture.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    auto at = [&](int x, int y) -> QRgb& { return bits[y * stride + x]; };

    // Each pixel is painted when it enters the work list, so it enters at
    // most once: the list never holds more than the picture's pixels.
    std::vector<QPoint> work;
    work.reserve(1024);
    int painted = 0;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return;
        QRgb& p = at(x, y);
        if ((p | opaque) != target)
            return;
        p = paint;
        ++painted;
        work.emplace_back(x, y);
    };
    visit(seed.x(), seed.y());
    while (!work.empty()) {
        const QPoint p = work.back();
        work.pop_back();
        visit(p.x() + 1, p.y());
        visit(p.x() - 1, p.y());
        visit(p.x(), p.y() + 1);
        visit(p.x(), p.y() - 1);
    }
    return painted;
}

CountyColours::CountyColours(uint64_t seed)
    : engine_(seed)
{
}

CountyColours CountyColours::fromClock()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return CountyColours(static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

QRgb CountyColours::next()
{
    // Three numbers from [0, 1), red first; each component is the whole
    // part of the number times 254.
    int c[3];
    for (int& v : c) {
        const double r = std::generate_canonical<double, 53>(engine_);
        v = std::min(253, static_cast<int>(r * 254.0));
    }
    return qRgb(c[0], c[1], c[2]);
}

int colourWorkedCounties(QImage& picture, const std::vector<HotSpot>& spots,
                         const QStringList& worked, CountyColours& colours)
{
    int filled = 0;
    for (const QString& name : worked) {
        for (const HotSpot& s : spots) {
            if (!sameText(s.name, name))
                continue;
            floodFill(picture, s.centre(), colours.next());
            ++filled;
            break;
        }
    }
    return filled;
}

} // namespace zq
