#include "output/RateGraph.h"

#include "entry/LogTimes.h"
#include "logstore/ContactLog.h"

#include <QDate>
#include <QPainter>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace zq {

namespace {

constexpr int64_t SecondsPerDay = 86400;
constexpr int CountWindowSeconds = 600; // the ten minutes of one rate
constexpr int BridgeColumns = 15;
constexpr int SmoothColumns = 7;

struct Timed {
    int64_t moment;
    int band; // legend index
};

std::optional<int64_t> momentOf(const ContactRecord& c)
{
    const auto d = parseLogDate(c.LogDate);
    if (!d)
        return std::nullopt;
    const auto t = parseLogTime(c.LogTime);
    if (!t)
        return std::nullopt;
    return d->toJulianDay() * SecondsPerDay + t->msecsSinceStartOfDay() / 1000;
}

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

void setTimeLabels(RateGraph& g, int64_t start, int64_t span)
{
    for (int k = 0; k < RateGraph::TimeLabels; ++k) {
        // start + k x span / 14, to the nearest second, halves up.
        const int64_t m = start + (2 * k * span + 14) / 28;
        const int64_t day = m / SecondsPerDay;
        const int64_t sod = m % SecondsPerDay;
        const QDate d = QDate::fromJulianDay(day);
        g.lblTime[k] = twoDigits(int(sod / 3600)) + QLatin1Char(':') + twoDigits(int(sod / 60 % 60));
        g.lblDate[k] = twoDigits(d.month()) + QLatin1Char('/') + twoDigits(d.day());
    }
}

} // namespace

QString formatRate(float value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    std::string s(buf, r.ptr);
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.erase(0, 1);
    }
    std::string whole = s, frac;
    if (const auto dot = s.find('.'); dot != std::string::npos) {
        whole = s.substr(0, dot);
        frac = s.substr(dot + 1);
    }
    frac.resize(std::max<size_t>(frac.size(), 2), '0');
    // Keep one decimal; the next digit decides, halves away from zero.
    std::string digits = whole + frac.substr(0, 1);
    if (frac[1] >= '5') {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i >= 0)
            ++digits[i];
        else
            digits.insert(digits.begin(), '1');
    }
    std::string out = digits.substr(0, digits.size() - 1) + '.' + digits.back();
    if (negative && out.find_first_not_of("0.") != std::string::npos)
        out.insert(out.begin(), '-');
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

int bandLegendIndex(QStringView band)
{
    static const char16_t* const named[] = {u"160", u"80", u"40", u"20", u"15", u"10"};
    for (int i = 0; i < 6; ++i)
        if (band == QStringView(named[i]))
            return i;
    return 6;
}

