#pragma once
// The rows of the contact list ListView1: one row per contact, newest on
// top, the first cell the contact number.

#include <QString>
#include <QStringList>

namespace zq {

// Column headers of the list (the in-state rover list adds "County Sent").
QStringList contactListHeaders(bool inState, bool rover);
// Cells of contact i: out of state Rec#, Call, Rec, County, Snt, Date/Time,
// Mo, Bnd; in state Rec#, Call, Rec, SPC, County, Snt, Date/Time, Mo, Bnd
// and, for a rover, County Sent.
QStringList contactRow(int contact, bool inState, bool rover);
// "mm/dd hh:nn" from the stored date and time.
QString dateTimeCell(const QString& logDate, const QString& logTime);
// The oldest contact the list shows: 1 with every contact listed, else the
// first of the newest 20.
int firstListedContact(int contactCount, bool listAll);

} // namespace zq
