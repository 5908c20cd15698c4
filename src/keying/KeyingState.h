#pragma once
// Values shared between the log windows and the CW and voice keyers.

#include <QString>
#include <cstdint>
#include <mutex>

namespace zq {

// The text waiting to be keyed as CW, first character next.  The keying
// thread takes characters from its front while the user-interface thread
// appends, shortens or empties it, so every access takes its lock.
class SendBuffer {
public:
    SendBuffer() = default;
    SendBuffer(const SendBuffer& o) : text_(o.text()) {}
    SendBuffer& operator=(const SendBuffer& o)
    {
        if (this != &o)
            *this = o.text();
        return *this;
    }
    SendBuffer& operator=(const QString& text);
    SendBuffer& operator+=(const QString& text);
    SendBuffer& operator+=(QChar c);
    void clear();
    void chop(int n);
    bool isEmpty() const;
    QString text() const;
    // Takes the first character off; false when the buffer is empty.
    bool takeFirst(QChar* c);

    bool operator==(const QString& text) const { return this->text() == text; }
    bool operator==(const char* text) const { return this->text() == QLatin1String(text); }

private:
    mutable std::mutex mutex_;
    QString text_;
};

struct KeyingState {
    SendBuffer CwSendBuffer;      // characters waiting to be keyed as CW
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
    QString CwMacroNumber;        // "#": nothing sets it
    QString CwMacroRst;
    QString CwMacroCounty;

    static KeyingState& instance();
};

} // namespace zq
