#pragma once
// The one place where Qt's key events become the key codes the shortcut
// logic compares against (the desktop's virtual-key numbering: keypad 0-9
// are 96-105, keypad point 110, keypad + 107, keypad - 109, F1 112, F3 114,
// arrows up 38 and down 40, Scroll Lock 145).

#include <Qt>

namespace korv {

namespace KeyCode {
constexpr int Enter = 13;
constexpr int Up = 38;
constexpr int Down = 40;
constexpr int Keypad0 = 96;
constexpr int Keypad9 = 105;
constexpr int KeypadAdd = 107;
constexpr int KeypadSubtract = 109;
constexpr int KeypadDecimal = 110;
constexpr int F1 = 112;
constexpr int F3 = 114;
constexpr int ScrollLock = 145;
} // namespace KeyCode

// 0 for a key the shortcuts do not know.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// True for the keypad keys whose character the shortcuts keep out of fields.
bool isKeypadShortcutCode(int code);

} // namespace korv
