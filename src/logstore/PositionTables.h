#pragma once
// Country prefixes (arrlpre2.txt) and US state positions (states.txt),
// built once by the station set-up dialog and read-only afterwards.
// Coordinates in degrees: latitude positive north, longitude positive west.

#include <QString>
#include <vector>

namespace zq {

struct CountryTable {
    static constexpr int Capacity = 10000;
    std::vector<QString> CountryPrefix = std::vector<QString>(Capacity + 1);
    std::vector<QString> CountryName = std::vector<QString>(Capacity + 1);
    std::vector<QString> CountryContinent = std::vector<QString>(Capacity + 1);
    std::vector<float> CountryLongitude = std::vector<float>(Capacity + 1);
    std::vector<float> CountryLatitude = std::vector<float>(Capacity + 1);
    int CountryCount = 0;

    static CountryTable& instance();
};

struct StateTable {
    static constexpr int Capacity = 55;
    std::vector<QString> StateCode = std::vector<QString>(Capacity + 1);
    std::vector<float> StateLatitude = std::vector<float>(Capacity + 1);
    std::vector<float> StateLongitude = std::vector<float>(Capacity + 1);

    static StateTable& instance();
};

} // namespace zq
