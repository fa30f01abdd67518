#include "preview/KeyCodes.h"

namespace korv {

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        // Num Lock on: the keypad sends digits and signs marked as keypad keys.
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return KeyCode::Keypad0 + (qtKey - Qt::Key_0);
        switch (qtKey) {
        case Qt::Key_Period:
        case Qt::Key_Comma: // the keypad point of some layouts
            return KeyCode::KeypadDecimal;
        case Qt::Key_Plus:
            return KeyCode::KeypadAdd;
        case Qt::Key_Minus:
            return KeyCode::KeypadSubtract;
        case Qt::Key_Enter:
            return KeyCode::Enter;
        case Qt::Key_Up:
            return KeyCode::Up;
        case Qt::Key_Down:
            return KeyCode::Down;
        default:
            return 0;
        }
    }
    switch (qtKey) {
    case Qt::Key_F1:
        return KeyCode::F1;
    case Qt::Key_F3:
        return KeyCode::F3;
    case Qt::Key_Up:
        return KeyCode::Up;
    case Qt::Key_Down:
        return KeyCode::Down;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCode::Enter;
    case Qt::Key_ScrollLock:
        return KeyCode::ScrollLock;
    default:
        return 0;
    }
}

bool isKeypadShortcutCode(int code)
{
    return (code >= KeyCode::Keypad0 && code <= KeyCode::Keypad9) || code == KeyCode::KeypadDecimal
        || code == KeyCode::KeypadAdd || code == KeyCode::KeypadSubtract;
}

} // namespace korv
