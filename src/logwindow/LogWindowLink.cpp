#include "common/LogWindowLink.h"

#include "common/WindowRegistry.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "logwindow/Infrm.h"
#include "logwindow/Outfrm.h"

namespace zq {

void ShowLogWindow()
{
    if (StationSettings::instance().OutOfStateFlag == 1)
        DefaultInstance<Outfrm>().show();
    else
        DefaultInstance<Infrm>().show();
}

ActiveLogWindow& ForwardedLogWindow()
{
    LogWindow* w = nullptr;
    if (StationSettings::instance().OutOfStateFlag != 0)
        w = &DefaultInstance<Outfrm>();
    else
        w = &DefaultInstance<Infrm>();
    w->load();
    return *w;
}

ActiveLogWindow* LoadedLogWindow(bool outOfState)
{
    if (outOfState)
        return WindowRegistry::existing<Outfrm>();
    return WindowRegistry::existing<Infrm>();
}

void SaveStationPreferences()
{
    WritePrefFile();
}

} // namespace zq
