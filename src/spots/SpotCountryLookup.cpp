#include "spots/SpotCountryLookup.h"

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
    // Nothing of a table without rows matches, nor a call beginning above
    // "Z" (the table is in capitals).
    if (count <= 0 || first > u'Z')
        return finish(QString());

    auto prefix = [&](int i) -> const QString& {
        ++reads;
        return table.CountryPrefix[static_cast<size_t>(i)];
    };

    // The longest prefix of the call in the sorted table.  The last row not
    // after the text searched is either a prefix of it (then no longer one
    // exists: it would sort between the two) or shares only its first c
    // characters with it (then a longer prefix than c characters cannot
    // exist either); the search goes on with those c characters.  Each
    // step halves the table, and the text shrinks at every step, so a
    // lookup reads a few dozen rows whatever the size of the table.
    int found = 0;
    QString text = lookup;
    while (!text.isEmpty()) {
        int lo = 1;
        int hi = count + 1; // the first row after text
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (text < prefix(mid))
                hi = mid;
            else
                lo = mid + 1;
        }
        const int last = lo - 1;
        if (last < 1)
            break;
        const QString& p = prefix(last);
        if (!p.isEmpty() && text.startsWith(p, Qt::CaseSensitive)) {
            found = last;
            // Of equal rows the first in the table counts.
            while (found > 1 && prefix(found - 1) == p)
                --found;
            break;
        }
        qsizetype same = 0;
        while (same < p.size() && same < text.size() && p[same] == text[same])
            ++same;
        text.truncate(same);
    }
    QString result = found > 0 ? table.CountryName[static_cast<size_t>(found)] : QString();
    if (found > 0 && lookup.startsWith(QLatin1String("KG4")) && lookup.size() > 5)
        result = QStringLiteral("USA");
    return finish(result);
}

QString LookupSpotCountry(const QString& call)
{
    return LookupSpotCountry(call, CountryTable::instance());
}

} // namespace zq
