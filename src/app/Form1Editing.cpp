// Form1's wiring of the editing tools: line toolbar, new document, time shift, find, split.
#include "app/Form1.h"

#include "commands/DocumentHistory.h"
#include "commands/FindCommands.h"
#include "commands/LineCommands.h"
#include "commands/ShiftCommands.h"
#include "commands/SplitCommands.h"
#include "locale/MessageKeys.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace korv {

void Form1::wireEditing()
{
    for (int i = 0; i < 3; ++i)
        connect(CubukButtons[std::size_t(i)], &QAction::triggered, this, [this, i] { Cubuk_ButtonClick(ws_, i + 1); });
    CubukButtons[2]->setEnabled(ws_.restoreEnabled());
    connect(&ws_, &Workspace::restoreEnabledChanged, CubukButtons[2], &QAction::setEnabled);
    connect(MnuYeniAltYazi, &QAction::triggered, this, [this] { MnuYeniAltYazi_Click(ws_); });

    connect(CmdArayiAc, &QToolButton::clicked, this, [this] { CmdArayiAc_Click(ws_); });
    connect(CmdArayiKapat, &QToolButton::clicked, this, [this] { CmdArayiKapat_Click(ws_); });

    connect(CmdEkleCikar, &QPushButton::clicked, this, [this] { CmdEkleCikar_Click(ws_, Option1[0]->isChecked()); });
    connect(CmdFind, &QPushButton::clicked, this, [this] { CmdFind_Click(ws_); });
    connect(CmdBol, &QPushButton::clicked, this, [this] { CmdBol_Click(ws_, Combo1->currentIndex()); });
    wireHistory();
}

void Form1::wireHistory()
{
    mnuGeriAl->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuYinele->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // Part of the window too, so that the keys work with the menu closed.
    addAction(mnuGeriAl);
    addAction(mnuYinele);
    connect(mnuGeriAl, &QAction::triggered, this, [this] { ws_.history.undo(); });
    connect(mnuYinele, &QAction::triggered, this, [this] { ws_.history.redo(); });
    connect(&ws_.history, &DocumentHistory::changed, this, &Form1::showHistoryItems);
    showHistoryItems();

    // A field's context menu offers the document's undo and redo in place
    // of the field's own.
    for (QLineEdit *field : Text1) {
        field->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(field, &QLineEdit::customContextMenuRequested, this,
                [this, field](const QPoint &at) { showFieldMenu(field, at); });
    }
}

void Form1::showHistoryItems()
{
    mnuGeriAl->setText(undoCaption(ws_.language, ws_.history));
    mnuGeriAl->setEnabled(ws_.history.canUndo());
    mnuYinele->setText(redoCaption(ws_.language, ws_.history));
    mnuYinele->setEnabled(ws_.history.canRedo());
}

void Form1::showFieldMenu(QLineEdit *field, const QPoint &at)
{
    // The field's own menu would offer Qt's English items and an undo of its
    // own, which would change the row behind the document's history: the
    // menu is built here, in the window's language, around the document's
    // undo and redo.
    QMenu menu(field);
    menu.setObjectName(QStringLiteral("Text1Menu"));
    auto item = [&](const QString &name, const QString &text, const QKeySequence &keys, bool enabled, auto act) {
        QAction *action = menu.addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, field, act);
        return action;
    };
    for (QAction *ours : {mnuGeriAl, mnuYinele})
        item(ours == mnuGeriAl ? QStringLiteral("edit-undo") : QStringLiteral("edit-redo"), ours->text(),
             ours->shortcut(), ours->isEnabled(), [ours] { ours->trigger(); });
    menu.addSeparator();
    const bool writable = !field->isReadOnly() && field->isEnabled();
    const bool selection = field->hasSelectedText();
    item(QStringLiteral("edit-cut"), ws_.language.LangText(msg::MenuCut), QKeySequence::Cut, writable && selection,
         [field] { field->cut(); });
    item(QStringLiteral("edit-copy"), ws_.language.LangText(msg::MenuCopy), QKeySequence::Copy, selection,
         [field] { field->copy(); });
    const QClipboard *clipboard = QApplication::clipboard();
    item(QStringLiteral("edit-paste"), ws_.language.LangText(msg::MenuPaste), QKeySequence::Paste,
         writable && clipboard && !clipboard->text().isEmpty(), [field] { field->paste(); });
    item(QStringLiteral("edit-delete"), ws_.language.LangText(msg::MenuDelete), QKeySequence(), writable && selection,
         [field] { field->del(); });
    menu.addSeparator();
    item(QStringLiteral("select-all"), ws_.language.LangText(msg::MenuSelectAll), QKeySequence::SelectAll,
         !field->text().isEmpty() && field->selectedText() != field->text(), [field] { field->selectAll(); });
    addSpellingItems(field, at, &menu);
    menu.exec(field->mapToGlobal(at));
}

} // namespace korv
