#include "spots/AllBandsScale.h"

#include "spots/BandMapScale.h"
#include "spots/SpotStore.h"

namespace zq {

const std::array<SpectrumBand, SpectrumBandCount>& SpectrumBandTable()
{
    static const std::array<SpectrumBand, SpectrumBandCount> table = {{
        {"160", 1.8f, 2.f},
        {"80", 3.5f, 4.f},
        {"40", 7.f, 7.3f},
        {"30", 10.1f, 10.15f},
        {"20", 14.f, 14.35f},
        {"17", 18.068f, 18.168f},
        {"15", 21.f, 21.45f},
        {"12", 24.89f, 24.99f},
        {"10", 28.f, 29.7f},
        {"6", 50.f, 54.f},
        {"2", 144.f, 148.f},
    }};
    return table;
}

void ZoomBandToSpots(float& high, float& low, const SpotStore& store)
{
    float min = high;
    float max = low;
    for (int i = 1; i <= SpotStore::Newest; ++i) {
        const float f = store.SpotFrequency[static_cast<size_t>(i)];
        if (low < f && f < high) {
            if (f < min)
                min = f;
            if (f > max)
                max = f;
        }
    }
    if (max > min) {
        high = static_cast<float>(double(max) + 0.001);
        low = static_cast<float>(double(min) - 0.001);
    }
}

std::array<QString, 5> spectrumTickCaptions(int b, const SpotStore& store)
{
    std::array<QString, 5> out;
    if (b < 0 || b >= SpectrumBandCount)
        return out;
    float low = SpectrumBandTable()[static_cast<size_t>(b)].low;
    float high = SpectrumBandTable()[static_cast<size_t>(b)].high;
    ZoomBandToSpots(high, low, store);
    for (int k = 0; k <= 4; ++k)
        out[static_cast<size_t>(k)] = threeDecimalText(double(low) + (double(high) - double(low)) * 0.25 * k);
    return out;
}

int spectrumBandOf(float f)
{
    for (int b = 0; b < SpectrumBandCount; ++b) {
        const SpectrumBand& band = SpectrumBandTable()[static_cast<size_t>(b)];
        if (band.low < f && f < band.high)
            return b;
    }
    return -1;
}

} // namespace zq
