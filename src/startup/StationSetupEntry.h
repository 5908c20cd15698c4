#pragma once
// The way from the start-up dialog to the station set-up dialog.

namespace zq {

// Creates the station set-up dialog (running its loading) and shows it
// modeless.
void ShowStationSetup();

} // namespace zq
