#pragma once
// "FİLM AÇ" and what it tells the user: the film's AVI headers read (with a
// wait window over the main window) into the information panel and the film's
// frame rate, the film opened in the player, and a film the player cannot
// play told once.

#include <QObject>
#include <QString>

#include <functional>

namespace korv {

class FilmPreview;
class Workspace;

class FilmCommands : public QObject {
    Q_OBJECT
public:
    FilmCommands(Workspace &ws, FilmPreview &preview, QObject *parent = nullptr);

    // The wait window that stands over the main window while the headers
    // are read; the window supplies both (showing must paint it at once).
    std::function<void()> showWaitWindow;
    std::function<void()> closeWaitWindow;

    // "FİLM AÇ".
    void mnufilmac_Click();
    // Fills the information panel and sets the film's frame rate.
    void ReadAviInfo(const QString &fileName);

private:
    void reportCannotPlay(const QString &reason);

    Workspace &ws_;
    FilmPreview &preview_;
    QString failureTold_; // the film whose failure the user has been told of
};

} // namespace korv
