#pragma once
// Figures drawn from a benchmark's samples.

#include <algorithm>
#include <cmath>
#include <vector>

namespace zq::bench {

// The sample at or below which the share p (0 to 1) of the samples lie;
// 0 without samples.
inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(std::ceil(p * double(v.size())) - 1));
    return v[i];
}

} // namespace zq::bench
