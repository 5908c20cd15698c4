#include "logwindow/BandPlanTable.h"

#include <cmath>

namespace zq {

const std::array<BandFrequencyRow, 19>& BandFrequencyTable()
{
    static const std::array<BandFrequencyRow, 19> rows{{
        {1.7999f, 2.0001f, "160"},
        {3.4999f, 4.0001f, "80"},
        {6.9999f, 7.3001f, "40"},
        {13.9999f, 14.3501f, "20"},
        {20.9999f, 21.4501f, "15"},
        {27.9999f, 29.7001f, "10"},
        {49.9999f, 54.0001f, "6"},
        {143.9999f, 148.0001f, "2"},
        {218.9999f, 225.0001f, "1.25"},
        {419.9999f, 450.0001f, "440"},
        {901.9999f, 928.0001f, "902"},
        {1239.9999f, 1300.0001f, "1.24"},
        {2300.0f, 2450.0f, "2.3"},
        {3300.0f, 3500.0f, "3.3"},
        {5650.0f, 5925.0f, "5.6"},
        {10000.0f, 10500.0f, "10G"},
        {10.0999f, 10.1501f, "30"},
        {18.0679f, 18.1681f, "17"},
        {24.8899f, 24.9901f, "12"},
    }};
    return rows;
}

QString bandForFrequency(float frequencyMHz)
{
    QString found;
    for (const auto& row : BandFrequencyTable())
        if (row.lower < frequencyMHz && row.upper > frequencyMHz)
            found = QString::fromLatin1(row.band);
    return found;
}

const std::array<const char*, 7>& OperatingBands()
{
    static const std::array<const char*, 7> bands{"160", "80", "40", "20", "15", "10", "6"};
    return bands;
}

int operatingBandIndex(const QString& band)
{
    const auto& bands = OperatingBands();
    for (int i = 0; i < static_cast<int>(bands.size()); ++i)
        if (band.compare(QLatin1String(bands[static_cast<size_t>(i)]), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString formatFrequencyText(float frequencyMHz)
{
    if (!std::isfinite(frequencyMHz))
        return QString();
    const long long thousandths = std::llround(static_cast<double>(frequencyMHz) * 1000.0);
    const bool negative = thousandths < 0;
    const long long magnitude = negative ? -thousandths : thousandths;
    const long long whole = magnitude / 1000;
    const long long fraction = magnitude % 1000;
    QString text = negative ? QStringLiteral("-") : QString();
    if (whole != 0)
        text += QString::number(whole);
    text += QLatin1Char('.') + QStringLiteral("%1").arg(fraction, 3, 10, QLatin1Char('0'));
    return text;
}

} // namespace zq
