#pragma once
// The multiplier displays derived from the log: the counties worked and to
// go (both windows), the worked marks of the state and province grid and the
// DX countries worked (in-state window).
//
// The lists are kept in the order of a sorted list box: alphabetical without
// regard to case, an added entry taking its place among the others.

#include "entry/ContestTotals.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace zq {

// Where item goes in an alphabetically sorted list (after equal entries).
int sortedInsertPosition(const QStringList& list, const QString& item);
// Index of the first entry equal to item without regard to case, or -1.
int indexOfText(const QStringList& list, const QString& item);

class CountyLists {
public:
    QStringList worked; // counties worked, as first logged
    QStringList toGo;   // table counties not yet worked

    // From CountyTable and contacts 1..ContactCount.
    void rebuild();

    // The newest contact's county: adds it to the worked list unless an
    // equal entry is there, and removes the first equal entry from the to-go
    // list.  An empty county changes nothing.
    struct Change {
        int workedInsertedAt = -1; // row of the new worked entry, -1 none
        int toGoRemovedAt = -1;    // row removed from the to-go list, -1 none
    };
    Change addCounty(const QString& county);

    QString workedCaption(bool inState) const { return workedCountiesText(static_cast<int>(worked.size()), inState); }
    QString toGoCaption(bool inState) const { return countiesToGoText(static_cast<int>(toGo.size()), inState); }

    // "Counties Worked - n" ("Cnty Wkd - n" in state) and
    // "Counties To Go - n" ("Cnty Rem - n").
    static QString workedCountiesText(int count, bool inState);
    static QString countiesToGoText(int count, bool inState);
};

// --- In-state grid -----------------------------------------------------------
// codes: SectionCode at 1..59 (see sectionIndex).
// Marks column 1 of the row of spc; returns the row when it was newly marked
// (MultiplierCellCount then counts it), 0 when it was marked already or spc
// is no code.
int markStateWorked(MultiplierMatrix& m, const QString& spc, const std::vector<QString>& codes);
// Marks column 1 of the row of every two-character LogSpc in the log; does
// not touch MultiplierCellCount.
void rebuildStateMatrix(MultiplierMatrix& m, const std::vector<QString>& codes);
// True when row holds a mark in columns 1..7.
bool rowWorked(const MultiplierMatrix& m, int row);
// MultiplierCellCount := rows 1..99 with a mark in columns 1..7; returned.
int recountCells(MultiplierMatrix& m);

// --- DX countries (in-state) --------------------------------------------------
// Every LogSpc longer than two characters, once (first form met), sorted.
QStringList rebuildDxList();
QString dxCaption(int entries); // "DX - n"

} // namespace zq
