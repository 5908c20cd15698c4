#pragma once
// WK.txt, the WinKeyer's settings: 8 lines, one value per line in the
// quoted form: the serial port (bare), the speed, weight, lead-in, tail and
// dit/dah ratio boxes (quoted texts), the pin configuration and the key
// mode (bare).

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace zq {

struct WinKeyerSettings {
    uint8_t WinKeyerPort = 0;
    QString txtWKWPM = QStringLiteral("18");
    QString txtWeight = QStringLiteral("50");
    QString txtLeadIn = QStringLiteral("0");
    QString txtTail = QStringLiteral("0");
    QString txtRatio = QStringLiteral("50");
    uint8_t WinKeyerPinConfig = 6; // "Tone"
    uint8_t WinKeyerKeyMode = 0;   // "Iambic B"
};

namespace wkline {
constexpr int WinKeyerPort = 1, txtWKWPM = 2, txtWeight = 3, txtLeadIn = 4, txtTail = 5,
              txtRatio = 6, WinKeyerPinConfig = 7, WinKeyerKeyMode = 8;
constexpr int Count = 8;
} // namespace wkline

struct WinKeyerSettingsRead {
    WinKeyerSettings settings;
    int valuesRead = 0; // values 1..valuesRead hold what the file gave
    // False when the reading stopped at a missing or unusable value (fewer
    // than 6 values, a port, pin configuration or key mode that is not a
    // byte); a file that ends after its 6th or 7th value reads complete.
    bool complete = false;
};

WinKeyerSettingsRead parseWinKeyerSettings(const QByteArray& content);
QByteArray formatWinKeyerSettings(const WinKeyerSettings& s);

} // namespace zq
