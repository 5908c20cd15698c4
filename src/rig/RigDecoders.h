#pragma once
// The radios' replies turned into frequency (MHz), mode and, for one
// family, the VFO.  Each decoder is a pure function of the reply's bytes
// (and of the poll strings where the family's marker comes from them): a
// field of the result is set only when its bytes are there and valid;
// what it leaves unset the caller keeps.  No decoder reads past the end of
// its input, whatever the input is.
//
// Modes are "PH" and "CW" ("Yaesu 757 GX II" also gives "AM" and "FM").

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

namespace zq {

struct RigReading {
    std::optional<float> frequency; // MHz
    std::optional<QString> mode;
    std::optional<uint8_t> vfo;     // Kenwood IF: 0 VFO A, 1 VFO B, ...

    // Later fields win: `a.merge(b)` takes every field b has.
    void merge(const RigReading& later);
};

// Text families: markers, digits after them.
RigReading DecodeKenwoodFrequency(QByteArrayView reply, const QString& freqPoll);
RigReading DecodeKenwoodMode(QByteArrayView reply);
RigReading DecodeKenwoodIF(QByteArrayView reply);
RigReading DecodeFTdx9000Reply(QByteArrayView reply, const QString& freqPoll,
                               const QString& modePoll);
RigReading DecodeOrionFrequency(QByteArrayView reply);
RigReading DecodeOrionMode(QByteArrayView reply);
// CI-V frames.  `fourByteFrequency`: the "Icom 735" reading (four data
// bytes, the result divided by 100).
RigReading DecodeIcomFrequency(QByteArrayView reply, bool fourByteFrequency);
RigReading DecodeIcomMode(QByteArrayView reply);
// Fixed-position binary blocks.
RigReading DecodeYaesuFrequencyMode(QByteArrayView reply);
RigReading DecodeYaesu757Status(QByteArrayView reply);
RigReading DecodeYaesu890Status(QByteArrayView reply);
RigReading DecodeYaesu1000Status(QByteArrayView reply);
RigReading DecodeYaesu990Status(QByteArrayView reply);
RigReading DecodeYaesu920Status(QByteArrayView reply);
RigReading DecodeTenTecPanelFrequency(QByteArrayView reply);
RigReading DecodeTenTecPanelMode(QByteArrayView reply);

// The decoding a receive phase runs for a rig type (exact names, case
// included); `afterFrequencyQuery` tells the alternating families which
// query went out.  Types without a decoder give an empty reading.
RigReading decodeReply(const QString& rigType, QByteArrayView reply, bool afterFrequencyQuery,
                       const QString& freqPoll, const QString& modePoll);

// The Pegasus control program's PEGASUS.OUT: two fields (frequency in MHz,
// mode text) separated by a comma or a line break, a text field possibly
// in double quotes.  A mode other than "CW" (exactly) becomes "PH"; an
// empty mode stays empty.  The frequency is kept when the mode field is
// missing.
RigReading parsePegasusOut(QByteArrayView content);
// Where PEGASUS.OUT and PEGASUS.IN live: ~/Pegasus.
QString pegasusFolder();
// Reads ~/Pegasus/PEGASUS.OUT (name matched without regard to case, at
// most MaxPegasusFile bytes); an empty reading when it cannot be read.
RigReading ReadPegasusFile();
constexpr qsizetype MaxPegasusFile = 4096;

} // namespace zq
