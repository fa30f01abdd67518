// Form1's keyboard: it sees every key before the focused control does, so
// the keypad timing shortcuts, F1, F3 and Enter work wherever the focus is.
#include "app/Form1.h"

#include "commands/FindCommands.h"
#include "commands/KeypadShortcuts.h"
#include "commands/LineCommands.h"
#include "help/ShortcutTableWindow.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"
#include "preview/FilmPreview.h"
#include "preview/KeyCodes.h"
#include "preview/SystemScrollLock.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace korv {

namespace {

// Ctrl+Z, Ctrl+Shift+Z or Ctrl+Y: the document's undo and redo, never an
// edit field's own.
bool isHistoryKey(const QKeyEvent *event)
{
    const QKeyCombination key = event->keyCombination();
    return key == QKeyCombination(Qt::ControlModifier, Qt::Key_Z)
        || key == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)
        || key == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
}

// Sees each key once, at the first widget of this window that receives it.
class KeyPreview : public QObject {
public:
    KeyPreview(Form1 &form, std::function<bool(QKeyEvent *)> handle)
        : QObject(&form), form_(form), handle_(std::move(handle))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool shortcutOverride = event->type() == QEvent::ShortcutOverride;
        if (event->type() != QEvent::KeyPress && !shortcutOverride)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || widget->window() != &form_)
            return false;
        QWidget *first = QApplication::focusWidget();
        if (!first || first->window() != &form_)
            first = &form_;
        if (widget != first)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (shortcutOverride) {
            // An edit field would keep undo and redo for itself; they are the
            // window's, for the document.
            if (!isHistoryKey(key))
                return false;
            event->ignore();
            return true;
        }
        return handle_(key);
    }

private:
    Form1 &form_;
    std::function<bool(QKeyEvent *)> handle_;
};

} // namespace

void Form1::wireKeyboard()
{
    scrollLockLabel_ = new QLabel(Durum);
    scrollLockLabel_->setObjectName(QStringLiteral("ScrollLockState"));
    scrollLockLabel_->setContentsMargins(0, 0, 8, 0); // clear of the window's edge
    Durum->addPermanentWidget(scrollLockLabel_);
    showScrollLock();

    ShortcutHooks hooks;
    hooks.showShortcutTable = [this] { ShowShortcutTable(language_, this); };
    hooks.findEnabled = [this] { return CmdFind->isEnabled(); };
    hooks.editPageShown = [this] { return Frame2[0]->isVisible(); };
    keypad = std::make_unique<KeypadShortcuts>(ws_, *preview, hooks, scrollLock);

    qApp->installEventFilter(new KeyPreview(*this, [this](QKeyEvent *event) { return Form_KeyEvent(event); }));

    for (int i = 0; i < 2; ++i) {
        connect(Command1[std::size_t(i)], &QToolButton::clicked, this, [this, i] { keypad->Command1_Click(i); });
        Command1[std::size_t(i)]->setMouseTracking(true);
        Command1[std::size_t(i)]->installEventFilter(this);
        Command1[std::size_t(i)]->setToolTip(keypad->Command1_ToolTip(i));
    }
    firstActivationSteps.showShortcutTable = [this] { ShowShortcutTable(language_, this); };
    stopFilm = [this] { preview->shutdown(); };
}

bool Form1::Form_KeyEvent(QKeyEvent *event)
{
    // With nothing to undo or redo the keys do nothing, also in a field.
    if (isHistoryKey(event))
        return true;
    if (event->key() == Qt::Key_ScrollLock && !event->isAutoRepeat())
        scrollLockPressed();
    const int code = virtualKeyCode(event->key(), event->modifiers());
    // A keypad key acts by the desktop's Scroll Lock as it is now.
    if (isKeypadShortcutCode(code))
        syncScrollLock();
    const bool modifierHeld =
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    keypad->Form_KeyDown(code, modifierHeld);
    int character = event->text().isEmpty() ? 0 : event->text().at(0).unicode();
    if (code == KeyCode::Enter)
        character = KeyCode::Enter;
    return keypad->Form_KeyPress(character);
}

void Form1::scrollLockPressed()
{
    scrollLock.keyPressed();
    showScrollLock();
    QTimer::singleShot(80, this, [this] {
        scrollLock.checkDesktopFollowed();
        showScrollLock();
    });
}

void Form1::syncScrollLock()
{
    scrollLock.sync();
    showScrollLock();
}

void Form1::showScrollLock()
{
    scrollLockLabel_->setText(ws_.language.LangText(scrollLock.on() ? msg::ScrollLockOn : msg::ScrollLockOff));
}

void Form1::Command1_MouseMove(int index)
{
    Command1[std::size_t(index)]->setToolTip(keypad->Command1_ToolTip(index));
}

} // namespace korv
