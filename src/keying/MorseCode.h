#pragma once
// Morse code as key-line patterns and the arithmetic of its timing.
//
// A pattern is a text of '1' (one unit of key down) and '0' (one unit of
// key up).  Elements are separated by one '0' and every character's pattern
// ends in "000", so the gap after a character is three units; the space is
// eight units up, a word gap of eleven before the word-space adjustment.

#include <QChar>
#include <QString>
#include <atomic>
#include <optional>
#include <vector>

namespace zq {

// The pattern of one character, looked up in upper case; "" for a
// character that keys nothing (anything not in the table, "!" included).
QString MorseTable(QChar c);

// A settings box's text read as a whole as a decimal number ("13", "-4",
// "2.5"); nullopt for an empty text or anything else.
std::optional<double> boxNumber(const QString& text);

// Rounds to the nearest whole number, halves to even.
double roundHalfEven(double v);

// The pattern keyed for a character with the word-space adjustment `space`
// (dot units; only a space is changed): n > 0 adds the whole part of n
// units of key up, n < 0 cuts the pattern to 8 + n units (rounded, halves
// to even; -8 leaves none).
QString characterPattern(QChar c, double space);
// The units of a pattern ('1' key down, '0' key up, the line up before
// it) at which the key line changes.
std::vector<int> patternChanges(const QString& pattern);

// One Morse unit in milliseconds at a speed in words per minute (a word of
// 50 units): 1200 / wpm.  nullopt for a speed below 1 WPM or not finite,
// which keys nothing.
std::optional<double> unitMilliseconds(std::optional<double> wpm);

// The Sleep method's unit: the unit rounded to whole milliseconds, halves
// to even (92 ms at 13 WPM, 38 ms at 32 WPM).
double sleepUnitMilliseconds(double unitMs);

// Loop method: passes of the counting loop for one unit at a speed.
double loopPassesPerUnit(double loopsPer60ms, double wpm);

// Calibration of the Loop method from the time 5,000,000 passes took:
// passes per 60 ms rounded to a whole number (halves to even); nullopt when
// no time was measured.
std::optional<double> loopsPer60msFromElapsed(double elapsedMs);
constexpr double kCalibrationPasses = 5000000.0;

// The Loop method's counting loop: counts a floating-point counter from 0
// up by 1 while it is below `passes`.  Returns the count reached, so the
// loop is not optimised away.
double countLoop(double passes);

// The loop as the keyer counts one unit: countLoop in slices, `stop`
// looked at between them; false when it was set.
bool countLoopPasses(double passes, const std::atomic<bool>& stop);

// Calibration of the Loop method on this computer: the keyer's own loop
// (countLoopPasses) timed over kCalibrationPasses passes, after a warm-up
// that brings the processor up to the speed it keys at; the passes are
// timed in slices and the median slice counts: neither a slice the thread
// lost to another program nor its single best moment sets the pace.
// nullopt when no time was measured.
std::optional<double> calibrateLoopsPer60ms();

// The speed steps of the arrow keys and the "Faster"/"Slower" buttons and
// the word-space buttons: the box's number plus `step`, written back as
// plain text; nullopt when the box holds no number.
std::optional<QString> steppedNumber(const QString& text, int step);

// The Loop method's fine adjustment: "F" takes 0.9 of the passes, "S"
// 1.111111111111 of them, rounded (halves to even).
QString loopFaster(const QString& txtLoop);
QString loopSlower(const QString& txtLoop);

} // namespace zq
