#pragma once
// The 25 station values kept in QSOpref.txt, in file order.

#include <QString>
#include <cstdint>

namespace zq {

struct StationSettings {
    QString OwnCall;                         // 1
    QString OwnSpc;                          // 2
    QString OwnCountry;                      // 3
    QString OwnArrlSection;                  // 4
    QString OwnName;                         // 5
    QString OwnCategory;                     // 6
    QString OwnCounty;                       // 7
    QString OwnCity;                         // 8
    QString CurrentMode = QStringLiteral("PH");  // 9
    QString CurrentBand = QStringLiteral("20");  // 10
    float UtcOffsetHours = 0;                // 11
    float OwnLongitude = 0;                  // 12
    float OwnLatitude = 0;                   // 13
    QString OwnContinent;                    // 14
    uint8_t FormSizePercent = 100;           // 15
    int32_t WorkedColor = 16711680;          // 16 blue on a first run: unlike RemainingColor
    int32_t RemainingColor = 0;              // 17
    float AccumulatedOperatingSeconds = 0;   // 18
    QString HomeStateCode = QStringLiteral("ZQ"); // 19
    uint8_t OutOfStateFlag = 1;              // 20
    uint8_t RoverFlag = 0;                   // 21
    uint8_t VoiceNavigationLevel = 0;        // 22
    QString RigType = QStringLiteral("None");    // 23
    uint8_t TaskbarFlag = 0;                 // 24
    uint8_t ListPreviousFlag = 0;            // 25

    static StationSettings& instance();
};

} // namespace zq
