#include "spots/CountryyLookupForDXSpots.h"

#include "entry/CountryLookup.h"
#include "logstore/PositionTables.h"

#include <algorithm>

namespace zq {

LookupState& LookupState::instance()
{
    static LookupState s;
    return s;
}

namespace {

// The code of a text's first character; 0 for an empty text, so an empty
// prefix sorts before every character.
char16_t firstCode(const QString& s)
{
    return s.isEmpty() ? char16_t(0) : s.at(0).unicode();
}

} // namespace

QString LookupSpotCountry(const QString& call, const CountryTable& table, int* rowsRead)
{
    int reads = 0;
    auto finish = [&](const QString& result) {
        if (rowsRead)
            *rowsRead = reads;
        return result;
    };

    QString& lookup = LookupState::instance().LookupCall;
    lookup = lookupText(call);
    if (lookup.isEmpty())
        return finish(QString());

    const int count = std::clamp(table.CountryCount, 0,
                                 static_cast<int>(std::min(table.CountryPrefix.size(),
                                                           table.CountryName.size()))
                                     - 1);
    const char16_t first = firstCode(lookup);
    // Nothing above "Z" can match an upper-case table, and nothing of a
    // table without rows.
    if (count <= 0 || first > u'Z')
        return finish(QString());

    auto prefix = [&](int i) -> const QString& {
        ++reads;
        return table.CountryPrefix[static_cast<size_t>(i)];
    };

    // The first row of the call's first character, found by halving the
    // sorted table: the scan below then starts at the block it would reach
    // from an estimate of the row, but reads a few rows to get there
    // instead of the rows between the estimate and the block.
    int lo = 1;
    int hi = count + 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (firstCode(prefix(mid)) < first)
            lo = mid + 1;
        else
            hi = mid;
    }
    int k = std::min(lo, count);

    // Back to the start of the block of the call's first character.
    for (;;) {
        if (firstCode(prefix(k)) != first)
            break;
        k = std::max(k - 5, 1);
        if (k <= 1)
            break;
    }

    const bool downward = firstCode(prefix(k)) > first;
    int best = 0;
    int found = 0;
    QString result;
    for (int i = k; downward ? i >= 1 : i <= count; i += downward ? -1 : 1) {
        const QString& p = prefix(i);
        if (p.size() > best && lookup.startsWith(p, Qt::CaseSensitive)) {
            found = i;
            best = static_cast<int>(p.size());
            result = table.CountryName[static_cast<size_t>(i)];
        }
        const char16_t f = firstCode(p);
        if (downward ? f < first : f > first)
            break;
    }
    if (found > 0 && lookup.startsWith(QLatin1String("KG4")) && lookup.size() > 5)
        result = QStringLiteral("USA");
    return finish(result);
}

QString LookupSpotCountry(const QString& call)
{
    return LookupSpotCountry(call, CountryTable::instance());
}

} // namespace zq
