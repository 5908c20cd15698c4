#pragma once
// The band plan (`BandPlan.txt`): per band its outline, and per licence
// class the segments that class may use with their mode.
//
// The file is a stream of values (texts in double quotes, bare numbers):
// first the plan's effective date, then records of five values, one record
// a line: band, class letter ("O" outline, "N", "T", "P", "G", "A", "E"),
// mode ("CW", "PH" or another text), lower and upper edge in MHz.  Every
// comparison on the table is exact, case included.

#include <QByteArray>
#include <QString>
#include <array>

namespace zq {

// Parallel tables of plan rows; rows 1 to BandPlanRowCount are in use,
// index 0 never is.  The count is held in single precision and only ever
// holds whole values.
struct BandPlanRows {
    static constexpr int Capacity = 200;

    std::array<QString, Capacity + 1> SegmentBand;
    std::array<QString, Capacity + 1> SegmentClass;
    std::array<QString, Capacity + 1> SegmentMode;
    std::array<float, Capacity + 1> SegmentLowerMHz{};
    std::array<float, Capacity + 1> SegmentUpperMHz{};
    float BandPlanRowCount = 0;

    int rowCount() const { return static_cast<int>(BandPlanRowCount); }
    void clear();
};

// The largest BandPlan.txt either reader takes: 200 records of generous
// length.  A larger file is refused before it is read.
constexpr qint64 MaxBandPlanFileBytes = 256 * 1024;

enum class BandPlanRead {
    Complete,   // every record read
    NoDate,     // empty or unreadable before the date
    BadRecord,  // a record cut short or with an edge that is not a number
    TooManyRows // a record past the table's capacity
};

struct BandPlanReadResult {
    BandPlanRead status = BandPlanRead::NoDate;
    QString date; // the effective date, when it was read
};

// Reads the plan's bytes into `rows` (emptied first).  With extraOnly only
// class "E" rows are kept (the rig's copy); otherwise every record is.
// Reading stops at the first record that cannot be read whole (it is
// dropped) and at the record that would be row 201; the rows read before
// stay in the table.
BandPlanReadResult readBandPlan(const QByteArray& content, BandPlanRows& rows, bool extraOnly);

// Reads `BandPlan.txt` of the working folder (any letter case).  A missing,
// unreadable or oversized file reads as NoDate with an empty table.
BandPlanReadResult readBandPlanFile(BandPlanRows& rows, bool extraOnly);

// The radio mode the plan gives for `frequencyMHz`, starting from `mode`
// (in and out).  The first Extra row that holds the frequency strictly
// inside its edges gives its band and mode; on 160 m the result is empty
// (the plan never changes the radio's mode there); "PH" becomes "USB",
// "LSB" on 80, 60 and 40 m; any other text passes unchanged.  With no row
// matching, `mode` keeps its value ("PH" still becomes "USB").
void BandPlanMode(const BandPlanRows& rows, float frequencyMHz, QString& mode);

// A frequency as the privileges display writes it: grouped thousands, three
// decimals, no leading zero below 1 ("14.350", "1,240.500", ".500").
QString formatPlanFrequency(double mhz);

} // namespace zq
