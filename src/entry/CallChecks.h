#pragma once
// Decisions of the call field: the default signal reports filled in when
// the call is left, the province of a Canadian call, and whether a digit
// typed after the call starts the report received (the type-through).

#include <QString>
#include <cstdint>

namespace zq {

// A key being handed from one entry field to another: the character code
// as a decimal number, and the field whose key handling takes it (0 when
// none: 4 RS(T) received, 3 the exchange field after it, 1 RS(T) sent).
struct KeyHandOver {
    QString PendingKey;
    uint8_t KeyTarget = 0;

    static KeyHandOver& instance();
};

// "59" for phone (mode "PH", any case), "599" for every other mode.
QString defaultReport(const QString& mode);

// The province code of a Canadian call by its first three characters (any
// case), "" when the call has fewer than 3 characters or no prefix matches.
QString canadianProvince(const QString& call);

// True when a digit typed with the caret at the end of the call belongs to
// the report received: the call has more than 2 characters, a digit after
// its first character with letters following the last such digit, and no
// space or punctuation below "0" after its first character.
bool digitTypesThrough(const QString& call, int caret, int key);

// True when the call holds the digit 5 (a home-state call district).
bool callHasDistrictFive(const QString& call);

// The characters a call box takes, in the key filters' form: blanks (Space
// moves on from the call field) and the quote characters (the log window's
// keys drop them) become 0, every other code passes unchanged.
void CallCharacter(int& keyAscii);

} // namespace zq
