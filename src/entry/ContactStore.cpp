#include "entry/ContactStore.h"

#include "entry/ContactIndex.h"
#include "entry/EntryState.h"
#include "entry/LogTimes.h"
#include "entry/TextCompare.h"
#include "logstore/StationSettings.h"

namespace zq {

ContactRecord makeContactRecord(const NewContact& c)
{
    const StationSettings& st = StationSettings::instance();
    ContactRecord r;
    r.LogCall = c.call;
    r.LogRstSent = c.rstSent;
    r.LogRstReceived = c.rstReceived;
    r.LogCounty = c.county;
    if (c.inState) {
        r.LogSpc = c.spc;
        r.LogCountySent = c.countySent;
    }
    if (c.postContest) {
        r.LogDate = c.postContestDate;
        r.LogTime = c.postContestTime;
    } else {
        const QDateTime utc = utcWallNow(st.UtcOffsetHours);
        r.LogDate = utc.toString(QStringLiteral("yyyy/MM/dd"));
        r.LogTime = utc.toString(QStringLiteral("HH:mm:ss"));
    }
    r.LogMode = st.CurrentMode;
    r.LogBand = st.CurrentBand;
    r.LogFrequency = EntryState::instance().CurrentFrequencyText;
    return r;
}

int contactPoints(const QString& mode)
{
    return sameText(mode, QStringLiteral("PH")) ? 2 : 3;
}

void countContact(ContestTotals& totals, const QString& mode, int sign)
{
    totals.QsoPoints += static_cast<float>(sign * contactPoints(mode));
    if (sameText(mode, QStringLiteral("PH")))
        totals.PhoneContactCount += static_cast<float>(sign);
    else if (sameText(mode, QStringLiteral("CW")))
        totals.CwContactCount += static_cast<float>(sign);
    else
        totals.DigitalContactCount += static_cast<float>(sign);
}

void recountContacts(ContestTotals& totals)
{
    totals.QsoPoints = 0;
    totals.CwContactCount = 0;
    totals.PhoneContactCount = 0;
    totals.DigitalContactCount = 0;
    const ContactLog& log = ContactLog::instance();
    for (int i = 1; i <= log.ContactCount; ++i)
        countContact(totals, log[i].LogMode);
}

StoreOutcome storeContact(const ContactRecord& rec, const std::function<bool()>& append)
{
    ContactLog& log = ContactLog::instance();
    if (log.isFull())
        return StoreOutcome::LogFull;
    ContestTotals& totals = ContestTotals::instance();
    const ContestTotals before = totals;
    log.ContactCount += 1;
    log[log.ContactCount] = rec;
    countContact(totals, rec.LogMode);
    const bool ok = append();
    if (!ok) {
        log[log.ContactCount] = ContactRecord{};
        log.ContactCount -= 1;
        totals = before;
        return StoreOutcome::AppendFailed;
    }
    ContactIndex::instance().sync();
    return StoreOutcome::Stored;
}

} // namespace zq
