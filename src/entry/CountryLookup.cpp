#include "entry/CountryLookup.h"

#include "logstore/PositionTables.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace zq {

namespace {

constexpr double kDegreesPerRadian = 57.29577951;
constexpr double kMilesPerRadian = 3955.75791314991;
constexpr int kStateCodes = 54;
constexpr double kNoArc = 1e-12; // 1 - x*x of arcs below about 0.004 miles

// The first character of a text, upper-cased; 0 for an empty text.
char16_t firstLetter(const QString& s)
{
    return s.isEmpty() ? char16_t(0) : s.at(0).toUpper().unicode();
}

bool sameName(const QString& a, const char* b)
{
    return QString::compare(a, QLatin1String(b), Qt::CaseInsensitive) == 0;
}

bool isHomeArea(const QString& name)
{
    return sameName(name, "USA") || sameName(name, "Canada");
}

// The row whose first letter the search starts from, estimated from the
// lookup text's first character ("A" at 1/26 of the table, "Z" at its end).
int startRow(char16_t first, int count)
{
    const int c = std::max<int>(first, 65);
    const long long i = static_cast<long long>(count) * (c - 64) / 26;
    return static_cast<int>(std::clamp<long long>(i, 1, count));
}

} // namespace

QString lookupText(const QString& call)
{
    const qsizetype slash = call.indexOf(u'/');
    if (slash < 0)
        return call;
    const qsizetype after = call.size() - (slash + 1);
    if (after > 1 && 2 * after < call.size())
        return call.right(after);
    return call;
}

CountryLookupResult lookupCallCountry(const QString& callText, const CountryTable& table)
{
    CountryLookupResult r;
    const QString call = callText.toUpper();
    const QString t = lookupText(call);
    if (t.isEmpty())
        return r;

    const int count = std::clamp(table.CountryCount, 0,
                                 static_cast<int>(table.CountryPrefix.size()) - 1);
    const char16_t first = firstLetter(t);
    auto prefix = [&](int i) -> const QString& {
        return table.CountryPrefix[static_cast<size_t>(i)];
    };

    int best = 0;
    qsizetype bestLength = 0;
    if (count > 0) {
        int i = startRow(first, count);
        // Back up in steps of 5 to a row of an earlier letter, or to row 1.
        do {
            if (firstLetter(prefix(i)) != first)
                break;
            i = std::max(i - 5, 1);
        } while (i > 1);

        const bool downward = firstLetter(prefix(i)) > first;
        const int step = downward ? -1 : 1;
        for (int j = i; j >= 1 && j <= count; j += step) {
            const QString& p = prefix(j);
            if (p.size() > bestLength && t.startsWith(p, Qt::CaseInsensitive)) {
                best = j;
                bestLength = p.size();
            }
            const char16_t letter = firstLetter(p);
            if (downward ? letter < first : letter > first)
                break;
        }
    }

    const QString name = best > 0 ? table.CountryName[static_cast<size_t>(best)] : QString();
    if (best == 0 || isHomeArea(name)) {
        r.kind = best == 0 ? CountryLookupResult::Kind::NotFound
                           : CountryLookupResult::Kind::HomeArea;
        if (r.kind == CountryLookupResult::Kind::NotFound)
            r.fieldText = QStringLiteral("Not Found");
        else
            r.continent = QStringLiteral("NA");
        return r;
    }

    r.kind = CountryLookupResult::Kind::Found;
    int row = best;
    QString shown = name;
    if (call.startsWith(QLatin1String("KG4")) && (call.size() == 4 || call.size() > 5)) {
        // A KG4 call of 4 or of 6 and more characters is a United States
        // call: the field is emptied and the United States row is shown.
        shown.clear();
        row = 0;
        for (int j = 1; j <= count; ++j) {
            if (sameName(table.CountryName[static_cast<size_t>(j)], "USA")) {
                row = j;
                break;
            }
        }
    }
    if (sameName(shown, "Alaska"))
        shown = QStringLiteral("AK");
    else if (sameName(shown, "Hawaii"))
        shown = QStringLiteral("HI");
    r.fieldText = shown;
    if (row > 0) {
        r.row = row;
        r.continent = table.CountryContinent[static_cast<size_t>(row)];
        r.hasPosition = true;
        r.latitude = table.CountryLatitude[static_cast<size_t>(row)];
        r.longitude = table.CountryLongitude[static_cast<size_t>(row)];
    } else {
        // No United States row to show: a United States call without one.
        r.continent = QStringLiteral("NA");
    }
    return r;
}

QString bearingText(double degrees)
{
    const double whole = std::round(degrees);
    if (!std::isfinite(whole) || whole == 0)
        return QStringLiteral(" ");
    return QString::number(static_cast<long long>(whole)) + QLatin1Char(' ');
}

QString distanceText(double miles)
{
    const double whole = std::round(miles);
    if (!std::isfinite(whole) || whole == 0)
        return QStringLiteral(" ");
    return QLocale::system().toString(static_cast<qlonglong>(whole)) + QLatin1Char(' ');
}

BearingDistance bearingDistance(float ownLatitude, float ownLongitude, float latitude,
                                float longitude)
{
    const double K = kDegreesPerRadian;
    const double a = ownLatitude / K;
    const double b = latitude / K;
    const double d = (static_cast<double>(ownLongitude) - longitude) / K;

    const double x = std::sin(a) * std::sin(b) + std::cos(b) * std::cos(a) * std::cos(d);
    // The same or the opposite point: no direction.  Rounding can leave
    // x a hair below 1 there, so a margin far below one mile is kept.
    const double rx = 1 - x * x;
    if (!(rx > kNoArc))
        return {};
    const double c = std::atan(-x / std::sqrt(rx)) + 2 * std::atan(1.0);
    const double denominator = std::cos(a) * std::sin(c);
    if (!(denominator != 0) || !std::isfinite(denominator))
        return {};
    const double y = (std::sin(b) - x * std::sin(a)) / denominator;
    const double ry = 1 - y * y;
    if (!(ry > 0))
        return {};
    const double theta = std::atan(-y / std::sqrt(ry)) + 2 * std::atan(1.0);
    const double bearing = std::sin(d) > 0 ? theta * K : 360 - theta * K;
    const double distance = c * kMilesPerRadian;
    if (!std::isfinite(bearing) || !std::isfinite(distance))
        return {};
    return {bearingText(bearing), distanceText(distance)};
}

int stateIndex(const QString& code, const StateTable& table)
{
    if (code.size() != 2)
        return 0;
    const int last = std::min(kStateCodes, static_cast<int>(table.StateCode.size()) - 1);
    for (int i = 1; i <= last; ++i)
        if (QString::compare(table.StateCode[static_cast<size_t>(i)], code, Qt::CaseInsensitive)
            == 0)
            return i;
    return 0;
}

} // namespace zq
