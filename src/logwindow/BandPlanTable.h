#pragma once
// Band codes from frequencies: the table the rig's reported frequency is
// looked up in, the seven bands that can be operated, and the frequency
// text a contact carries.

#include <QString>
#include <array>

namespace zq {

struct BandFrequencyRow {
    float lower; // MHz, exclusive
    float upper; // MHz, exclusive
    const char* band;
};

// The rows in the order they are tested; they do not overlap.  The 10 GHz
// row carries its own code, so a microwave frequency is never taken for the
// 10-metre band.
const std::array<BandFrequencyRow, 19>& BandFrequencyTable();

// The band code of a frequency in MHz (compared in single precision, both
// bounds exclusive), or "" when no row holds it.
QString bandForFrequency(float frequencyMHz);

// The seven bands with a menu item and a handler, in ring order.
const std::array<const char*, 7>& OperatingBands();
// Index 0..6 of an operating band compared without regard to case, or -1.
int operatingBandIndex(const QString& band);

// "#####.##0": whole MHz without leading zeros (none below 1), a point and
// three decimals, rounded.  14.025 -> "14.025", 7.04 -> "7.040", 0.5 -> ".500".
QString formatFrequencyText(float frequencyMHz);

} // namespace zq
