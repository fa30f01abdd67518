#include "commands/KeypadShortcuts.h"

#include "commands/FindCommands.h"
#include "commands/LineCommands.h"
#include "commands/SpeechCommands.h"
#include "commands/Workspace.h"
#include "document/TimeText.h"
#include "preview/FilmPreview.h"
#include "preview/KeyCodes.h"

namespace korv {

namespace {
// The end written with the start when its option is on and the options
// window holds no number.
constexpr double kDefaultEndOffset = 2.0;
} // namespace

KeypadShortcuts::KeypadShortcuts(Workspace &ws, FilmPreview &film, ShortcutHooks hooks, ScrollLockState &scrollLock)
    : ws_(ws), film_(film), hooks_(std::move(hooks)), scrollLock_(scrollLock)
{
}

const std::array<KeypadShortcuts::Binding, 13> &KeypadShortcuts::bindings()
{
    using K = KeypadShortcuts;
    static const std::array<Binding, 13> table = {{
        {KeyCode::Keypad0, &K::addRowKey},
        {KeyCode::KeypadDecimal, &K::deleteRowKey},
        {KeyCode::Keypad0 + 1, &K::skipBackKey},
        {KeyCode::Keypad0 + 2, &K::playPauseKey},
        {KeyCode::Keypad0 + 3, &K::skipForwardKey},
        {KeyCode::Keypad0 + 4, &K::captureStartKey},
        {KeyCode::Keypad0 + 5, &K::captureEitherKey},
        {KeyCode::Keypad0 + 6, &K::captureEndKey},
        {KeyCode::Keypad0 + 7, &K::stepDownKey},
        {KeyCode::Keypad0 + 8, &K::stepResetKey},
        {KeyCode::Keypad0 + 9, &K::stepUpKey},
        // Keypad + and - do nothing but keep their characters out of the fields.
        {KeyCode::KeypadAdd, &K::keepCharacterOut},
        {KeyCode::KeypadSubtract, &K::keepCharacterOut},
    }};
    return table;
}

void KeypadShortcuts::Form_KeyDown(int keyCode, bool modifierHeld)
{
    if (keyCode == KeyCode::F1 && hooks_.showShortcutTable)
        hooks_.showShortcutTable();
    if (keyCode == KeyCode::F3 && !modifierHeld && hooks_.findEnabled && hooks_.findEnabled()
        && !ws_.fields.text(EditFields::Search).isEmpty())
        CmdFind_Click(ws_);
    const bool shortcutsOn = hooks_.editPageShown && hooks_.editPageShown() && scrollLock_.on();
    const Binding *binding = nullptr;
    for (const Binding &b : bindings()) {
        if (b.keyCode == keyCode)
            binding = &b;
    }
    if (shortcutsOn && binding)
        (this->*binding->action)();
    // Keypad characters are kept out of the fields only while the keys act
    // as shortcuts, so with Scroll Lock off the keypad types digits.
    lastShortcutKey_ = shortcutsOn && binding ? keyCode : 0;
}

bool KeypadShortcuts::Form_KeyPress(int character)
{
    if (character == KeyCode::Enter) {
        film_.Listview_DblClick();
        return true;
    }
    return isKeypadShortcutCode(lastShortcutKey_);
}

void KeypadShortcuts::addRowKey()
{
    addRow(ws_);
}

void KeypadShortcuts::deleteRowKey()
{
    deleteRow(ws_);
}

void KeypadShortcuts::skipBackKey()
{
    Command1_Click(0);
}

void KeypadShortcuts::skipForwardKey()
{
    Command1_Click(1);
}

void KeypadShortcuts::playPauseKey()
{
    if (ws_.option(Option::KeyFiveOnlyPauses)) {
        FilmCommand(FilmAction::Play);
        return;
    }
    switch (film_.player().playState()) {
    case PlayState::Stopped:
    case PlayState::Paused: FilmCommand(FilmAction::Play); break;
    case PlayState::Playing: FilmCommand(FilmAction::Pause); break;
    case PlayState::Waiting: break;
    }
}

void KeypadShortcuts::captureStartKey()
{
    const HistoryStep step(ws_, StepKind::CaptureStart);
    captureStart(true);
}

void KeypadShortcuts::captureEitherKey()
{
    if (ws_.option(Option::KeyFiveOnlyPauses)) {
        FilmCommand(FilmAction::Pause);
    } else if (ws_.fields.text(EditFields::Start).isEmpty()) {
        const HistoryStep step(ws_, StepKind::CaptureStart);
        captureStart(false);
    } else if (ws_.fields.text(EditFields::End).isEmpty()) {
        const HistoryStep step(ws_, StepKind::CaptureEnd);
        captureEnd();
    }
}

void KeypadShortcuts::captureEndKey()
{
    // The row added after the end is part of the same step.
    const HistoryStep step(ws_, StepKind::CaptureEnd);
    captureEnd();
    if (ws_.option(Option::NewRowAfterEnd))
        addRow(ws_);
}

void KeypadShortcuts::stepDownKey()
{
    const auto step = TextToSeconds(ws_.fields.text(EditFields::SkipStep), ws_.numbers);
    if (step && *step - 1 != 0)
        ws_.fields.setText(EditFields::SkipStep, SecondsToText(*step - 1, ws_.numbers));
}

void KeypadShortcuts::stepResetKey()
{
    ws_.fields.setText(EditFields::SkipStep, QStringLiteral("1"));
}

void KeypadShortcuts::stepUpKey()
{
    if (const auto step = TextToSeconds(ws_.fields.text(EditFields::SkipStep), ws_.numbers))
        ws_.fields.setText(EditFields::SkipStep, SecondsToText(*step + 1, ws_.numbers));
}

void KeypadShortcuts::keepCharacterOut() {}

void KeypadShortcuts::capture(int field)
{
    // A press comes late by the user's reaction: with the option on it lands
    // on the voice's nearest edge, in the same step as the capture.
    const double press = film_.player().position();
    const double at = snapCapture(ws_, press, field == EditFields::Start).value_or(press);
    ws_.fields.setText(field, FormatSeconds(at, ws_.precision(), ws_.numbers));
    if (ws_.option(Option::PauseAfterCapture))
        FilmCommand(FilmAction::Pause);
    // Back to the plain form: a whole second loses the separator the pattern leaves.
    if (const auto value = TextToSeconds(ws_.fields.text(field), ws_.numbers))
        ws_.fields.setText(field, SecondsToText(*value, ws_.numbers));
}

void KeypadShortcuts::captureStart(bool withEnd)
{
    capture(EditFields::Start);
    if (withEnd && ws_.option(Option::EndAfterStart)) {
        const auto start = TextToSeconds(ws_.fields.text(EditFields::Start), ws_.numbers);
        const auto offset = TextToSeconds(ws_.optionSeconds(), ws_.numbers);
        if (start)
            ws_.fields.setText(EditFields::End, SecondsToText(*start + offset.value_or(kDefaultEndOffset), ws_.numbers));
    }
}

void KeypadShortcuts::captureEnd()
{
    capture(EditFields::End);
}

void KeypadShortcuts::FilmCommand(FilmAction action)
{
    FilmPlayer &player = film_.player();
    switch (action) {
    case FilmAction::Play: player.play(); break;
    case FilmAction::Pause: player.pause(); break;
    case FilmAction::SkipBack:
    case FilmAction::SkipForward: {
        const auto step = TextToSeconds(ws_.fields.text(EditFields::SkipStep), ws_.numbers);
        if (!step)
            return;
        const double now = player.position();
        player.setPosition(action == FilmAction::SkipBack ? now - *step : *step + now);
        break;
    }
    }
}

void KeypadShortcuts::Command1_Click(int index)
{
    if (!TextToSeconds(ws_.fields.text(EditFields::SkipStep), ws_.numbers))
        ws_.fields.setText(EditFields::SkipStep, QStringLiteral("1"));
    // A skip moves the film, not the list's selection.
    film_.SkipPositionChange = true;
    FilmCommand(index == 0 ? FilmAction::SkipBack : FilmAction::SkipForward);
    film_.SkipPositionChange = false;
}

QString KeypadShortcuts::Command1_ToolTip(int index) const
{
    return ws_.fields.text(EditFields::SkipStep)
        + (index == 0 ? QStringLiteral(" SECOND REWARD") : QStringLiteral(" SECOND FORWARD"));
}

} // namespace korv
