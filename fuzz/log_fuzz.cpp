// The log file reader: any bytes either parse into at most the log's
// capacity of records, each of which writes back and re-reads unchanged,
// or are refused with a reason.

#include "logstore/ContactLog.h"
#include "logstore/LogFileStore.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString why;
    const auto records = zq::parseLogContent(content, &why);
    if (!records) {
        if (why.isEmpty())
            std::abort();
        return 0;
    }
    if (records->size() > size_t(zq::ContactLog::Capacity))
        std::abort();
    QByteArray rewritten;
    for (const auto& r : *records)
        rewritten += zq::formatContactLine(r);
    const auto again = zq::parseLogContent(rewritten);
    if (!again || again->size() != records->size())
        std::abort();
    // Texts go through unchanged except for the characters the form cannot
    // hold (dropped by the writer); the number goes through its shortest
    // decimal form.
    for (size_t i = 0; i < records->size(); ++i)
        if (zq::formatContactLine((*records)[i]) != zq::formatContactLine((*again)[i]))
            std::abort();
    return 0;
}
