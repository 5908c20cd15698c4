#pragma once
// A rover standing on a county line is in several counties at once: each
// contact it logs is logged once more for every further county of its list,
// with that county as the own county sent.  This decides what such a
// re-logged contact holds and whether it would be a duplicate; the in-state
// log window stores it and shows it.

#include "logstore/ContactLog.h"

#include <QString>

namespace zq {

struct RoverRelog {
    ContactRecord record; // the contact to store for the further county
    int duplicateOf = 0;  // contact number of an earlier duplicate, 0 when none
    QString message;      // lblDialog text of that duplicate
};

// The re-logging of justStored for the further county ownCounty.  The call,
// reports and exchange are those of justStored; band, mode and frequency
// are the current ones (CurrentBand, CurrentMode, CurrentFrequencyText).
// The date and time are taken now from the clock, or, in post-contest mode,
// are those of justStored (the post-contest fields' texts).
RoverRelog prepareRoverRelog(const ContactRecord& justStored, const QString& ownCounty,
                             bool postContest);

} // namespace zq
