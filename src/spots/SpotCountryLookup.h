#pragma once
// The country of a spotted call for the spot list: the longest prefix of
// CountryTable with which the call (or its portable part after a "/")
// begins, compared exactly, case included.  The table is sorted by prefix
// in character-code order, so the search halves it instead of reading it.

#include <QString>

namespace zq {

struct CountryTable;

// The program-wide work text of the country lookups: the call, or its
// portable part, last looked up.
struct LookupState {
    QString LookupCall;
    static LookupState& instance();
};

// The country name of the longest matching prefix; "USA" for a KG4 call of
// 6 or more characters that matched; empty when nothing matches, the call
// is empty, the table is empty or the first character lies above "Z".
// Reads only rows 0..CountryCount.  rowsRead, when given, receives the
// number of table rows the search looked at.
QString LookupSpotCountry(const QString& call, const CountryTable& table, int* rowsRead = nullptr);
// The same on the program's CountryTable.
QString LookupSpotCountry(const QString& call);

} // namespace zq
