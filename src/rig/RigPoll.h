#pragma once
// The poll cycle's tables: what a send phase writes for each rig type, the
// tick interval of each polling rate, and the mode by sub-band.

#include "rig/RigSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace zq {

struct PollQuery {
    QList<QByteArray> writes;   // in order, each one write
    bool alternates = false;    // the type alternates frequency and mode queries
    bool dropInputFirst = false; // fixed-position replies: drop stale input first
};

// The query of one send phase.  `alternateQuery` 0: the frequency query of
// the alternating types is due, 1: the mode query.  `convertToHex` is the
// "Convert to Hex" box, honoured for "Other" only.
PollQuery buildQuery(const QString& rigType, const RigSettings& s, uint8_t alternateQuery,
                     bool convertToHex);

// The first n pairs of a poll string written as hex pairs at every third
// character, a last pair cut short read as one hex digit ("3F 41 0" gives
// 3F 41 00); empty when the string has fewer than `minChars` characters
// (each family sets its own: 17 for six bytes, 14 for five, 7 for three)
// or a pair is not hex.
QByteArray pollBytes(const QString& poll, int n, int minChars);

// The tick interval of a polling rate letter: F 50, M 250, S 1000,
// R 5000 ms; nullopt for any other letter.
std::optional<int> pollIntervalMs(const QString& pollRate);

// The mode of the sub-band a frequency lies in (edges excluded); nullopt
// outside every row.
std::optional<QString> modeFromSubBand(float mhz);

// The frequency as the dialog shows it: integer digits without leading
// zeros, a point, five decimals (0.5 -> ".50000").
QString formatRigFrequency(float mhz);

} // namespace zq
