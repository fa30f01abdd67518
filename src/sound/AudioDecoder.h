#pragma once
// Decodes one audio stream of a film to mono and hands it to sinks, placed on
// the film's time line (the container's, as the player counts its position)
// by the stream's own timestamps. Runs on the caller's
// thread (the analysis runs it on its worker).

#include "sound/MonoBlock.h"
#include "sound/SoundFailure.h"

#include <QString>

#include <atomic>
#include <functional>
#include <span>

namespace korv::sound {

struct DecodeControl {
    // Checked between packets and inside the demuxer's reads: set it and the
    // decode returns within a packet's work.
    const std::atomic_bool *cancel = nullptr;
    // Called with 0..99 as the decode advances (each value at most once).
    std::function<void(int percent)> progress;
};

struct DecodeOutcome {
    SoundProblem problem;
    bool cancelled = false;
    // The end of the last sample delivered, in microseconds on the film's time line.
    qint64 endUs = 0;
    int sampleRate = 0;
    // Where the container says the stream ends (0 when it does not say).
    qint64 declaredUs = 0;
};

// `audioTrack` counts the file's audio streams from 0, in container order.
// Every sink receives the same blocks, then finish() (also after a truncation,
// not after a cancel or a failure to open). The decoding is the FFmpeg
// module's (ffmpeg/FfmpegModule.h); without it the outcome is
// NoMediaLibrary, its detail naming what is missing.
DecodeOutcome decodeAudio(const QString &path, int audioTrack, std::span<MonoSink *const> sinks,
                          const DecodeControl &control = {});

// The module's entry, which decodeAudio() calls.
using DecodeAudioEntry = DecodeOutcome (*)(const QString &path, int audioTrack, std::span<MonoSink *const> sinks,
                                           const DecodeControl &control);
inline constexpr char kDecodeAudioEntry[] = "korv_decode_audio_1";

} // namespace korv::sound
