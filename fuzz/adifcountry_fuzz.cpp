// The ADIF country table reader (ADIFCnt.txt) on any bytes.

#include "logstore/AdifExport.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString why;
    const auto table = zq::parseAdifCountryTable(content, &why);
    if (!table) {
        if (why.isEmpty())
            std::abort();
        return 0;
    }
    table->dxccOf(QString::fromUtf8(content.left(40)));
    return 0;
}
