#pragma once
// Conversions between readable hexadecimal text ("FE FE 64 E0 03 FD"), the
// byte strings that go over the serial line, and the frequency digits that
// the radios send in binary-coded decimal.
//
// Byte strings are QByteArray, one element per byte.  Hex digits are upper
// case.  Every function is pure.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zq {

// 10..15 give "A".."F", 0..9 their digit, anything else "".
QString NibbleToHex(int value);
// Every byte as two hex digits, no separator: 0D 0A -> "0D0A".
QString BytesToHex(QByteArrayView bytes);
// Every byte as two hex digits and a blank, the last included: "0D 0A ".
QString BytesToSpacedHex(QByteArrayView bytes);
// Pairs at every third character ("FE FE 64 E0 03 FD" -> six bytes); the
// characters between the pairs are skipped whatever they are; a single
// character at the end is one hex digit.  Empty when any pair is not hex.
QByteArray SpacedHexToBytes(const QString& text);
// Adjacent pairs ("FEFE64E005FD" -> six bytes); as SpacedHexToBytes.
QByteArray HexToBytes(const QString& text);
// Frequency digits in units of 10 Hz (the first eight are used) to MHz
// text: "01425000" -> "14.25000", "00050000" -> "0.50000".
QString BcdDigitsToMHz(const QString& digits);
// Frequency digits in hertz (the first ten are used) to MHz text:
// "0014250000" -> "14.250000"; "" -> ".".
QString IcomDigitsToMHz(const QString& digits);

} // namespace zq
