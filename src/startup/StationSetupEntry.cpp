#include "startup/StationSetupEntry.h"

#include "common/WindowRegistry.h"
#include "startup/frmStationID.h"

namespace zq {

void ShowStationSetup()
{
    frmStationID& w = DefaultInstance<frmStationID>();
    w.show();
    w.raise();
    w.activateWindow();
}

} // namespace zq
