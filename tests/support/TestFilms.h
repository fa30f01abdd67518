#pragma once
// Films made with ffmpeg's lavfi sources the first time a test asks for one,
// kept in the build folder for the next test and the next run. Each is a
// few seconds of a 160x90 test picture (and a sine tone per audio track);
// what each holds is written beside its recipe, as the tests' truth.

#include <QByteArray>
#include <QString>

namespace korv::test {

enum class TestFilm {
    Mkv23976,     // Matroska, H.264 at 24000/1001, AAC 2 ch 48 kHz "tur"; 3 s, 72 frames
    Mp425,        // MP4, H.264 at 25, AAC 2 ch 48 kHz; 3 s, 75 frames
    WebM2997,     // WebM, VP9 at 30000/1001, Opus 2 ch 48 kHz; 3 s, 90 frames
    Mov60,        // QuickTime, H.264 at 60, AAC 1 ch 44.1 kHz; 2 s, 120 frames
    Ts25,         // MPEG-TS, H.264 at 25, MP2 2 ch 48 kHz; 3 s, 75 frames
    TwoTracksMkv, // Matroska, H.264 at 25; AAC 2 ch 48 kHz "tur" (440 Hz), Opus 1 ch 48 kHz "eng"; 4 s, 100 frames
    SilentMp4,    // MP4, H.264 at 25, no sound; 2 s, 50 frames
    VfrMp4,       // MP4, H.264: 45 frames at 30 a second, then 22 at 15 (every second frame); 67 frames
    VfrMkv,       // the same in Matroska
    SoundOnlyMp4, // MP4 with AAC sound and no picture
    Dat25,        // MPEG-1 program stream (a DAT film) of a still colour, 64x48 at 25; 3 s, 75 frames. Its
                  // frames are so small that several share a packet: only some carry a showing time
};

// The film's path; empty when ffmpeg is missing or failed (the test skips).
QString testFilm(TestFilm film);

// A WAVE file whose format tag (0x7777) names no codec: a sound no decoder has.
QByteArray waveOfUnknownCodec();

// `film`'s first `fraction` of its bytes, as a film cut short in copying.
QByteArray filmHead(TestFilm film, double fraction);

} // namespace korv::test
