#pragma once
// The arithmetic of the log window's band map: the band's edges, the
// five-value scale that zooms to the spots on the band, where a spot's
// label stands on the line, and the label's colour by the spot's age.

#include <QColor>
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

namespace zq {

struct SpotStore;

struct BandEdges {
    double low = 0;
    double high = 0;
};

// The edges in MHz of a band text (any case); 0 and 0 for a band the map
// does not know.
BandEdges bandMapEdges(const QString& band);

// The scale's ends: the band's edges, narrowed to 1 kHz outside the lowest
// and highest spot strictly inside the band when slots 1..49 hold at least
// two different frequencies there.
BandEdges bandMapZoom(const QString& band, const SpotStore& store);

// The five scale captions, at 0, 1/4, 1/2, 3/4 and the whole of the span,
// rounded to three decimals (halves to even) and written "#.000".
std::array<QString, 5> bandMapScaleCaptions(const QString& band, const SpotStore& store);

// "#.000": three decimals, no leading zero below 1 (.000, 14.025, -.500).
QString threeDecimalText(double value);

// The number a scale caption shows; 0 when it shows none.
float scaleCaptionValue(const QString& caption);

// The Left (twips) of a label of `width` centred on the place of f on the
// line from x1 to x2 whose ends show t0 and t4.
double spotLabelLeft(float f, float t0, float t4, double x1, double x2, double width);

// A label's text colour by the spot's age in whole seconds; nullopt when
// the spot is an hour old or older (the drawing pass ends there).
std::optional<QColor> spotAgeColour(qint64 ageSeconds);

// Whole seconds from the arrival to now, between the two instants (a change
// of the local offset in between changes nothing).
qint64 spotAgeSeconds(const QDateTime& arrival, const QDateTime& now);

// The tool tip of a spot's label: call, frequency "#.000" and the UTC time
// "hh:mm:ss" of its arrival (local wall time plus the UTC offset).
QString spotDetailsText(const QString& call, float frequencyMHz, const QDateTime& arrival,
                        float utcOffsetHours);

} // namespace zq
