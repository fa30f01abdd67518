#pragma once
// Why a film's sound gave no (or only part of a) waveform. Values, not texts:
// the command layer words them from the language files.

#include <QString>

namespace korv::sound {

enum class SoundFailure {
    None,
    // The film has no audio stream, or fewer than the track asked for.
    NoAudioTrack,
    // The audio stream's codec has no decoder here, or none of its data decoded.
    UndecodableCodec,
    // The sound stops before the film says it ends, or the file breaks off
    // mid-stream; the peaks up to the damage are kept.
    TruncatedFile,
    // Missing, not permitted, or not a film at all.
    UnreadableFile,
    // FFmpeg's module, which decodes every sound, cannot be loaded; the
    // detail names the file or the library it lacks.
    NoMediaLibrary,
};

struct SoundProblem {
    SoundFailure failure = SoundFailure::None;
    // What the system or the decoder said (a codec's name, "Permission denied"),
    // to show beside the reason; never a sentence of ours.
    QString detail;

    explicit operator bool() const { return failure != SoundFailure::None; }
};

// A stable name for logs and tests ("no-audio-track", ...).
const char *failureName(SoundFailure failure);

} // namespace korv::sound
