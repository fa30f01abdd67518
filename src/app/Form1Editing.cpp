// Form1's wiring of the editing tools: line toolbar, new document, time shift, find, split.
#include "app/Form1.h"

#include "commands/FindCommands.h"
#include "commands/LineCommands.h"
#include "commands/ShiftCommands.h"
#include "commands/SplitCommands.h"

#include <QAction>
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

    connect(CmdArayiAc, &QToolButton::clicked, this, [this] { ws_.fields.CmdArayiAc_Click(); });
    connect(CmdArayiKapat, &QToolButton::clicked, this, [this] { ws_.fields.CmdArayiKapat_Click(); });

    connect(CmdEkleCikar, &QPushButton::clicked, this, [this] { CmdEkleCikar_Click(ws_, Option1[0]->isChecked()); });
    connect(CmdFind, &QPushButton::clicked, this, [this] { CmdFind_Click(ws_); });
    connect(CmdBol, &QPushButton::clicked, this, [this] { CmdBol_Click(ws_, Combo1->currentIndex()); });
}

} // namespace korv
