#pragma once

namespace zq {
// Shows the log window variant that OutOfStateFlag chooses: Outfrm when it
// is 1, Infrm otherwise.
void ShowLogWindow();
} // namespace zq
