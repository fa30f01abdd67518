#pragma once
// What FFmpeg's libavformat reads of a film, before any judgement of it: the
// part of describeFilm() that runs in the FFmpeg module (see
// ffmpeg/FfmpegModule.h). The rates, the frames and a file cut short are
// worked out of these facts on the program's side.

#include "media/FilmDescription.h"

#include <QString>

#include <optional>
#include <vector>

namespace korv::media {

struct FilmFacts {
    // The media library's reason it could not read the file; empty when read.
    QString unreadable;
    QString container;
    double duration = 0; // seconds; 0 when unknown
    std::vector<AudioTrack> audio;

    struct Video {
        QString codec;
        int width = 0;
        int height = 0;
        Rational timeBase;      // as the file gives them, not reduced
        Rational averageRate;
        Rational baseRate;
        qint64 duration = 0;    // in time-base ticks; 0 when not given
        std::vector<qint64> stamps;
        bool allStamps = false; // every frame of the film is among them
    };
    std::optional<Video> video; // the first picture stream
};

// The module's entry: fills `facts` for the film at `path`.
using ReadFilmFacts = void (*)(const QString &path, FilmFacts &facts);
inline constexpr char kReadFilmFactsEntry[] = "korv_read_film_facts_1";

} // namespace korv::media
