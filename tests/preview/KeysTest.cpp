// Qt's keys as the shortcut logic numbers them, and Scroll Lock's state.
#include "preview/KeyCodes.h"
#include "preview/ScrollLock.h"

#include <gtest/gtest.h>

using namespace korv;

TEST(KeyCodes, KeypadAndFunctionKeysMapOnce)
{
    const std::tuple<int, Qt::KeyboardModifiers, int> cases[] = {
        {Qt::Key_4, Qt::KeypadModifier, 100}, {Qt::Key_4, Qt::NoModifier, 0}, // the main-row digit is no shortcut
        {Qt::Key_Period, Qt::KeypadModifier, 110}, {Qt::Key_Comma, Qt::KeypadModifier, 110},
        {Qt::Key_Plus, Qt::KeypadModifier, 107}, {Qt::Key_Minus, Qt::KeypadModifier, 109},
        {Qt::Key_F1, Qt::ShiftModifier, 112}, {Qt::Key_F3, Qt::NoModifier, 114},
        {Qt::Key_Down, Qt::KeypadModifier, 40}, // Num Lock off
    };
    for (const auto &[key, modifiers, code] : cases)
        EXPECT_EQ(virtualKeyCode(Qt::Key(key), modifiers), code) << key;
}

TEST(ScrollLock, FollowsTheDesktopWhereItCanAndItsOwnFlagWhereNot)
{
    std::optional<bool> desktop = true;
    ScrollLockState state([&] { return desktop; });
    EXPECT_TRUE(state.on());
    desktop = false; // switched off in another program
    state.sync();
    EXPECT_FALSE(state.on());
    state.keyPressed(); // the desktop switches with the key
    desktop = true;
    state.checkDesktopFollowed();
    EXPECT_TRUE(state.followsDesktop());
    EXPECT_TRUE(state.on());

    // A desktop that shows the state but does not switch it with the key:
    // the program's own flag counts, also for a keypad key right after.
    desktop = false;
    ScrollLockState ignoring([&] { return desktop; });
    ignoring.keyPressed();
    ignoring.sync();
    EXPECT_TRUE(ignoring.on());
    ignoring.checkDesktopFollowed();
    EXPECT_FALSE(ignoring.followsDesktop());
    ignoring.sync();
    EXPECT_TRUE(ignoring.on());

    // Nothing to read: the flag alone.
    ScrollLockState own([] { return std::optional<bool>(); });
    own.keyPressed();
    own.sync();
    own.checkDesktopFollowed();
    EXPECT_TRUE(own.on());
    own.keyPressed();
    EXPECT_FALSE(own.on());
}