RateGraph computeRateGraph(const ContactLog& log, int count, const BandColours& bands,
                           QRgb background)
{
    RateGraph g;
    count = std::clamp(count, 0, ContactLog::Capacity);
    std::vector<Timed> contacts;
    contacts.reserve(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i)
        if (const auto m = momentOf(log[i]))
            contacts.push_back({*m, bandLegendIndex(log[i].LogBand)});
    if (static_cast<int>(contacts.size()) < RateGraph::MinimumContacts)
        return g;
    std::stable_sort(contacts.begin(), contacts.end(),
                     [](const Timed& a, const Timed& b) { return a.moment < b.moment; });

    g.ColumnRate.assign(RateGraph::ArraySize, 0.0f);
    g.SmoothedRate.assign(RateGraph::ArraySize, 0.0f);
    g.ColumnBandColor.assign(RateGraph::ArraySize, background);
    g.ColumnBand.assign(RateGraph::ArraySize, -1);
    auto& rate = g.ColumnRate;
    auto& smooth = g.SmoothedRate;
    auto& colour = g.ColumnBandColor;

    const int64_t start = contacts.front().moment;
    const int64_t span = contacts.back().moment - start;
    setTimeLabels(g, start, span);
    if (span == 0) {
        g.outcome = RateGraph::Outcome::SameSecond;
        return g;
    }

    // Contacts into their columns.
    const double colspan = static_cast<double>(span) / RateGraph::Columns;
    rate[1] = 6;
    smooth[1] = 6;
    size_t first = 0; // earliest contact less than ten minutes before contact i
    for (size_t i = 0; i < contacts.size(); ++i) {
        const int64_t t = contacts[i].moment;
        while (t - contacts[first].moment >= CountWindowSeconds)
            ++first;
        const int n = static_cast<int>(i - first + 1);
        int x = 1;
        if (i > 0)
            x = static_cast<int>(std::nearbyint(static_cast<double>(t - start) / colspan));
        if (x < 0 || x >= RateGraph::ArraySize)
            continue; // cannot happen in time order; guards the arrays
        rate[x] = 6.0f * static_cast<float>(n);
        colour[x] = bands[static_cast<size_t>(contacts[i].band)];
        g.ColumnBand[static_cast<size_t>(x)] = contacts[i].band;
    }

    // Bridging of short gaps.
    for (int x = 2; x <= RateGraph::Columns; ++x) {
        if (rate[x] != 0) {
            smooth[x] = rate[x];
            continue;
        }
        int next = 0;
        for (int c = x + 1; c <= x + BridgeColumns; ++c) {
            if (rate[c] > 0) {
                next = c;
                break;
            }
        }
        if (next == 0)
            continue;
        const float from = rate[x - 1];
        const float slope = (rate[next] - from) / static_cast<float>(next - x);
        for (int k = x; k < next; ++k) {
            smooth[k] = from + static_cast<float>(k - x) * slope;
            rate[k] = smooth[k];
        }
    }

    // Smoothing over seven columns, of those above 0.
    for (int x = SmoothColumns; x <= RateGraph::Columns; ++x) {
        float sum = 0;
        int n = 0;
        for (int c = x - SmoothColumns + 1; c <= x; ++c) {
            if (rate[c] > 0) {
                sum += rate[c];
                ++n;
            }
        }
        if (n > 0)
            smooth[x] = sum / static_cast<float>(n);
    }

    // Scale ends.
    for (int x = 1; x <= RateGraph::Columns; ++x) {
        g.RateMin = std::min(g.RateMin, smooth[x]);
        g.RateMax = std::max(g.RateMax, smooth[x]);
    }

    // Ribbon: a column without its own band takes the one to its left in
    // the same run of columns above 0.
    QRgb carried = qRgb(0, 0, 0);
    int carriedBand = -1;
    for (int x = 1; x <= RateGraph::Columns; ++x) {
        int& band = g.ColumnBand[static_cast<size_t>(x)];
        if (smooth[x] > 0) {
            if (colour[x] == background)
                colour[x] = carried;
            else
                carried = colour[x];
            if (band < 0)
                band = carriedBand;
            else
                carriedBand = band;
        } else {
            carried = background;
            carriedBand = -1;
        }
    }

    // Rate labels.
    const float step = (g.RateMax - g.RateMin) / 16.0f;
    g.lblY[0] = formatRate(g.RateMin);
    for (int i = 1; i <= 15; ++i)
        g.lblY[i] = formatRate(g.RateMin + static_cast<float>(i) * step);
    g.lblY[16] = formatRate(g.RateMax);

    g.outcome = g.RateMax == g.RateMin ? RateGraph::Outcome::FlatRate : RateGraph::Outcome::Drawn;
    return g;
}

RatePoint ratePointAt(const RateGraph& g, int k)
{
    if (!g.rateLabelsSet() || k < 0 || k >= RateGraph::TimeLabels)
        return {};
    // Label k stands at k / 14 of the time axis.
    const int x = std::clamp(static_cast<int>(std::lround(k * double(RateGraph::Columns) / (RateGraph::TimeLabels - 1))),
                             1, RateGraph::Columns);
    return {g.SmoothedRate[static_cast<size_t>(x)], g.ColumnBand[static_cast<size_t>(x)]};
}

void drawRateGraph(QImage& picture, const RateGraph& g, const RateGraphFrame& f)
{
    if (g.outcome != RateGraph::Outcome::Drawn || picture.isNull())
        return;
    const double columnWidth = (f.right - f.left) / RateGraph::Columns;
    const double h = f.base - f.top;
    const double vertical =
        h / (static_cast<double>(g.RateMax) - static_cast<double>(g.RateMin)) * 0.995;
    auto px = [&](double twips) { return static_cast<int>(std::lround(twips / f.twipsPerPixelX)); };
    auto py = [&](double twips) { return static_cast<int>(std::lround(twips / f.twipsPerPixelY)); };
    auto columnX = [&](int c) { return px(f.left + 10 + (c - 2) * columnWidth); };
    auto valueY = [&](float v) {
        return py(f.base - (static_cast<double>(v) - g.RateMin) * vertical - 0.0025 * h);
    };
    const int ribbonTop = py(f.ribbonTop);
    const int ribbonBottom = py(f.ribbonBottom);

    QPainter p(&picture);
    p.setPen(QPen(QColor(0, 0, 255), 1));
    int prevX = columnX(0);
    int prevY = valueY(g.SmoothedRate[0]);
    for (int x = 1; x <= RateGraph::Columns; ++x) {
        const int cx = columnX(x);
        const int cy = valueY(g.SmoothedRate[static_cast<size_t>(x)]);
        p.drawLine(cx, cy, prevX, prevY);
        if (g.SmoothedRate[static_cast<size_t>(x)] > 0 || g.SmoothedRate[static_cast<size_t>(x) - 1] > 0)
            p.fillRect(QRect(QPoint(std::min(cx, prevX), std::min(ribbonTop, ribbonBottom)),
                             QPoint(std::max(cx, prevX), std::max(ribbonTop, ribbonBottom))),
                       QColor(g.ColumnBandColor[static_cast<size_t>(x)]));
        prevX = cx;
        prevY = cy;
    }
}

} // namespace zq
