#pragma once
// The last 50 spots, shared by the log window's band map and the band map
// window, and the plain steps of taking one spot in: the frequency check,
// the call's prefix (the caption of its band-map label) and the cells of a
// spot-list row.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace zq {

struct SpotStore {
    static constexpr int Slots = 52;  // 0..51; 50 and 51 are never used
    static constexpr int Held = 50;   // slots 0..49 hold spots
    static constexpr int Newest = 49; // the newest spot; slot 0 the oldest

    std::array<QString, Slots> SpotCall;
    std::array<float, Slots> SpotFrequency{}; // MHz; 0: empty or dropped
    std::array<QDateTime, Slots> SpotTime;    // arrival (local wall time of the clock's instant)
    std::array<QString, Slots> SpotPrefix;
    // Which spot a slot holds: a number of its own given to each spot as it
    // arrives, moving down the slots with it (0: never held a spot).
    std::array<quint64, Slots> SpotSerial{};

    SpotStore();

    // Moves every spot down one slot (the oldest leaves), puts the new one
    // into slot 49 and drops the newest older spot of the same call (any
    // case) by setting its frequency to 0.  Slot 0 is never dropped.
    void addSpot(const QString& call, float frequencyMHz, const QDateTime& arrival);

    // The empty store of the program's start.
    void clear();

    // The slot that holds the spot numbered `serial` now; -1 once it has
    // left the store (or for 0).
    int slotOf(quint64 serial) const;

    static SpotStore& instance();

private:
    quint64 lastSerial_ = 0;
};

// What a band-map label shows, taken from its slot when the label is drawn.
// The slots move on with every spot that arrives while the label still
// shows what it was drawn with, so a click on the label acts on this spot,
// never on what its slot holds by then.
struct ShownSpot {
    quint64 serial = 0; // 0: the label shows no spot
    QString call;
    float frequency = 0;
};
ShownSpot shownSpotOf(const SpotStore& store, int slot);

// The arrival time of an empty slot: 30 December 1899, 00:00.
QDateTime zeroSpotTime();

// A spot's frequency text: an optional sign, digits and at most one
// decimal point (at least one digit), nothing else.  The kHz value over
// 1000 in double precision; nullopt when the text is not such a number or
// the MHz value is not finite in single precision.
std::optional<double> spotFrequencyMHz(const QString& kHzText);

// The value of a plain number text: an optional sign, digits and at most
// one decimal point, with at least one digit; nullopt for anything else.
// Too large a value reads as infinite.
std::optional<double> spotNumberValue(const QString& text);

// A number as a spot list shows it: at most 15 significant digits, no
// trailing zeros (14.025).
QString spotNumberText(double value);

// The prefix of a call: the call up to its last digit, or the part before
// or after a "/" by where the "/" stands.  Empty for calls shorter than 3.
QString CallPrefix(const QString& call);

// The record up to its first line end, a carriage return or a line feed
// (a cluster may end its lines with a line feed alone).
QString spotRecordBeforeLineEnd(const QString& record);

// The characters at 1-based positions first..last of text; positions past
// its end give nothing.
QString recordColumns(const QString& text, int first, int last);

// The eight cells of a new spot-list row: call, frequency text, country,
// status (empty), comments, prefix, time and from, cut out of the record
// (already cut at its first carriage return) at its columns as received,
// one character a byte, and each then cleaned (cleanSpotField), so a
// control character moves no other character.
QStringList spotListCells(const QString& call, const QString& frequencyText,
                          const QString& country, const QString& record);

} // namespace zq
