#include "spots/BandMapScale.h"

#include "entry/Clocks.h"
#include "spots/SpotStore.h"

#include <cmath>

namespace zq {

BandEdges bandMapEdges(const QString& band)
{
    struct Row {
        const char* band;
        double low, high;
    };
    static constexpr Row rows[] = {{"160", 1.8, 2},    {"80", 3.5, 4},     {"40", 7, 7.3},
                                   {"20", 14, 14.35},  {"15", 21, 21.45},  {"10", 28, 29.7},
                                   {"6", 50, 54},      {"2", 144, 148},    {"1.25", 219, 225},
                                   {"440", 420, 450}};
    for (const Row& r : rows)
        if (QString::compare(band, QLatin1String(r.band), Qt::CaseInsensitive) == 0)
            return {r.low, r.high};
    return {};
}

BandEdges bandMapZoom(const QString& band, const SpotStore& store)
{
    BandEdges e = bandMapEdges(band);
    double min = e.high;
    double max = e.low;
    for (int i = 1; i <= SpotStore::Newest; ++i) {
        const double f = store.SpotFrequency[i];
        if (e.low < f && f < e.high) {
            if (f < min)
                min = f;
            if (f > max)
                max = f;
        }
    }
    if (max > min) {
        e.low = min - 0.001;
        e.high = max + 0.001;
    }
    return e;
}

QString threeDecimalText(double value)
{
    // Rounded to whole thousandths, halves to even, then written exactly.
    double thousandths = std::nearbyint(value * 1000.0);
    // value * 1000 can miss a half by one unit of the last place; a value
    // whose three-decimal rounding is a tie is decided on its decimal text.
    const QString exact = QString::number(value, 'f', 10);
    const qsizetype point = exact.indexOf(u'.');
    if (point >= 0 && exact.mid(point + 4) == QLatin1String("5000000")) {
        const double down = std::trunc(value * 1000.0);
        const double up = down + (value < 0 ? -1 : 1);
        thousandths = std::fmod(down, 2.0) == 0 ? down : up;
    }
    if (thousandths == 0)
        thousandths = 0; // no "-.000"
    QString text = QString::number(thousandths / 1000.0, 'f', 3);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

std::array<QString, 5> bandMapScaleCaptions(const QString& band, const SpotStore& store)
{
    const BandEdges e = bandMapZoom(band, store);
    std::array<QString, 5> captions;
    for (int i = 0; i <= 4; ++i)
        captions[static_cast<size_t>(i)] = threeDecimalText(e.low + i * (0.25 * (e.high - e.low)));
    return captions;
}

float scaleCaptionValue(const QString& caption)
{
    bool ok = false;
    const double v = caption.toDouble(&ok);
    return ok && std::isfinite(v) ? static_cast<float>(v) : 0.f;
}

double spotLabelLeft(float f, float t0, float t4, double x1, double x2, double width)
{
    return static_cast<double>((f - t0) / (t4 - t0)) * (x2 - x1) - width / 2 + x1;
}

std::optional<QColor> spotAgeColour(qint64 ageSeconds)
{
    if (ageSeconds < 600)
        return QColor(255, 255, 128);
    if (ageSeconds < 1800)
        return QColor(255, 255, 255);
    if (ageSeconds < 3600)
        return QColor(192, 192, 192);
    return std::nullopt;
}

qint64 spotAgeSeconds(const QDateTime& arrival, const QDateTime& now)
{
    return arrival.secsTo(now);
}

QString spotDetailsText(const QString& call, float frequencyMHz, const QDateTime& arrival,
                        float utcOffsetHours)
{
    return call + QStringLiteral("  ") + threeDecimalText(frequencyMHz) + QStringLiteral("  ")
        + utcClockText(arrival, utcOffsetHours);
}

} // namespace zq
