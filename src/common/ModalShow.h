#pragma once
// Showing a window modally: the call returns when the window has been
// hidden or closed.  Tests replace the wait with a handler of their own.

#include <functional>

class QWidget;

namespace zq {

void showModal(QWidget& window);

// Test hook: called instead of the modal wait (nullptr restores it).
void setModalShowHandlerForTesting(std::function<void(QWidget&)> handler);

} // namespace zq
