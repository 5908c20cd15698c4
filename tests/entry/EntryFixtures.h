#pragma once
// Small helpers for the entry tests: contacts put straight into ContactLog.

#include "logstore/ContactLog.h"

#include <QString>

namespace zq::test {

struct Qso {
    QString call;
    QString band = QStringLiteral("20");
    QString mode = QStringLiteral("PH");
    QString county;
    QString spc;
    QString countySent;
    QString date = QStringLiteral("2026/09/12");
    QString time = QStringLiteral("18:00:00");
};

// Appends q as the next contact; returns its number.
inline int addQso(const Qso& q)
{
    ContactLog& log = ContactLog::instance();
    log.ContactCount += 1;
    ContactRecord& r = log[log.ContactCount];
    r = ContactRecord{};
    r.LogCall = q.call;
    r.LogRstSent = QStringLiteral("59");
    r.LogRstReceived = QStringLiteral("59");
    r.LogSpc = q.spc;
    r.LogCounty = q.county;
    r.LogCountySent = q.countySent;
    r.LogDate = q.date;
    r.LogTime = q.time;
    r.LogMode = q.mode;
    r.LogBand = q.band;
    return log.ContactCount;
}

} // namespace zq::test
