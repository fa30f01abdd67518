// Form1's wiring of the commands that lay times on the voice: snapping the
// highlighted rows (F9) and fitting the whole file to the film's speech
// (cancellable from its progress window), both in the file menu under the
// film's items.
#include "app/Form1.h"

#include "commands/SpeechCommands.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>

#include <algorithm>
#include <memory>

namespace korv {

void Form1::wireSpeech()
{
    mnuSeseOturt = new QAction(QStringLiteral("SATIRLARI SESE OTURT"), this);
    mnuSeseOturt->setObjectName(QStringLiteral("mnuSeseOturt"));
    mnuSeseOturt->setShortcut(QKeySequence(Qt::Key_F9));
    mnuFilmeUydur = new QAction(QStringLiteral("ALTYAZIYI FİLMİN SESİNE UYDUR"), this);
    mnuFilmeUydur->setObjectName(QStringLiteral("mnuFilmeUydur"));
    // After the film's items and its audio tracks, before the save items.
    QAction *firstSave = mnualtyazikaydet[2];
    mnudosyamenu->insertAction(firstSave, mnuSeseOturt);
    mnudosyamenu->insertAction(firstSave, mnuFilmeUydur);
    mnudosyamenu->insertSeparator(firstSave);
    // Part of the window too, so that F9 works with the menu closed.
    addAction(mnuSeseOturt);

    voiceFit = new VoiceFit(ws_, this);
    connect(mnuSeseOturt, &QAction::triggered, this, [this] { snapRowsToVoice(ws_, highlightedRows()); });
    connect(mnuFilmeUydur, &QAction::triggered, voiceFit, &VoiceFit::start);
    // One search at a time; the status bar says it is under way.
    auto hintBefore = std::make_shared<QString>();
    connect(voiceFit, &VoiceFit::runningChanged, this, [this, hintBefore](bool running) {
        mnuFilmeUydur->setEnabled(!running);
        if (running)
            *hintBefore = statusHintKey_;
        setStatusHint(running ? msg::FitRunning : *hintBefore);
    });
    // Cancelled from its progress window: the status bar says nothing changed.
    connect(voiceFit, &VoiceFit::stopped, this, [this] { setStatusHint(msg::FitStopped); });
}

void Form1::showSpeechTexts()
{
    mnuSeseOturt->setText(ws_.language.LangText(msg::MenuSnapRows));
    mnuFilmeUydur->setText(ws_.language.LangText(msg::MenuFitToVoice));
}

std::vector<int> Form1::highlightedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : Listview->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace korv
