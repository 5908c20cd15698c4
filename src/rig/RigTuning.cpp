#include "rig/RigTuning.h"

#include "common/WindowRegistry.h"
#include "rig/RigControlfrm.h"

#include <utility>

namespace zq {

namespace {

std::function<void(float)>& frequencyChanger()
{
    static std::function<void(float)> f;
    return f;
}

} // namespace

void changeRigFrequency(float mhz)
{
    if (frequencyChanger())
        frequencyChanger()(mhz);
    else
        DefaultInstance<RigControlfrm>().ChangeFrequency(mhz);
}

void setRigFrequencyChangerForTesting(std::function<void(float)> changer)
{
    frequencyChanger() = std::move(changer);
}

} // namespace zq
