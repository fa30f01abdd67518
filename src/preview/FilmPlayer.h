#pragma once
// The film player as the preview logic sees it. The program's player plays
// through Qt Multimedia; tests drive a scripted one.
//
// Positions are seconds counted from the film's first picture. With no film
// open (nothing opened yet, or a file the player could not open) the position
// is exactly -1.

#include <QObject>
#include <QString>

namespace korv {

// Waiting: a film still loading, with playback asked for.
enum class PlayState { Stopped = 0, Paused = 1, Playing = 2, Waiting = 3 };

class FilmPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Loads the film and starts playing it once it is ready.
    virtual void open(const QString &path) = 0;
    virtual double position() const = 0;
    // Moves the film; raises positionChanged before it returns. Ignored
    // while no film is open.
    virtual void setPosition(double seconds) = 0;
    virtual PlayState playState() const = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    // The audio track heard, numbered from 0 among the film's audio streams
    // in the container's order; kept until the next film is opened, and
    // applied once the player knows the film's tracks.
    virtual void setAudioTrack(int track) = 0;

signals:
    // The position was moved (by setPosition or the player's own position
    // bar), not the steady advance of playback.
    void positionChanged(double oldPosition, double newPosition);
    // The opened film cannot be played (damaged, not a film, or no decoder
    // for it); `reason` is the player's own description, empty when it gave none.
    void cannotPlay(const QString &reason);
};

} // namespace korv
