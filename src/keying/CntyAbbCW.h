#pragma once
// What the CW message keys insert for their macros: "$" the call, "#" the
// number, "*" the RS(T) sent, "^" the own county (its abbreviation when
// that is shorter).

#include <QString>

namespace zq {

struct KeyingState;

// The county as sent in CW: the table's abbreviation of the first county
// named `name` (any case) when that abbreviation is not empty and shorter
// than the name, else the name itself.
void CWCountyAbbreviation(const QString& name, QString& result);

// Expands the macros in four passes, "$", "#", "*", "^", each on the result
// of the one before, so a later pass expands what an earlier one inserted.
// A value goes in with its surrounding blanks removed, and the pass goes on
// after it, so a value holding its own macro character is not expanded
// again.  "*" first turns an RS(T) of "599" or nothing into "5NN" (in the
// state itself).
QString ExpandCwMacros(const QString& message, KeyingState& ks);

} // namespace zq
