#include "commands/OpenFilm.h"

#include <algorithm>

namespace korv {

void OpenFilm::open(const QString &path, std::optional<media::FilmDescription> description, int audioTrack)
{
    path_ = path;
    description_ = std::move(description);
    const int count = audioTrackCount();
    audioTrack_ = count == 0 ? -1 : std::clamp(audioTrack, 0, count - 1);
    emit filmOpened(path_);
    emit audioTrackChanged(audioTrack_);
}

bool OpenFilm::setAudioTrack(int track)
{
    if (track < 0 || track >= audioTrackCount() || track == audioTrack_)
        return false;
    audioTrack_ = track;
    emit audioTrackChanged(track);
    return true;
}

} // namespace korv
