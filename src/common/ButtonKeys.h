#pragma once
// Enter on a command button that has the focus presses it, as Space does,
// in every window: Space presses a button when the key comes up, Enter when
// it goes down.  The key goes its ordinary way first: the window's and the
// button's own key handling see it before, and one that takes Enter for a
// meaning of its own (keyboard CW, for one) keeps it.  Only a key left to
// the window presses the button.

namespace zq {

// Needs the application object; installing twice does nothing more.
void installEnterPressesFocusedButton();

} // namespace zq
