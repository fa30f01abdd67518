#pragma once
// "FİLM AÇ" and what it tells the user: the film's information read (with a
// wait window over the main window) into the information panel and the
// film's frame rate, the film opened in the player with the audio track
// chosen for it last time, and a film the player cannot play told once.
// AVI films are described by their own headers; every other film by the
// media library.

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace korv {

namespace media {
struct FilmDescription;
}
class FilmPreview;
class Workspace;

class FilmCommands : public QObject {
    Q_OBJECT
public:
    FilmCommands(Workspace &ws, FilmPreview &preview, QObject *parent = nullptr);

    // The wait window that stands over the main window while the film's
    // information is read; the window supplies both (showing must paint it
    // at once).
    std::function<void()> showWaitWindow;
    std::function<void()> closeWaitWindow;

    // "FİLM AÇ": the dialog offers every film the player plays.
    void mnufilmac_Click();
    // The part after the dialog; also a film named at start or dropped.
    void openFilm(const QString &path);
    // A file dropped on the window: a film by its name opens as the film,
    // anything else as a subtitle file (after the unsaved-changes question).
    void openDroppedFile(const QString &path);
    // Fills the information panel from an AVI film's headers and sets the
    // film's frame rate; a name not ending in "AVI" clears both.
    void ReadAviInfo(const QString &fileName);

    // The user chose the audio track heard; remembered for this film.
    void chooseAudioTrack(int track);
    // The information rows again, in the language now in use.
    void showInformationAgain();

    // The dialog's filter: every film type, AVI and DAT, all files.
    static QString filmFilter();

private:
    std::optional<media::FilmDescription> readFilmInformation(const QString &path);
    void showDescription(const media::FilmDescription &film);
    void reportCannotPlay(const QString &reason);
    void tell(const QString &message);

    Workspace &ws_;
    FilmPreview &preview_;
    QString failureTold_; // the film whose failure the user has been told of
};

// The audio track last chosen for the film at `path` (0 when none was),
// and keeping a choice. Kept in the settings under the path's digest.
int rememberedAudioTrack(const QString &path);
void rememberAudioTrack(const QString &path, int track);

} // namespace korv
