// The county table reader (county2.txt) on any bytes, for the shipped home
// state: it loads within its capacity or fails with a reason.

#include "FuzzFolder.h"
#include "logstore/CountyTable.h"
#include "logstore/StationSettings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zq::fuzz::writeInput(QStringLiteral("county2.txt"), data, size);
    zq::StationSettings::instance().HomeStateCode = QStringLiteral("ZQ");
    QString why;
    const bool ok = zq::LoadCountyTable(&why);
    if (!ok && why.isEmpty())
        std::abort();
    if (zq::CountyTable::instance().count() > zq::CountyTable::Capacity)
        std::abort();
    if (ok) {
        QString abbrev = QString::fromUtf8(reinterpret_cast<const char*>(data),
                                           static_cast<qsizetype>(std::min<size_t>(size, 8)));
        zq::CountyNameFromAbbreviation(abbrev);
    }
    return 0;
}
