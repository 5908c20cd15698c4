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

enum class TableLoad {
    Ok,      // the whole file was taken
    Missing, // no file found
    Failed,  // unreadable, a damaged row or past the capacity: rows before it were taken
};

// Appends the rows of arrlpre2.txt (the shared folder's, else the user
// folder's, else the working folder's) to CountryTable.  Each row holds 8
// values: prefix, country, continent (texts), longitude, latitude (numbers)
// and three values that are not used.  Blank lines are passed over.  At most
// Capacity rows: a further row is a failure.
TableLoad LoadCountryTable(QString* error = nullptr);

// Reads rows 1..50 of states.txt in the working folder into StateTable:
// code, latitude, longitude.  Fewer than 50 rows is a failure.
TableLoad LoadStateTable(QString* error = nullptr);
constexpr int StateFileRows = 50;

} // namespace zq
