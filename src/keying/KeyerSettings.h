#pragma once
// The keyers' settings files: CW.txt (18 values) and wave2.txt (13 values),
// one value per line in the quoted form.  The settings live in the keyer
// windows' controls; these records carry them between file and window.
//
// Reading stops at the first missing or unusable value: the record tells
// how many values were taken, so the window applies exactly those and keeps
// its own values for the rest.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace zq {

// CW.txt, in file order.
struct CwSettings {
    // Text[1]..Text[9]: F1..F9 messages; Text[10]: key-line serial port;
    // Text[11]: speed (WPM); Text[12], Text[13]: F10, F11 messages;
    // Text[14]: parallel port address.  Text[0] is not used.
    std::array<QString, 15> Text;
    QString txtSpace = QStringLiteral("0"); // word-space adjustment
    uint8_t CwKeyingMethod = 0;             // 0 None, 1 RTS, 2 DTR, 3 parallel, 5 WinKeyer
    int Check1 = 1;                         // echo: 0 clear, 1 ticked
    QString txtCWLoop = QStringLiteral("0"); // F1 repeat delay in seconds
    int repeatIntervalMs = 0;                // txtCWLoop x 1000, whole milliseconds

    CwSettings();
};

// File line of each CW value.
namespace cwline {
constexpr int Text1 = 1, Text9 = 9, Text10 = 10, Text11 = 11, Text12 = 12, Text13 = 13,
              txtSpace = 14, CwKeyingMethod = 15, Text14 = 16, Check1 = 17, txtCWLoop = 18;
constexpr int Count = 18;
} // namespace cwline

struct CwSettingsRead {
    CwSettings settings;
    int valuesRead = 0;    // values 1..valuesRead hold what the file gave
    bool complete = false; // all 18 read and the repeat interval taken
};

// An empty F9 message reads back as this.
inline const QString kEmptyF9Message = QStringLiteral("VVV DE ");

CwSettingsRead parseCwSettings(const QByteArray& content);
QByteArray formatCwSettings(const CwSettings& s);

// wave2.txt, in file order.
struct PhoneSettings {
    // Text[1]..Text[9]: wave files of F1..F9; Text[10]: serial PTT port;
    // Text[11]: parallel port address.  Text[0] is not used.
    std::array<QString, 12> Text;
    int PttLine = 0;                         // 0 RTS (Option1), 1 DTR (Option2), 2 parallel (Option3)
    QString txtPHLoop = QStringLiteral("0"); // F1 repeat pause in seconds
    int repeatIntervalMs = 0;                // txtPHLoop x 1000, rounded

    PhoneSettings();
};

namespace waveline {
constexpr int Text1 = 1, Text9 = 9, Text10 = 10, PttLine = 11, txtPHLoop = 12, Text11 = 13;
constexpr int Count = 13;
} // namespace waveline

struct PhoneSettingsRead {
    PhoneSettings settings;
    int valuesRead = 0;
    bool complete = false;
};

PhoneSettingsRead parsePhoneSettings(const QByteArray& content);
QByteArray formatPhoneSettings(const PhoneSettings& s);

// A repeat timer's interval for a typed delay of whole seconds: seconds x
// 1000, at most the longest interval a timer takes.
int repeatDelayMs(int seconds);

} // namespace zq
