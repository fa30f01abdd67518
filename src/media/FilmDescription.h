#pragma once
// What a film file holds, as its container tells it: the container, the
// first picture stream with its exact frame rate, and every sound stream.
// Read with FFmpeg's libavformat (in the module ffmpeg/FfmpegModule.h loads)
// from the container's headers and the time stamps of the first packets;
// nothing is decoded, so a film of any length answers in a fraction of a
// second.
//
// Audio tracks are numbered from 0 among the file's audio streams, in the
// order the container lists them (stream 3 of a file whose streams are
// video, audio, subtitles, audio is audio track 1). The player's track list
// and the sound analysis count the same way.

#include "document/Result.h"

#include <QString>

#include <optional>
#include <vector>

namespace korv::media {

// A rate as the exact fraction the file gives (24000/1001, not 23.976).
struct Rational {
    qint64 num = 0;
    qint64 den = 0;
    bool valid() const { return num > 0 && den > 0; }
    double value() const { return valid() ? double(num) / double(den) : 0.0; }
    bool operator==(const Rational &) const = default;
};

struct VideoStream {
    QString codec; // "H264", "VP9", ...
    int width = 0;
    int height = 0;
    // The constant rate, or for a variable one the average over the frames
    // looked at.
    Rational rate;
    bool variable = false;
    // Frames of the film: counted when the container lists every frame (MP4,
    // MOV) or the first packets reached the end, otherwise the duration times
    // the rate.
    qint64 frames = 0;
    bool framesCounted = false;
};

struct AudioTrack {
    int number = 0; // 0-based among the file's audio streams
    QString codec;  // "AAC", "OPUS", ...
    int channels = 0;
    int sampleRate = 0;
    QString language; // ISO 639-2 code the file names ("tur"), empty when it names none
    QString title;
};

struct FilmDescription {
    QString container; // as the media library names it ("Matroska / WebM")
    double duration = 0; // seconds; 0 when unknown
    std::optional<VideoStream> video;
    std::vector<AudioTrack> audio;
    // The picture ends this many seconds in, well before the duration the
    // header gives: the file was cut short. 0 when not seen.
    double endsEarlyAt = 0;
};

// The description of the film at `path`. Fails with message 100 (the media
// library's reason) for what it cannot read, 101 for a file with neither
// picture nor sound, 025 for what is not a regular file, 274 (naming what is
// missing) when FFmpeg's module cannot be loaded; all with the path.
Result<FilmDescription> describeFilm(const QString &path);

// How many video packets are looked at to tell a constant rate from a
// variable one where the container lists no frames (about 20 seconds).
inline constexpr int kPacketsLookedAt = 500;

// The rate of frames whose time stamps (in units of `timeBase`, in any
// order) are `stamps`: whether the steps between them differ by more than
// the time base's rounding, and the exact rate: the standard rate or
// `hinted` the stamps agree with, else the fraction they measure. Fewer
// than two stamps give no rate.
struct MeasuredRate {
    Rational rate;
    bool variable = false;
};
MeasuredRate measureRate(std::vector<qint64> stamps, Rational timeBase, Rational hinted = {});

} // namespace korv::media
