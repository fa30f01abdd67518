// Form1's wiring of the editing tools: line toolbar, new document, time shift, find, split.
#include "app/Form1.h"

#include "commands/DocumentHistory.h"
#include "commands/FindCommands.h"
#include "commands/LineCommands.h"
#include "commands/ShiftCommands.h"
#include "commands/SplitCommands.h"

#include <QAction>
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
    std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
    addSpellingItems(field, at, menu.get());
    for (QAction *action : menu->actions()) {
        const QString name = action->objectName();
        if (name != QLatin1String("edit-undo") && name != QLatin1String("edit-redo"))
            continue;
        QAction *ours = name == QLatin1String("edit-undo") ? mnuGeriAl : mnuYinele;
        QAction *item = new QAction(ours->text(), menu.get());
        item->setShortcut(ours->shortcut());
        item->setEnabled(ours->isEnabled());
        connect(item, &QAction::triggered, ours, &QAction::trigger);
        menu->insertAction(action, item);
        menu->removeAction(action);
    }
    menu->exec(field->mapToGlobal(at));
}

} // namespace korv
