#pragma once
// The duplicate searches of the log window.  A contact is a duplicate when
// an earlier one has the same call, band, mode and county (in the in-state
// window also the same own county sent).  These functions only search and
// decide; the window shows the results and keeps the flags.
//
// Every search reads ContactLog through ContactIndex, so its cost grows with
// the contacts of one call (or of one band and mode), not with the log.

#include <QString>
#include <vector>

namespace zq {

// What the search compares with: the entry row and the station.
struct DupeEntry {
    QString call;   // txtCall
    QString county; // txtSec
    QString spc;    // txtCntry (in-state window)
};

struct DupeStation {
    QString band;       // CurrentBand
    QString mode;       // CurrentMode
    QString ownCounty;  // OwnCounty (in-state window)
    QString homeState;  // HomeStateCode
    bool inState = false;
};

// FinalDupeCheck's search.  Walks the earlier contacts of the call, oldest
// first: an empty county (and, in-state, an empty state/province/country) is
// filled from them as met, then each is compared.  In the in-state window a
// county is filled only when the exchange is the home state, so a county is
// never taken into a contact from another state or a country.
struct FinalDupeResult {
    DupeEntry entry;            // the row after the fills
    bool countyFilled = false;  // txtSec was written (select its text)
    bool spcFilled = false;     // txtCntry was written (select its text)
    int duplicateOf = 0;        // contact number of the duplicate, 0 when none
    QString message;            // lblDialog text when a duplicate was found
};
FinalDupeResult findFinalDuplicate(const DupeEntry& entry, const DupeStation& station);

// The red message of a duplicate found by the final check.
QString finalDupeMessage(int contact, bool inState);
// The red warnings of DupCheck2.
QString dupCheck2Message(int contact, bool inState);

// DupCheck2's scan of the earlier contacts of the call.
struct DupCheck2Result {
    std::vector<int> listedContacts; // rows for ListView1 when listPrevious
    DupeEntry entry;                 // the row after the fills
    bool countyFilled = false;
    bool spcFilled = false;
    int beeps = 0;                   // one per warning
    QString message;                 // the last warning, "" when none
    // In-state: the final check ran during the scan and found this
    // duplicate (the window then acts as FinalDupeCheck on a duplicate).
    FinalDupeResult finalCheck;
    bool finalCheckRan = false;
};
DupCheck2Result dupCheck2(const DupeEntry& entry, const DupeStation& station, bool listPrevious);

// ShowPossibleDupes: what a key typed into the call field shows.
struct PossibleDupesResult {
    QString list;           // lblDupe caption
    bool listColoured = false; // lblDupe on the normal colour (else button face)
    bool setDialog = false; // lblDialog is to be written ...
    QString dialog;         // ... with this text
    bool beep = false;
};
// callText is txtCall before the key; key the typed code (upper-cased).
PossibleDupesResult possibleDupes(const QString& callText, int key, const DupeStation& station,
                                  bool displayOn, bool loggedOn);

// The calls of the band and mode (in-state also own county sent) that begin
// with text: newest first, each followed by a blank, collected oldest first
// and stopped once longer than 100 characters.
QString possibleDupeList(const QString& text, const DupeStation& station);

} // namespace zq
