#pragma once
// The checks of the logging step (Mains): post-contest date and time,
// required fields, county, state/province code and the exchange.  They
// decide and word the report; the window beeps, shows it and sets the flags.

#include <QString>
#include <vector>

namespace zq {

enum class EntryField { Call, RstR, Cntry, Sec, RstS, PostConTime, PostConDate };

// One failed check: the lblDialog message and the field to correct.
struct EntryFailure {
    QString message;
    EntryField focus;
};

// --- Post-contest date and time -----------------------------------------
// The date is accepted as yyyy/m/d or yyyy/mm/dd when it is a real calendar
// date and rewritten "yyyy/mm/dd".  A time of 3 or 4 digits first gets a ":"
// before its last two; then h:mm or hh:mm from 00:00 to 23:59 is accepted and
// rewritten "hh:mm".
struct PostContestResult {
    bool ok = false;
    QString date;    // the date field's text afterwards
    QString time;    // the time field's text afterwards
    QString message; // "Invalid date format!" / "Invalid time format!"
    bool dateChanged = false; // the date field is to be rewritten
    bool timeChanged = false; // the time field is to be rewritten
};
PostContestResult checkPostContest(const QString& date, const QString& time);

// A contact's date: "yyyy/m/d" or "yyyy/mm/dd" naming a real calendar date,
// returned as "yyyy/mm/dd"; a null text for anything else.
QString normalizedLogDate(const QString& s);
// A contact's time: "h:mm:ss", "hh:mm:ss", "h:mm" or "hh:mm" up to
// 23:59:59, returned with a two-digit hour; a null text for anything else.
QString normalizedLogTime(const QString& s);

// --- Required fields -------------------------------------------------------
struct EntryTexts {
    QString call, rstR, cntry, sec, rstS;
};
// Every failing test in order (each beeps; the last message and focus stay).
std::vector<EntryFailure> requiredFieldFailures(const EntryTexts& e, bool inState,
                                                const QString& homeState);

// --- County ------------------------------------------------------------------
// The table's spelling of the county named `text` (compared without regard
// to case), or a null text when there is none.
QString tableCountyName(const QString& text);
// True when text equals one of CountyTable's names 1..CountyCount (any case).
bool isTableCounty(const QString& text);
QString invalidCountyMessage(const QString& text);

// --- State / province / country (in-state) ---------------------------------
// codes holds the state and province codes the in-state window accepts at
// indexes 1..59 (index 0 unused; an empty or shorter table matches less).
// Returns the first index whose code equals code (any case), 0 when none.
int sectionIndex(const QString& code, const std::vector<QString>& codes);
QString invalidSectionMessage(); // "Invald Section!"

// An exchange that cannot be stored as a state, province or country: one
// character, or the lookup's "Not Found".  Such an entry is refused with
// "Need Country!".
bool isUnusableExchange(const QString& cntry);
QString needCountryMessage();

// --- Log capacity -------------------------------------------------------------
QString logFullMessage();

} // namespace zq
