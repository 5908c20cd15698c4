#pragma once
// Ending on a signal.  SIGTERM, SIGINT and SIGHUP do not end the process
// where it stands (a key line could stay down, a port stay claimed): their
// handler only writes the signal's number into a pipe, and a socket
// notifier on the pipe's other end calls `onSignal` from the
// user-interface thread's event loop, between two events, where the
// program can end in order.  The handler is reset by its first signal, so
// a second signal of the same kind ends the process at once should the
// orderly end ever hang.

#include <functional>

namespace zq {

// Installs the handlers (once per process; a later call only replaces
// `onSignal`).  Needs the application object.  False when the pipe or a
// handler cannot be set up; the signals then keep their default action.
bool installEndSignalHandlers(std::function<void(int signal)> onSignal);

} // namespace zq
