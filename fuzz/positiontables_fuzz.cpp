// The country prefix (arrlpre2.txt) and state position (states.txt) table
// readers on any bytes: each loads within its capacity or fails with a
// reason.

#include "FuzzFolder.h"
#include "logstore/PositionTables.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zq::fuzz::writeInput(QStringLiteral("arrlpre2.txt"), data, size);
    zq::fuzz::writeInput(QStringLiteral("states.txt"), data, size);
    zq::CountryTable::instance().CountryCount = 0;
    QString why;
    if (zq::LoadCountryTable(&why) == zq::TableLoad::Failed && why.isEmpty())
        std::abort();
    if (zq::CountryTable::instance().CountryCount > zq::CountryTable::Capacity)
        std::abort();
    why.clear();
    if (zq::LoadStateTable(&why) == zq::TableLoad::Failed && why.isEmpty())
        std::abort();
    return 0;
}
