#pragma once
// Tuning the radio from a spot: RigControlfrm.ChangeFrequency, which lets
// queued events run while it waits for the radio.

#include <functional>

namespace zq {

void changeRigFrequency(float mhz);

// Test hook: called instead of the rig interface (nullptr restores it).
void setRigFrequencyChangerForTesting(std::function<void(float)> changer);

} // namespace zq
