// Spot records as a cluster hands them over: the call, the frequency text
// and the record, taken in by the frequency check, the record cut and its
// list columns, the call's prefix, the country lookup and the store.
//
// Input: call, frequency text and record separated by NUL bytes, as UTF-8
// (anything after a third NUL is ignored).

#include "logstore/PositionTables.h"
#include "spots/BandMapScale.h"
#include "spots/SpotCountryLookup.h"
#include "spots/SpotStore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// A small sorted table with rows of both blocks the lookup steps between.
const zq::CountryTable& table()
{
    static const zq::CountryTable t = [] {
        zq::CountryTable c;
        const char* rows[][2] = {{"1A", "Malta Order"}, {"3B8", "Mauritius"}, {"9A", "Croatia"},
                                 {"DL", "Germany"},     {"JA", "Japan"},      {"K", "USA"},
                                 {"KG4", "Guantanamo"}, {"KH6", "Hawaii"},    {"VE", "Canada"},
                                 {"W", "USA"},          {"ZS", "South Africa"}};
        int i = 0;
        for (const auto& r : rows) {
            ++i;
            c.CountryPrefix[static_cast<size_t>(i)] = QString::fromLatin1(r[0]);
            c.CountryName[static_cast<size_t>(i)] = QString::fromLatin1(r[1]);
        }
        c.CountryCount = i;
        return c;
    }();
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0');
    const QString call = QString::fromUtf8(parts.value(0));
    const QString frequency = QString::fromUtf8(parts.value(1));
    const QString record = zq::spotRecordBeforeLineEnd(QString::fromUtf8(parts.value(2)));

    const QString prefix = zq::CallPrefix(call);
    // At most the part before a "/" joined to the part after it.
    if (prefix.size() > 2 * call.size())
        std::abort();
    int reads = 0;
    (void)zq::LookupSpotCountry(call, table(), &reads);
    if (reads > 3 * (table().CountryCount + 1))
        std::abort();

    const auto mhz = zq::spotFrequencyMHz(frequency);
    const QStringList cells = zq::spotListCells(call, mhz ? zq::spotNumberText(*mhz) : QString(),
                                                QString(), record);
    if (cells.size() != 8)
        std::abort();
    if (mhz) {
        static zq::SpotStore store;
        store.addSpot(call, static_cast<float>(*mhz), zq::zeroSpotTime());
        for (const char* band : {"160", "20", "2", "x"})
            (void)zq::bandMapScaleCaptions(QString::fromLatin1(band), store);
    }
    return 0;
}
