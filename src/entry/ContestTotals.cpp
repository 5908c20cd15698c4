#include "entry/ContestTotals.h"

namespace zq {

ContestTotals& ContestTotals::instance()
{
    static ContestTotals t;
    return t;
}

void MultiplierMatrix::clearMarks()
{
    for (int r = 1; r < Rows; ++r)
        for (int c = 1; c < Cols; ++c)
            at(r, c) = 0;
    MultiplierCellCount = 0;
}

MultiplierMatrix& MultiplierMatrix::instance()
{
    static MultiplierMatrix m;
    return m;
}

} // namespace zq
