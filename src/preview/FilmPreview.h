#pragma once
// The film side of the main window without its widgets: the subtitle overlay,
// the position labels, the list following the film, going to a row's start,
// and the film information panel's contents. The window shows what this
// holds and forwards its controls' events here; tests drive it with a
// scripted player. Opening a film, which talks to the user, is the command
// of commands/FilmCommands.h.

#include "document/FrameRate.h"
#include "document/SubtitleList.h"
#include "media/AviInfo.h"
#include "preview/FilmPlayer.h"
#include "preview/SubtitleTimeIndex.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace korv {

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
    // `rates.film` is the open film's frame rate, for the frame label; times
    // are read and written in the number format `nf`.
    FilmPreview(SubtitleList &list, FilmPlayer &player, const FrameRates &rates, const NumberFormat &nf,
                QObject *parent = nullptr);

    FilmPlayer &player() { return player_; }

    // Whether the list follows the film (option 0), asked at every tick.
    std::function<bool()> listFollowsFilm = [] { return false; };

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
    void setInformation(FilmInformation info);
    void setCaption(const QString &caption);

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
    void setOverlay(const QString &text);

    SubtitleList &list_;
    FilmPlayer &player_;
    const FrameRates &rates_;
    const NumberFormat &nf_;
    SubtitleTimeIndex index_;
    QString overlay_;
    FilmClockLabels clock_;
    FilmInformation info_;
    QString caption_;
};

} // namespace korv
