#pragma once
// Turns Qt key events into the key codes the entry handlers work with:
// a key-down code with a shift state (1 Shift, 2 Ctrl, 4 Alt), then the
// typed character code, where a handler sets 0 to drop the key; and mouse
// buttons into the button codes of the mouse handlers.

#include <Qt>

class QKeyEvent;

namespace zq {

namespace vk {
constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18,
              Escape = 27, Space = 32, PageUp = 33, PageDown = 34, End = 35, Home = 36,
              Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46,
              F1 = 112, F2 = 113, F3 = 114, F4 = 115, F5 = 116, F6 = 117, F7 = 118,
              F8 = 119, F9 = 120, F10 = 121, F11 = 122, F12 = 123;
}
namespace shiftmask {
constexpr int Shift = 1, Ctrl = 2, Alt = 4;
}

// Key-down code: letters 65-90, digits 48-57, the codes above; 0 when unknown.
int keyDownCode(const QKeyEvent* e);
int shiftState(const QKeyEvent* e);
// Typed character code (8 Backspace, 13 Enter, 27 Esc, printable characters
// by their code, Ctrl+letter as 1-26); 0 when the key types nothing.
int keyPressCode(const QKeyEvent* e);
// The paste keys (Ctrl+V, Shift+Insert): an editing command that the entry
// boxes carry out through their line edit, whatever character code the key
// also has.
bool isPasteKey(const QKeyEvent* e);
// 1 left, 2 right, 4 middle; 0 for any other button.
int mouseButtonCode(Qt::MouseButton b);

} // namespace zq
