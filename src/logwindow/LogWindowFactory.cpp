#include "logwindow/LogWindowFactory.h"

#include "common/WindowRegistry.h"
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

} // namespace zq
