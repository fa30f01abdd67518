#include "app/Startup.h"

#include "app/Form1.h"
#include "app/StopSignals.h"
#include "locale/Language.h"

#include <QApplication>
#include <QTimer>

#include <csignal>

namespace korv {

int runEditor(QApplication &app, const EditorCommandLine &line, bool quitWhenIdle)
{
#ifdef SIGXFSZ
    // Past a file-size limit a save must fail with its reason, not end the
    // program and the unsaved work with it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication::setApplicationName(QStringLiteral("korvendal-sub"));
    QApplication::setOrganizationName(QStringLiteral("Korvendal"));
    // No display name: Qt would append it to every window's caption, and the
    // captions ("KORVENDAL SUB v1.2", " SEÇENEKLER") are the program's own.
    QFont font = QApplication::font();
    font.setPointSizeF(8.0);
    QApplication::setFont(font);

    // "Language" and "Help" are beside the program, or where it was installed.
    Language language(locateProgramFiles(QApplication::applicationDirPath()));
    // Lets the desktop match the windows to the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("korvendal-sub"));
    Form1 form(language);
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::stopRequested, &form, &Form1::endBySignal);
    form.Form_Load();
    // Asked to stop while a first run's language window was up.
    if (form.endedBySignal())
        return 0;
    // A subtitle file named on the command line, as a file manager's
    // "Open with" passes it.
    if (!line.subtitle.isEmpty())
        form.openAtStart(line.subtitle);
    if (!line.film.isEmpty())
        form.openFilmAtStart(line.film);
    if (quitWhenIdle)
        QObject::connect(&form, &Form1::firstActivationFinished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    form.show();
    return app.exec();
}

} // namespace korv
