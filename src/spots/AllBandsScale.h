#pragma once
// The band map window's arithmetic: the eleven bands it draws, each band's
// scale zoomed to the spots on it, and the five tick captions.

#include <QString>
#include <array>

namespace zq {

struct SpotStore;

struct SpectrumBand {
    const char* name;
    float low;  // MHz, single precision as the scales use them
    float high;
};

// 160 m to 2 m, top to bottom.
constexpr int SpectrumBandCount = 11;
const std::array<SpectrumBand, SpectrumBandCount>& SpectrumBandTable();

// Narrows [low, high] to 1 kHz outside the lowest and highest spot of
// slots 1..49 strictly inside it, when there are two different ones; the
// edges are stored back in single precision.  Otherwise both stay.
void ZoomBandToSpots(float& high, float& low, const SpotStore& store);

// The five tick captions of band b: low + (high - low) * k / 4 in double
// precision on the zoomed single-precision edges, written "#.000".
std::array<QString, 5> spectrumTickCaptions(int b, const SpotStore& store);

// The band b whose fixed edges hold f strictly; -1 for none.
int spectrumBandOf(float f);

} // namespace zq
