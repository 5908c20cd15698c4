#include "entry/ContestTotals.h"

#include "logstore/LogFileStore.h"

namespace zq {

ContestTotals& ContestTotals::instance()
{
    static ContestTotals t;
    static const bool handedOver = (addLogLoadReset([] { t.QsoPoints = 0; }), true);
    (void)handedOver;
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
    static const bool handedOver = (addLogLoadReset([] { m.clearMarks(); }), true);
    (void)handedOver;
    return m;
}

} // namespace zq
