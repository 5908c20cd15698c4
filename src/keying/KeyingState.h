#pragma once
// Values shared between the log windows and the CW and voice keyers.

#include <QString>
#include <cstdint>

namespace zq {

struct KeyingState {
    QString CwSendBuffer;         // characters waiting to be keyed as CW
    uint8_t CwSendingBusy = 0;    // 1 while the buffer is being keyed
    uint8_t CwKeyingMethod = 0;   // 0 None, 1 RTS, 2 DTR, 3 parallel port, 5 WinKeyer
    uint8_t CwRepeatActive = 0;
    uint8_t PhoneRepeatActive = 0;
    uint8_t KeyboardCwMode = 0;
    uint8_t WinKeyerOpen = 0;      // 0 closed, else the keyer's version
    int32_t WinKeyerStatus = 0;    // the keyer's last status; above 0 busy
    uint8_t WinKeyerPort = 0;      // the keyer's serial port number
    uint8_t WinKeyerPinConfig = 6; // sent as the pin configuration
    uint8_t WinKeyerKeyMode = 0;   // sent as the key mode
    QString CwMacroCall;
    QString CwMacroRst;
    QString CwMacroCounty;

    static KeyingState& instance();
};

} // namespace zq
