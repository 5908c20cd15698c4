// The log window's Help and Colors commands: the help viewer and the
// multiplier colour dialog, each shown modally and unloaded when it returns.

#include "common/ModalShow.h"
#include "common/ProgramEnd.h"
#include "common/WindowRegistry.h"
#include "logstore/PrefFile.h"
#include "logwindow/Form5.h"
#include "logwindow/Form6.h"
#include "logwindow/LogWindow.h"

namespace zq {

void LogWindow::mnuHelp_Click()
{
    showModal(DefaultInstance<Form5>());
    WindowRegistry::unload<Form5>();
}

void LogWindow::mnuColors_Click()
{
    // The colours changed when they were picked; however the dialog was
    // closed, save them and repaint the grid through the reload.
    showModal(DefaultInstance<Form6>());
    WindowRegistry::unload<Form6>();
    // The end saves the preferences itself and reloads nothing.
    if (programEnded())
        return;
    WritePrefFile();
    ReloadLog();
}

} // namespace zq
