#pragma once
// The film open in the preview, for everything that works on it besides the
// player: its path, what the media library told of it, and the audio track
// the user hears. The sound's analysis hangs off the two signals.
//
// Audio tracks are numbered from 0 among the file's audio streams in the
// container's order (media/FilmDescription.h), as the player's track list
// and the sound decoder count them.

#include "media/FilmDescription.h"

#include <QObject>
#include <QString>

#include <optional>

namespace korv {

class OpenFilm : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Empty until a film is opened.
    const QString &path() const { return path_; }
    // Empty when the media library could not describe the film (the player
    // may still play it).
    const std::optional<media::FilmDescription> &description() const { return description_; }
    int audioTrackCount() const { return description_ ? int(description_->audio.size()) : 0; }
    // The track heard; -1 when the film has none.
    int audioTrack() const { return audioTrack_; }

    // A film was opened (the previous one is gone); `audioTrack` is clamped
    // to its tracks. Emits filmOpened, then audioTrackChanged.
    void open(const QString &path, std::optional<media::FilmDescription> description, int audioTrack);
    // Another track of the same film; false (and no signal) when the film
    // has no such track or it is the one heard already.
    bool setAudioTrack(int track);

signals:
    void filmOpened(const QString &path);
    void audioTrackChanged(int track);

private:
    QString path_;
    std::optional<media::FilmDescription> description_;
    int audioTrack_ = -1;
};

} // namespace korv
