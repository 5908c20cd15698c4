#pragma once
// Ending the program from inside a handler: every inner loop is left as its
// Cancel would leave it, every event loop is told to return, and no window
// runs its closing steps afterwards.  Once asked for, the end cannot be
// refused by any window.  Tests observe the end through programEnded()
// instead of losing their process.

#include <functional>

namespace zq {

void endProgram();
// Flags the end without quitting yet: the orderly end first leaves the
// inner loops, and handlers that return from them see programEnded().
void flagProgramEnd();
// True once endProgram() or flagProgramEnd() has run in this run.
bool programEnded();

// Test hooks: replaces what ending does (nullptr restores the event-loop
// quit) and clears the ended flag.
void setProgramEndHandlerForTesting(std::function<void()> handler);
void resetProgramEndForTesting();

} // namespace zq
