#pragma once
// Scroll Lock as the desktop reports it, where it can: the keyboard state on
// Windows, the keyboard's "Scroll Lock" indicator on X11. Empty where no
// system state can be read (the offscreen platform, Wayland, an X server
// without the indicator); the program then keeps its own flag.

#include <optional>

namespace korv {

std::optional<bool> readSystemScrollLock();

} // namespace korv
