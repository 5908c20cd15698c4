#include "entry/RoverRelog.h"

#include "entry/ContactStore.h"
#include "entry/DupeChecks.h"
#include "logstore/StationSettings.h"

namespace zq {

RoverRelog prepareRoverRelog(const ContactRecord& justStored, const QString& ownCounty,
                             bool postContest)
{
    const StationSettings& st = StationSettings::instance();
    NewContact c;
    c.call = justStored.LogCall;
    c.rstSent = justStored.LogRstSent;
    c.rstReceived = justStored.LogRstReceived;
    c.county = justStored.LogCounty;
    c.spc = justStored.LogSpc;
    c.countySent = ownCounty;
    c.inState = true;
    c.postContest = postContest;
    c.postContestDate = justStored.LogDate;
    c.postContestTime = justStored.LogTime;

    RoverRelog out;
    out.record = makeContactRecord(c);
    const FinalDupeResult d = findFinalDuplicate(
        {c.call, c.county, c.spc}, {st.CurrentBand, st.CurrentMode, ownCounty, st.HomeStateCode, true});
    out.duplicateOf = d.duplicateOf;
    out.message = d.message;
    return out;
}

} // namespace zq
