#include "preview/ScrollLock.h"

namespace korv {

ScrollLockState::ScrollLockState(SystemReader readSystem) : readSystem_(std::move(readSystem))
{
    sync();
}

void ScrollLockState::sync()
{
    // While a press waits for its check the desktop may not have caught up.
    if (!followsDesktop() || checkPending_)
        return;
    if (const auto system = readSystem_())
        on_ = *system;
}

void ScrollLockState::keyPressed()
{
    on_ = !on_;
    checkPending_ = true;
}

void ScrollLockState::checkDesktopFollowed()
{
    if (!checkPending_)
        return;
    checkPending_ = false;
    if (!followsDesktop())
        return;
    const auto system = readSystem_();
    if (!system || *system != on_)
        desktopIgnoresKey_ = true; // our own flag from now on
}

} // namespace korv
