#include "entry/ContactListRows.h"

#include "entry/LogTimes.h"
#include "logstore/ContactLog.h"

namespace zq {

QStringList contactListHeaders(bool inState, bool rover)
{
    if (!inState)
        return {QStringLiteral("Rec#"), QStringLiteral("Call"), QStringLiteral("Rec"),
                QStringLiteral("County"), QStringLiteral("Snt"), QStringLiteral("Date/Time"),
                QStringLiteral("Mo"), QStringLiteral("Bnd")};
    QStringList h{QStringLiteral("Rec#"), QStringLiteral("Call"), QStringLiteral("Rec"),
                  QStringLiteral("SPC"), QStringLiteral("County"), QStringLiteral("Snt"),
                  QStringLiteral("Date/Time"), QStringLiteral("Mo"), QStringLiteral("Bnd")};
    if (rover)
        h.append(QStringLiteral("County Sent"));
    return h;
}

QString dateTimeCell(const QString& logDate, const QString& logTime)
{
    return monthDayText(logDate) + QLatin1Char(' ') + hourMinuteText(logTime);
}

QStringList contactRow(int contact, bool inState, bool rover)
{
    const ContactRecord& r = ContactLog::instance()[contact];
    QStringList row{QString::number(contact), r.LogCall, r.LogRstReceived};
    if (inState)
        row.append(r.LogSpc);
    row << r.LogCounty << r.LogRstSent << dateTimeCell(r.LogDate, r.LogTime) << r.LogMode << r.LogBand;
    if (inState && rover)
        row.append(r.LogCountySent);
    return row;
}

int firstListedContact(int contactCount, bool listAll)
{
    if (listAll || contactCount < 20)
        return 1;
    return contactCount - 19;
}

} // namespace zq
