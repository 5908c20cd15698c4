// File menu commands around the log file (archive, restore) and the
// set-up windows of the keyers.

#include "logwindow/LogWindow.h"

#include "common/ModalShow.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/PhoneFrm.h"
#include "logstore/ArchiveRestore.h"

namespace zq {

namespace {

// Shows a keyer's set-up window modally and leaves it loaded.  When its
// keyboard shortcut already has it on screen as a modeless window, it is
// brought forward instead.
template <class W>
void showKeyerSetup()
{
    if (W* w = WindowRegistry::existing<W>(); w && w->isVisible()) {
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->raise();
        w->activateWindow();
        return;
    }
    showModal(DefaultInstance<W>());
}

} // namespace

void LogWindow::mnuArchive_Click()
{
    ArchiveCurrentLog(*cdbFile);
}

void LogWindow::mnuRestore_Click()
{
    if (RestoreLogFromArchive(*cdbFile) == LogFileCommandResult::Done)
        ReloadLog();
}

void LogWindow::mnuCW_Click()
{
    showKeyerSetup<CWFrm>();
}

void LogWindow::mnuVoice_Click()
{
    showKeyerSetup<PhoneFrm>();
}

} // namespace zq
