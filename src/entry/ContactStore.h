#pragma once
// Storing one contact: the record built from the entry row and the station,
// its points and mode count, and the append to log.txt as one step that
// either completes or leaves nothing counted.

#include "entry/ContestTotals.h"
#include "logstore/ContactLog.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace zq {

// What the entry row and the station give the new contact.
struct NewContact {
    QString call, rstSent, rstReceived, county;
    QString spc, countySent;           // in-state window only
    bool inState = false;
    bool postContest = false;          // date and time from the fields below
    QString postContestDate, postContestTime;
};

// The record of a new contact.  Date and time: the local wall time now
// (from zq::clock()) plus UtcOffsetHours x 60 minutes, "yyyy/mm/dd" and
// "hh:mm:ss", or the post-contest texts.  Mode, band and frequency from
// CurrentMode, CurrentBand and CurrentFrequencyText; every other field
// empty, field 16 zero.
ContactRecord makeContactRecord(const NewContact& c);

// 2 points for a phone ("PH", any case) contact, 3 for every other mode.
int contactPoints(const QString& mode);
// Adds (or with sign -1 takes back) one contact of the mode to the points
// and to the phone, CW or digital counter.
void countContact(ContestTotals& totals, const QString& mode, int sign = 1);
// Recounts the points and the mode counters from contacts 1..ContactCount.
void recountContacts(ContestTotals& totals);

enum class StoreOutcome {
    Stored,       // the contact is contact ContactCount, counted and in log.txt
    LogFull,      // ContactLog already holds its capacity; nothing written
    AppendFailed, // log.txt could not be written; nothing counted
};

// Stores rec at the next slot, counts it and appends it through append
// (the window passes AppendLogFile, which reports its own failure).  On a
// failed append the slot, ContactCount, QsoPoints and the mode counter are
// restored.
StoreOutcome storeContact(const ContactRecord& rec, const std::function<bool()>& append);

} // namespace zq
