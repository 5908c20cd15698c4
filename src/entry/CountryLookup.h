#pragma once
// The country of a call by its prefix in CountryTable, and the great-circle
// bearing and distance from the own station.  Coordinates are degrees,
// latitude positive north, longitude positive west.

#include <QString>

namespace zq {

struct CountryTable;
struct StateTable;

struct CountryLookupResult {
    enum class Kind {
        NoCall,    // nothing to look up: the field and labels stay
        Found,     // a country: fieldText, continent and position
        HomeArea,  // the United States or Canada: the field stays, continent "NA"
        NotFound,  // no prefix matched: the field reads "Not Found"
    };
    Kind kind = Kind::NoCall;
    int row = 0;          // the table row whose data is shown (Found)
    QString fieldText;    // Found / NotFound: the text of the country field
    QString continent;    // Label19
    bool hasPosition = false; // Found with a row: show its bearing and distance
    float latitude = 0;
    float longitude = 0;
};

// The text whose prefix is looked up: a call with a short suffix after a
// "/" (fewer than half of its characters, at least two) is looked up by the
// suffix, e.g. W5ABC/VE3 by VE3; otherwise the whole call.
QString lookupText(const QString& call);

// Looks the call up in the table's rows 1..CountryCount (sorted by prefix).
// The call is upper-cased; every table index stays in the loaded rows, so
// any first character and an empty table are safe (nothing matches then).
CountryLookupResult lookupCallCountry(const QString& call, const CountryTable& table);

// Bearing ("###" and a space) and distance in statute miles ("##,###" with
// the system's thousands separator, and a space) from the own position to
// another.  Both empty when the formulas have no real result there (the
// same or the opposite point, a point due north or south, or values that
// are not numbers).
struct BearingDistance {
    QString bearing;  // Label22
    QString distance; // Label23
};
BearingDistance bearingDistance(float ownLatitude, float ownLongitude, float latitude,
                                float longitude);

// The label texts of a bearing in degrees and a distance in miles.
QString bearingText(double degrees);
QString distanceText(double miles);

// The StateTable entry (1..54) whose code equals code (any case), 0 when
// none; only a two-letter code is searched.
int stateIndex(const QString& code, const StateTable& table);

} // namespace zq
