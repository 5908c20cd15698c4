#pragma once
// Showing a window modally: the call returns when the window has been
// hidden or closed.  Tests replace the wait with a handler of their own
// (the window then counts as closed by its own steps).

#include <functional>

class QWidget;

namespace zq {

// True when the window was closed by its own steps (its Done, OK or
// Cancel); false when it was left from outside, as its Cancel would leave
// it: the program ends, or the window was unloaded meanwhile.  What only
// its Done would store must then not be stored by the caller either.
bool showModal(QWidget& window);

// Test hook: called instead of the modal wait (nullptr restores it).
void setModalShowHandlerForTesting(std::function<void(QWidget&)> handler);

} // namespace zq
