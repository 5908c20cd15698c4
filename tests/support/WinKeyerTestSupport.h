#pragma once
// Opening the program's WinKeyer link on a fake keyer.

#include "support/FakeWinKeyer.h"

namespace zq::test {

// Maps serial port `port` to the fake's device in ComPorts.txt of the
// working folder and makes it the keyer's port.
void useFakeKeyerPort(const FakeWinKeyer& fake, int port = 7);
// Opens the keyer through the WinKeyer window's "Open" on the fake; true
// when the link came up.  The fake's record is cleared afterwards, so it
// holds only what the program sent after the open and its settings.
bool openFakeKeyer(FakeWinKeyer& fake, int port = 7);

} // namespace zq::test
