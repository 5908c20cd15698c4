#include "support/TestContacts.h"

#include "logstore/LogFileStore.h"

namespace zq::test {

ContactRecord contactRecord(const QString& call, const QString& rstSent, const QString& rstRec,
                            const QString& spc, const QString& county, const QString& countySent,
                            const QString& date, const QString& time, const QString& mode,
                            const QString& band, const QString& freq)
{
    ContactRecord r;
    r.LogCall = call;
    r.LogRstSent = rstSent;
    r.LogRstReceived = rstRec;
    r.LogSpc = spc;
    r.LogCounty = county;
    r.LogCountySent = countySent;
    r.LogDate = date;
    r.LogTime = time;
    r.LogMode = mode;
    r.LogBand = band;
    r.LogFrequency = freq;
    return r;
}

QByteArray logLine(const QString& call, const QString& rstSent, const QString& rstRec,
                   const QString& spc, const QString& county, const QString& countySent,
                   const QString& date, const QString& time, const QString& mode,
                   const QString& band, const QString& freq)
{
    return formatContactLine(contactRecord(call, rstSent, rstRec, spc, county, countySent, date,
                                           time, mode, band, freq));
}

} // namespace zq::test
