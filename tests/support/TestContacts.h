#pragma once
// Contacts as the tests write them into log.txt or expect them there.

#include "logstore/ContactLog.h"

#include <QByteArray>
#include <QString>

namespace zq::test {

// A contact with the given fields; every other field is empty.
ContactRecord contactRecord(const QString& call, const QString& rstSent, const QString& rstRec,
                            const QString& spc, const QString& county, const QString& countySent,
                            const QString& date, const QString& time,
                            const QString& mode = QStringLiteral("CW"),
                            const QString& band = QStringLiteral("20"),
                            const QString& freq = QString());

// That contact's line in log.txt.
QByteArray logLine(const QString& call, const QString& rstSent, const QString& rstRec,
                   const QString& spc, const QString& county, const QString& countySent,
                   const QString& date, const QString& time,
                   const QString& mode = QStringLiteral("CW"),
                   const QString& band = QStringLiteral("20"), const QString& freq = QString());

} // namespace zq::test
