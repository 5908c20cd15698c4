#include "logstore/StationSettings.h"

namespace zq {

StationSettings& StationSettings::instance()
{
    static StationSettings s;
    return s;
}

} // namespace zq
