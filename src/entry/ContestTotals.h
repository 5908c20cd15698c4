#pragma once
// Points and per-mode contact counters, and the in-state worked-marks
// matrix.  LoadLogFile clears the points and the matrix; the log reload
// recounts the mode counters.

#include <array>
#include <cstddef>
#include <cstdint>

namespace zq {

struct ContestTotals {
    float QsoPoints = 0;
    float PhoneContactCount = 0;
    float CwContactCount = 0;
    float DigitalContactCount = 0;

    static ContestTotals& instance();
};

struct MultiplierMatrix {
    static constexpr int Rows = 101; // 0..100
    static constexpr int Cols = 9;   // 0..8
    std::array<std::array<uint8_t, Cols>, Rows> cells{};
    int MultiplierCellCount = 0;

    uint8_t& at(int row, int col) { return cells[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
    // Rows 1..100, columns 1..8 to 0, and the count to 0 (row and column 0
    // are left as they are).
    void clearMarks();
    static MultiplierMatrix& instance();
};

} // namespace zq
