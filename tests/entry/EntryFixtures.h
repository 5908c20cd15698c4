#pragma once
// Small helpers for the entry tests: contacts put straight into ContactLog.

#include "logstore/ContactLog.h"
#include "support/TestContacts.h"

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
    log[log.ContactCount] = contactRecord(q.call, QStringLiteral("59"), QStringLiteral("59"), q.spc,
                                          q.county, q.countySent, q.date, q.time, q.mode, q.band);
    return log.ContactCount;
}

} // namespace zq::test
