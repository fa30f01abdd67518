#pragma once
// Scroll Lock as the program sees it. Where the desktop's state can be read
// it is followed, read again when the window comes to the front and at each
// keypad key, so a Scroll Lock switched in another program counts. Where it
// cannot be read, or where the desktop is seen to ignore the key (an X server
// whose keymap does not switch the indicator), the program keeps its own
// flag, flipped by each Scroll Lock press in its window.

#include <functional>
#include <optional>

namespace korv {

class ScrollLockState {
public:
    using SystemReader = std::function<std::optional<bool>()>;
    explicit ScrollLockState(SystemReader readSystem = {});

    bool on() const { return on_; }
    void set(bool on) { on_ = on; }
    // Takes the desktop's state, where it is followed.
    void sync();
    // A Scroll Lock press in the window: the flag flips at once...
    void keyPressed();
    // ...and a moment later the desktop is asked whether it flipped too.
    void checkDesktopFollowed();
    bool followsDesktop() const { return readSystem_ && !desktopIgnoresKey_; }

private:
    SystemReader readSystem_;
    bool on_ = false;
    bool desktopIgnoresKey_ = false;
    bool checkPending_ = false;
};

} // namespace korv
