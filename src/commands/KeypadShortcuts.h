#pragma once
// Timing with the numeric keypad: while Scroll Lock is on and the edit page
// is shown, the keypad plays and pauses the film, skips it, captures the
// film's position as the selected subtitle's start or end, adds and deletes
// rows and changes the skip step. F1, F3 and Enter act everywhere.
//
// The logic sees the film, the line toolbar, the find button and the
// windows through the hooks below, so it is tested with a scripted film.

#include <QString>

#include <functional>
#include <optional>

namespace korv {

class Workspace;

// What the keys need of the film player.
struct FilmControls {
    std::function<double()> position;          // seconds; -1 with no film open
    std::function<void(double)> setPosition;
    std::function<int()> playState;            // 0 stopped, 1 paused, 2 playing
    std::function<void()> play;
    std::function<void()> pause;
    std::function<void(bool)> setSkipPositionChange;
};

// What the keys need of the rest of the main window.
struct ShortcutHooks {
    std::function<void()> showShortcutTable;   // F1
    std::function<bool()> findEnabled;         // CmdFind enabled
    std::function<void()> find;                // CmdFind_Click
    std::function<bool()> editPageShown;       // Frame2(0) visible
    std::function<void(int)> pressLineButton;  // Cubuk_ButtonClick(1 or 2)
    std::function<void()> goToSelectedRow;     // Listview_DblClick
};

// Scroll Lock as the program sees it. Where the desktop's state can be read
// it is followed, read again when the window comes to the front and at each
// keypad key, so a Scroll Lock switched in another program counts. Where it
// cannot be read, or where the desktop is seen to ignore the key (an X server
// whose keymap does not switch the indicator), the program keeps its own
// flag, flipped by each Scroll Lock press in its window.
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

class KeypadShortcuts {
public:
    KeypadShortcuts(Workspace &ws, FilmControls film, ShortcutHooks hooks, ScrollLockState &scrollLock);

    // Key-down of the main window, before the focused control sees the key;
    // `modifierHeld`: Shift, Ctrl, Alt or the system key is down.
    void Form_KeyDown(int keyCode, bool modifierHeld);
    // The key's character: true when it must not reach the focused control.
    bool Form_KeyPress(int character);

    // 1 play, 2 pause, 3 skip back, 4 skip forward by Text1(8) seconds.
    void FilmCommand(int code);
    // The skip buttons under the film (0 back, 1 forward).
    void Command1_Click(int index);
    // Their tooltip, rebuilt at every mouse move so it names the current step.
    QString Command1_ToolTip(int index) const;

    int lastShortcutKey() const { return lastShortcutKey_; }
    bool ScrollLockOn() const { return scrollLock_.on(); }

private:
    void handleKeypad(int keyCode);
    void captureStart(bool withEnd);
    void captureEnd();
    void capture(int field);
    void changeStep(int keyCode);
    bool flag(int index) const;

    Workspace &ws_;
    FilmControls film_;
    ShortcutHooks hooks_;
    ScrollLockState &scrollLock_;
    int lastShortcutKey_ = 0;
};

} // namespace korv
