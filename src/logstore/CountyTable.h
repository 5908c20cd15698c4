#pragma once
// The home state's counties from county2.txt, slots 1..CountyCount.

#include <QString>
#include <vector>

namespace zq {

struct CountyTable {
    static constexpr int Capacity = 1000;
    std::vector<QString> CountyName = std::vector<QString>(Capacity + 1);
    std::vector<QString> CountyAbbrev = std::vector<QString>(Capacity + 1);
    float CountyCount = 0;

    int count() const { return static_cast<int>(CountyCount); }
    // Empty again, as at the program's start, keeping the room of its
    // fixed capacity (no slot is reallocated).
    void clear();
    static CountyTable& instance();
};

// Fills CountyTable from county2.txt in the working folder (rows whose
// first two characters equal HomeStateCode exactly).  False with a reason
// when the file cannot be read, a row is damaged or there are more than
// 1000 home-state counties; counties read before the failure stay.
bool LoadCountyTable(QString* error = nullptr);

// Upper-cases text in place; returns the name of the first county whose
// abbreviation equals it exactly, or "".
QString CountyNameFromAbbreviation(QString& text);

// Key filters on a typed character code (0 drops the key).
void UpperKey(int& keyAscii);  // a-z become A-Z; '"' is dropped
void DigitKey(int& keyAscii);  // only 0-9 and Backspace pass

} // namespace zq
