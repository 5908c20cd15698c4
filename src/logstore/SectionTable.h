#pragma once
// The 59 state and province codes the in-state window accepts as an
// exchange, indexes 1..59 (0 and 60..100 stay empty).  An entry's index is
// also its row in MultiplierMatrix and its label in the state grid.

#include <QString>
#include <QStringView>
#include <vector>

namespace zq {

struct SectionTable {
    static constexpr int Capacity = 100;
    static constexpr int EntryCount = 59;
    std::vector<QString> SectionCode = std::vector<QString>(Capacity + 1);
    std::vector<QString> SectionName = std::vector<QString>(Capacity + 1);

    // Fills entries 1..59 (the in-state window's start does this).
    void build();
    // The index 1..59 of a code compared without regard to case, or 0.
    int indexOf(QStringView code) const;

    static SectionTable& instance();
};

} // namespace zq
