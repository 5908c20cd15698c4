#include "rig/BandPlan.h"

#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QLocale>
#include <cmath>

namespace zq {

void BandPlanRows::clear()
{
    for (int i = 0; i <= Capacity; ++i) {
        SegmentBand[i].clear();
        SegmentClass[i].clear();
        SegmentMode[i].clear();
        SegmentLowerMHz[i] = 0;
        SegmentUpperMHz[i] = 0;
    }
    BandPlanRowCount = 0;
}

BandPlanReadResult readBandPlan(const QByteArray& content, BandPlanRows& rows, bool extraOnly)
{
    rows.clear();
    BandPlanReadResult result;
    QuotedValueStream in(content);
    if (!in.nextText(&result.date))
        return result;
    result.status = BandPlanRead::Complete;
    while (!in.atEnd()) {
        QString band, cls, mode;
        QuotedValue lower, upper;
        float lo = 0, hi = 0;
        if (!in.nextText(&band) || !in.nextText(&cls) || !in.nextText(&mode) || !in.next(&lower)
            || !in.next(&upper) || !parseSingle(lower, &lo) || !parseSingle(upper, &hi)) {
            result.status = BandPlanRead::BadRecord;
            return result;
        }
        if (extraOnly && cls != QLatin1String("E"))
            continue;
        if (rows.rowCount() >= BandPlanRows::Capacity) {
            result.status = BandPlanRead::TooManyRows;
            return result;
        }
        const int i = rows.rowCount() + 1;
        rows.SegmentBand[i] = band;
        rows.SegmentClass[i] = cls;
        rows.SegmentMode[i] = mode;
        rows.SegmentLowerMHz[i] = lo;
        rows.SegmentUpperMHz[i] = hi;
        rows.BandPlanRowCount += 1.0f;
    }
    return result;
}

BandPlanReadResult readBandPlanFile(BandPlanRows& rows, bool extraOnly)
{
    rows.clear();
    const QString path = Folders::workingFile(QStringLiteral("BandPlan.txt"));
    QFile f;
    if (!openRegularFile(f, path) || f.size() > MaxBandPlanFileBytes)
        return {};
    const QByteArray content = f.read(MaxBandPlanFileBytes + 1);
    if (content.size() > MaxBandPlanFileBytes)
        return {};
    return readBandPlan(content, rows, extraOnly);
}

void BandPlanMode(const BandPlanRows& rows, float frequencyMHz, QString& mode)
{
    QString band;
    const int n = std::min(rows.rowCount(), BandPlanRows::Capacity);
    for (int i = 1; i <= n; ++i) {
        if (rows.SegmentLowerMHz[i] < frequencyMHz && frequencyMHz < rows.SegmentUpperMHz[i]) {
            band = rows.SegmentBand[i];
            mode = rows.SegmentMode[i];
            break;
        }
    }
    if (band == QLatin1String("160")) {
        mode.clear();
    } else if (mode == QLatin1String("PH")) {
        mode = QStringLiteral("USB");
        if (band == QLatin1String("80") || band == QLatin1String("60")
            || band == QLatin1String("40"))
            mode = QStringLiteral("LSB");
    }
}

QString formatPlanFrequency(double mhz)
{
    if (!std::isfinite(mhz))
        return {};
    const QLocale loc;
    const bool negative = mhz < 0;
    // Whole thousandths, so 14.3499999 (a single-precision edge) shows 14.350.
    const long long thousandths = std::llround(std::fabs(mhz) * 1000.0);
    const QString whole = QString::number(thousandths / 1000);
    QString grouped;
    if (whole != QLatin1String("0")) {
        for (qsizetype i = 0; i < whole.size(); ++i) {
            if (i > 0 && (whole.size() - i) % 3 == 0)
                grouped += loc.groupSeparator();
            grouped += whole[i];
        }
    }
    const QString frac = QStringLiteral("%1").arg(thousandths % 1000, 3, 10, QLatin1Char('0'));
    return (negative ? QStringLiteral("-") : QString()) + grouped + loc.decimalPoint() + frac;
}

} // namespace zq
