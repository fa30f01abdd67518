#include "commands/KeypadShortcuts.h"

#include "commands/Workspace.h"
#include "document/TimeText.h"
#include "preview/KeyCodes.h"

namespace korv {

namespace {
// The end written with the start when its option is on and the options
// window holds no number.
constexpr double kDefaultEndOffset = 2.0;
} // namespace

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

KeypadShortcuts::KeypadShortcuts(Workspace &ws, FilmControls film, ShortcutHooks hooks, ScrollLockState &scrollLock)
    : ws_(ws), film_(std::move(film)), hooks_(std::move(hooks)), scrollLock_(scrollLock)
{
}

bool KeypadShortcuts::flag(int index) const
{
    return ws_.optionFlag && ws_.optionFlag(index);
}

void KeypadShortcuts::Form_KeyDown(int keyCode, bool modifierHeld)
{
    if (keyCode == KeyCode::F1 && hooks_.showShortcutTable)
        hooks_.showShortcutTable();
    if (keyCode == KeyCode::F3 && !modifierHeld && hooks_.findEnabled && hooks_.findEnabled()
        && !ws_.fields.text(EditFields::Search).isEmpty() && hooks_.find)
        hooks_.find();
    const bool editPage = hooks_.editPageShown && hooks_.editPageShown();
    if (editPage && scrollLock_.on())
        handleKeypad(keyCode);
    // Keypad characters are kept out of the fields only while the keys act
    // as shortcuts, so with Scroll Lock off the keypad types digits.
    lastShortcutKey_ = isKeypadShortcutCode(keyCode) && editPage && scrollLock_.on() ? keyCode : 0;
}

bool KeypadShortcuts::Form_KeyPress(int character)
{
    if (character == KeyCode::Enter) {
        if (hooks_.goToSelectedRow)
            hooks_.goToSelectedRow();
        return true;
    }
    return isKeypadShortcutCode(lastShortcutKey_);
}

void KeypadShortcuts::handleKeypad(int keyCode)
{
    switch (keyCode) {
    case KeyCode::Keypad0:
        if (hooks_.pressLineButton)
            hooks_.pressLineButton(1);
        break;
    case KeyCode::KeypadDecimal:
        if (hooks_.pressLineButton)
            hooks_.pressLineButton(2);
        break;
    case KeyCode::Keypad0 + 1:
        Command1_Click(0);
        break;
    case KeyCode::Keypad0 + 2:
        if (flag(4)) {
            FilmCommand(1);
        } else if (film_.playState) {
            const int state = film_.playState();
            if (state == 0 || state == 1)
                FilmCommand(1);
            else if (state == 2)
                FilmCommand(2);
        }
        break;
    case KeyCode::Keypad0 + 3:
        Command1_Click(1);
        break;
    case KeyCode::Keypad0 + 4:
        captureStart(true);
        break;
    case KeyCode::Keypad0 + 5:
        if (flag(4)) {
            FilmCommand(2);
        } else if (ws_.fields.text(EditFields::Start).isEmpty()) {
            captureStart(false);
        } else if (ws_.fields.text(EditFields::End).isEmpty()) {
            captureEnd();
        }
        break;
    case KeyCode::Keypad0 + 6:
        captureEnd();
        if (flag(3) && hooks_.pressLineButton)
            hooks_.pressLineButton(1);
        break;
    case KeyCode::Keypad0 + 7:
    case KeyCode::Keypad0 + 8:
    case KeyCode::Keypad0 + 9:
        changeStep(keyCode);
        break;
    default:
        break; // keypad + and - do nothing but keep their characters out
    }
}

void KeypadShortcuts::capture(int field)
{
    const double p = film_.position ? film_.position() : -1.0;
    ws_.fields.setText(field, FormatSeconds(p));
    if (flag(1))
        FilmCommand(2);
    // Back to the plain form: a whole second loses the separator the pattern leaves.
    if (const auto value = TextToSeconds(ws_.fields.text(field)))
        ws_.fields.setText(field, SecondsToText(*value));
}

void KeypadShortcuts::captureStart(bool withEnd)
{
    capture(EditFields::Start);
    if (withEnd && flag(2)) {
        const auto start = TextToSeconds(ws_.fields.text(EditFields::Start));
        const auto offset = ws_.optionSeconds ? TextToSeconds(ws_.optionSeconds()) : std::nullopt;
        if (start)
            ws_.fields.setText(EditFields::End, SecondsToText(*start + offset.value_or(kDefaultEndOffset)));
    }
}

void KeypadShortcuts::captureEnd()
{
    capture(EditFields::End);
}

void KeypadShortcuts::changeStep(int keyCode)
{
    if (keyCode == KeyCode::Keypad0 + 8) {
        ws_.fields.setText(EditFields::SkipStep, QStringLiteral("1"));
        return;
    }
    const auto step = TextToSeconds(ws_.fields.text(EditFields::SkipStep));
    if (!step)
        return;
    if (keyCode == KeyCode::Keypad0 + 7) {
        if (*step - 1 != 0)
            ws_.fields.setText(EditFields::SkipStep, SecondsToText(*step - 1));
    } else {
        ws_.fields.setText(EditFields::SkipStep, SecondsToText(*step + 1));
    }
}

void KeypadShortcuts::FilmCommand(int code)
{
    switch (code) {
    case 1:
        if (film_.play)
            film_.play();
        break;
    case 2:
        if (film_.pause)
            film_.pause();
        break;
    case 3:
    case 4: {
        const auto step = TextToSeconds(ws_.fields.text(EditFields::SkipStep));
        if (!step || !film_.position || !film_.setPosition)
            return;
        const double now = film_.position();
        film_.setPosition(code == 3 ? now - *step : *step + now);
        break;
    }
    default:
        break;
    }
}

void KeypadShortcuts::Command1_Click(int index)
{
    if (!TextToSeconds(ws_.fields.text(EditFields::SkipStep)))
        ws_.fields.setText(EditFields::SkipStep, QStringLiteral("1"));
    if (film_.setSkipPositionChange)
        film_.setSkipPositionChange(true);
    FilmCommand(index == 0 ? 3 : 4);
    if (film_.setSkipPositionChange)
        film_.setSkipPositionChange(false);
}

QString KeypadShortcuts::Command1_ToolTip(int index) const
{
    return ws_.fields.text(EditFields::SkipStep)
        + (index == 0 ? QStringLiteral(" SECOND REWARD") : QStringLiteral(" SECOND FORWARD"));
}

} // namespace korv
