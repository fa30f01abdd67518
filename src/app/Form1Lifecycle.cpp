// Form1's start-up, first activation and shutdown.
#include "app/Form1.h"

#include "commands/FileCommands.h"
#include "commands/FilmCommands.h"
#include "commands/FirstActivation.h"
#include "commands/UnsavedChanges.h"
#include "help/OptionsWindow.h"
#include "locale/MessageKeys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QScreen>
#include <QTimer>

namespace korv {

void Form1::Form_Load()
{
    formLoaded_ = true;
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    Combo1->setCurrentIndex(0);
    // Version, the language window on a first run, the language menu.
    startLanguage();
}

bool Form1::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        syncScrollLock();
    // Leaving the window is when a session is most often ended from outside.
    if (event->type() == QEvent::WindowDeactivate)
        recovery_.writeNow();
    // The first time the window is up (activated, or shown where nothing
    // activates windows) the first run is finished, after the window has
    // finished coming up rather than inside its activation.
    if ((event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) && formLoaded_
        && !FirstActivationDone) {
        FirstActivationDone = true;
        QTimer::singleShot(0, this, &Form1::Form_Activate);
    }
    return QWidget::event(event);
}

void Form1::Form_Activate()
{
    runFirstActivation(language_, firstActivationSteps);
    // Work a program lost is offered before anything else is opened.
    recovery_.offerLeftCopies();
    // A file named at start opens once a first run's windows (and the tour,
    // which needs an empty list) are over; over a document brought back only
    // when the user lets it go.
    const QString path = std::exchange(fileToOpenAtStart_, QString());
    if (!path.isEmpty() && confirmUnsavedChanges(ws_))
        openFromCommandLine(path);
    // The film is the document's companion, opened whatever became of it.
    if (const QString film = std::exchange(filmToOpenAtStart_, QString()); !film.isEmpty())
        filmCommands->openFilm(film);
    emit firstActivationFinished();
}

void Form1::openAtStart(const QString &path)
{
    fileToOpenAtStart_ = path;
}

void Form1::openFilmAtStart(const QString &path)
{
    filmToOpenAtStart_ = path;
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (endingBySignal_) {
        Form_Unload();
        event->accept();
        return;
    }
    if (!confirmUnsavedChanges(ws_)) {
        event->ignore();
        return;
    }
    Form_Unload();
    recovery_.discard();
    event->accept();
}

void Form1::endBySignal()
{
    if (std::exchange(endingBySignal_, true))
        return;
    // No one is there to answer a question: the changes wait in the copy,
    // which a normal close would have deleted.
    recovery_.writeNow();
    recovery_.waitForWrites();
    close();
    endRun();
}

void Form1::wireRecovery()
{
    recoveryLabel_ = new QLabel(Durum);
    recoveryLabel_->setObjectName(QStringLiteral("RecoveryState"));
    recoveryLabel_->setContentsMargins(0, 0, 8, 0);
    recoveryLabel_->hide();
    Durum->addPermanentWidget(recoveryLabel_);
    connect(&recovery_, &RecoveryCopies::copiesCannotBeKept, this, [this](const QString &folder) {
        recoveryFolderLost_ = folder;
        showRecoveryState();
    });
}

void Form1::showRecoveryState()
{
    if (!recoveryLabel_ || recoveryFolderLost_.isEmpty())
        return;
    recoveryLabel_->setText(ws_.language.LangText(msg::RecoveryNotKept));
    const QString why = ws_.language.LangText(msg::RecoveryFolderUnwritable).arg(QDir::toNativeSeparators(recoveryFolderLost_));
    recoveryLabel_->setToolTip(why);
    recoveryLabel_->setAccessibleDescription(why);
    // The hint beside it gives way (a long one is cut) rather than this.
    durumPanel_->setMinimumWidth(1);
    recoveryLabel_->show();
}

void Form1::Form_Unload()
{
    if (stopFilm)
        stopFilm();
    if (frmSecenekler)
        frmSecenekler->hide();
}

void Form1::openFromCommandLine(const QString &path)
{
    ws_.lastDialogPath = path;
    openSubtitleFile(ws_, path);
}

} // namespace korv
