#pragma once
// The film side of the main window without its widgets: opening a film, the
// AVI information panel, the subtitle overlay, the position labels, the list
// following the film and going to a row's start. The window shows what this
// holds and forwards its controls' events here; tests drive it with a
// scripted player.
//
// The keyboard commands build on the same object: the player (play, pause,
// play state, position), SkipPositionChange around a skip, and
// Listview_DblClick for Enter.

#include "preview/AviInfo.h"
#include "preview/FilmPlayer.h"
#include "preview/SubtitleTimeIndex.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace korv {

class Workspace;

struct FilmClockLabels {
    QString time = QStringLiteral("-");      // LblCurrentTime
    QString frame = QStringLiteral("-");     // LblCurrentFrame
    QString clockTime = QStringLiteral("-"); // LblCurrentAdTime
    bool operator==(const FilmClockLabels &) const = default;
};

// Every "|" becomes CR LF: the overlay shows one line per subtitle line.
QString PipesToLineBreaks(const QString &text);

class FilmPreview : public QObject {
    Q_OBJECT
public:
    FilmPreview(Workspace &ws, FilmPlayer &player, QObject *parent = nullptr);

    FilmPlayer &player() { return player_; }

    // The 1-based row the overlay showed last, where its search starts
    // (0 counts as 1).
    int LastOverlayRow = 0;
    // True while a skip moves the film: the position change then leaves the
    // list's selection alone.
    bool SkipPositionChange = false;

    QTimer TimerAltYazi; // overlay, 500 ms
    QTimer TmrFilmiizle; // list following, 50 ms
    QTimer FilmClock;    // position labels, 150 ms

    // Start-up starts the three timers; shutdown stops them and the film.
    void startTimers();
    void shutdown();

    // What the window shows: the overlay text (lines separated by CR LF),
    // the three position labels, the information panel, the caption.
    const QString &overlayText() const { return overlay_; }
    const FilmClockLabels &clock() const { return clock_; }
    const FilmInformation &information() const { return info_; }
    const QString &caption() const { return caption_; }

    // The wait window that stands over the main window while the headers
    // are read; the window supplies both (showing must paint it at once).
    std::function<void()> showWaitWindow;
    std::function<void()> closeWaitWindow;

    // "FİLM AÇ".
    void mnufilmac_Click();
    // Fills the information panel and sets the film's frame rate.
    void ReadAviInfo(const QString &fileName);

    void TimerAltYazi_Timer();
    // The text of the subtitle due at t (seconds), or the empty text.
    QString SubtitleAtTime(double t);
    void UpdateFilmClock();
    void TmrFilmiizle_Timer();
    void MediaPlayer1_PositionChange(double oldPosition, double newPosition);
    // Double-click on a row (and Enter): the film goes to the row's start.
    void Listview_DblClick();

    // Rows the last overlay or following search compared (benchmarks).
    int rowsExamined() const { return index_.rowsExamined(); }

signals:
    void overlayTextChanged(const QString &text);
    void clockChanged(const FilmClockLabels &labels);
    void informationChanged();
    void captionChanged(const QString &caption);

private:
    void reportCannotPlay(const QString &reason);
    void setOverlay(const QString &text);

    Workspace &ws_;
    FilmPlayer &player_;
    SubtitleTimeIndex index_;
    QString overlay_;
    FilmClockLabels clock_;
    FilmInformation info_;
    QString caption_;
    QString failureTold_; // the film whose failure the user has been told of
};

} // namespace korv
