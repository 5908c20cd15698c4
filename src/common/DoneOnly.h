#pragma once
// Windows that are left only through their own Done (the keyer windows,
// the WinKeyer window, voice navigation, the rig interface, the edit
// dialogs and the county change dialogs): they have no window close
// control, and neither Esc nor a close request (the window manager's or
// close()) leaves them, so nothing skips what Done does: writing the
// settings, saving an edit, handing the rover's county over.  Code still
// hides and unloads them.

class QWidget;

namespace zq {

// Takes the close control off `window` and makes it ignore Esc and close
// requests from then on.  Call it in the window's constructor, before it
// is first shown (changing the window flags hides a shown window).
void makeDoneOnly(QWidget& window);

} // namespace zq
