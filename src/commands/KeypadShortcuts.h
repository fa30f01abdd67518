#pragma once
// Timing with the numeric keypad: while Scroll Lock is on and the edit page
// is shown, the keypad plays and pauses the film, skips it, captures the
// film's position as the selected subtitle's start or end, adds and deletes
// rows and changes the skip step. F1, F3 and Enter act everywhere.
//
// Each keypad key has one action, found in one table by its key code (the
// codes of preview/KeyCodes.h); the window, the find button and the edit
// page reach the logic through the hooks below, so tests drive it with a
// scripted film.

#include "preview/ScrollLock.h"

#include <QString>

#include <array>
#include <functional>

namespace korv {

class FilmPreview;
class Workspace;

// What the keys need of the rest of the main window.
struct ShortcutHooks {
    std::function<void()> showShortcutTable; // F1
    std::function<bool()> findEnabled;       // CmdFind enabled
    std::function<bool()> editPageShown;     // Frame2(0) visible
};

// FilmCommand's codes: play, pause, skip back and forth by Text1(8) seconds.
enum class FilmAction { Play = 1, Pause = 2, SkipBack = 3, SkipForward = 4 };

class KeypadShortcuts {
public:
    KeypadShortcuts(Workspace &ws, FilmPreview &film, ShortcutHooks hooks, ScrollLockState &scrollLock);

    // Key-down of the main window, before the focused control sees the key;
    // `modifierHeld`: Shift, Ctrl, Alt or the system key is down.
    void Form_KeyDown(int keyCode, bool modifierHeld);
    // The key's character: true when it must not reach the focused control.
    bool Form_KeyPress(int character);

    void FilmCommand(FilmAction action);
    // The skip buttons under the film (0 back, 1 forward).
    void Command1_Click(int index);
    // Their tooltip, rebuilt at every mouse move so it names the current step.
    QString Command1_ToolTip(int index) const;

    int lastShortcutKey() const { return lastShortcutKey_; }

private:
    // The keypad keys and what each does while the shortcuts are on.
    using Action = void (KeypadShortcuts::*)();
    struct Binding {
        int keyCode;
        Action action;
    };
    static const std::array<Binding, 13> &bindings();

    void addRowKey();
    void deleteRowKey();
    void skipBackKey();
    void playPauseKey();
    void skipForwardKey();
    void captureStartKey();
    void captureEitherKey();
    void captureEndKey();
    void stepDownKey();
    void stepResetKey();
    void stepUpKey();
    void keepCharacterOut();

    void captureStart(bool withEnd);
    void captureEnd();
    void capture(int field);

    Workspace &ws_;
    FilmPreview &film_;
    ShortcutHooks hooks_;
    ScrollLockState &scrollLock_;
    int lastShortcutKey_ = 0;
};

} // namespace korv
