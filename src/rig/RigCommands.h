#pragma once
// The set-frequency and set-mode commands of every radio family, built as
// the bytes that go over the line, and the pauses each family needs before
// its frequency command.  Pure functions: the rig dialog runs them in its
// timed command sequence.
//
// Digit fields: a frequency in MHz (single precision) times 1,000,000
// (unit 1 Hz) or 100,000 (unit 10 Hz), rounded to the nearest whole number
// (ties to even), in decimal, left-padded with "0" to the width; a number
// with more digits keeps them all.  Byte commands are written as hex pairs
// first; one that would not be whole bytes (an odd number of hex digits, a
// pair that is not hex) is refused with the reason, never sent in part.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace zq {

// What the commands read of the rig dialog.
struct RigCommandContext {
    QString rigType;
    QString freqBox;  // the frequency-poll box (txtFreq)
    QString modeBox;  // the mode-poll box (txtMode)
    QString freqPoll; // the settings' frequency-poll string (Icom address)
    uint8_t kenwoodVfo = 10;
};

enum class CommandForm {
    None,       // the family sends nothing
    Text,       // written as text, one byte per character
    Bytes,      // written as bytes
    PegasusFile // two lines in the Pegasus exchange file
};

struct RigCommand {
    CommandForm form = CommandForm::None;
    QByteArray bytes;    // what goes over the line (empty for None and PegasusFile)
    QString error;       // why the command cannot be sent; empty when it can
    // Pauses before the frequency command, in order, in ms; 0 stands for
    // one pass of pending events.
    QList<int> pausesMs;

    bool ok() const { return error.isEmpty(); }
};

// The pause before every mode command, once a mode is known.
constexpr int ModeCommandPauseMs = 99;
// The longest wait for the port's output to drain.
constexpr int OutputDrainLimitMs = 2000;

// The frequency as a digit field.
QString frequencyDigits(float mhz, int unitHz, int width);
// A single-precision value in its shortest decimal form with at most seven
// significant digits, a point as separator, no exponent, no trailing
// zeros: 14.25 -> "14.25", 1270 -> "1270".
QString singleText(float value);

// The set-frequency command of ctx.rigType for `mhz`, with its pauses.
// Families without one give CommandForm::None and no pauses.
RigCommand buildFrequencyCommand(const RigCommandContext& ctx, float mhz);
// The set-mode command of ctx.rigType for `mode` ("CW", "USB", ...).  A mode
// the family's list lacks gives an empty command of the family's form;
// families without mode commands give CommandForm::None.
RigCommand buildModeCommand(const RigCommandContext& ctx, const QString& mode);

// PEGASUS.IN: the frequency in MHz, then the trimmed mode, each line ended
// by CR LF.
QByteArray pegasusInContent(float mhz, const QString& rigMode);

// A number typed by the operator, read with a point as the decimal
// separator whatever the locale; blanks around it allowed.  nullopt for an
// empty text, anything that is not a plain decimal number, or a value that
// is not finite.
std::optional<double> readDecimal(const QString& text);
// A double in plain decimal with at most `significant` significant digits,
// no trailing zeros, no exponent: 14.25 + 0.00001 -> "14.25001", 0.8 -> "0.8".
QString decimalText(double value, int significant);
// A scanned frequency as the tuning panel shows it: up to five decimals, no
// trailing zeros, no zero before the point, a whole number keeps its point
// ("14.0005", ".5", "14.").
QString scanFrequencyText(float mhz);

} // namespace zq
