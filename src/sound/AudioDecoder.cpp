#include "sound/AudioDecoder.h"

#include "ffmpeg/FfmpegModule.h"

namespace korv::sound {

const char *failureName(SoundFailure failure)
{
    switch (failure) {
    case SoundFailure::None: return "none";
    case SoundFailure::NoAudioTrack: return "no-audio-track";
    case SoundFailure::UndecodableCodec: return "undecodable-codec";
    case SoundFailure::TruncatedFile: return "truncated-file";
    case SoundFailure::UnreadableFile: return "unreadable-file";
    case SoundFailure::NoMediaLibrary: return "no-media-library";
    }
    return "?";
}

DecodeOutcome decodeAudio(const QString &path, int audioTrack, std::span<MonoSink *const> sinks, const DecodeControl &control)
{
    QString missing;
    const auto decode = reinterpret_cast<DecodeAudioEntry>(ffmpeg::entry(kDecodeAudioEntry, &missing));
    if (!decode) {
        DecodeOutcome outcome;
        outcome.problem = {SoundFailure::NoMediaLibrary, missing};
        return outcome;
    }
    return decode(path, audioTrack, sinks, control);
}

} // namespace korv::sound
