// Built into the FFmpeg module, not the programs (see ffmpeg/FfmpegModule.h).
#include "sound/AudioDecoder.h"

#include <QFileInfo>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace korv::sound {

namespace {

constexpr AVRational kMicroseconds{1, 1000000};

QString avError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

struct FormatCloser {
    void operator()(AVFormatContext *f) const { avformat_close_input(&f); }
};
struct CodecCloser {
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct PacketFree {
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct FrameFree {
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};

int interrupted(void *flag)
{
    const auto *cancel = static_cast<const std::atomic_bool *>(flag);
    return cancel && cancel->load(std::memory_order_relaxed) ? 1 : 0;
}

template<typename T>
float toFloat(T v)
{
    if constexpr (std::is_same_v<T, float>)
        return v;
    else if constexpr (std::is_same_v<T, double>)
        return float(v);
    else if constexpr (std::is_same_v<T, uint8_t>)
        return (int(v) - 128) / 128.0f;
    else if constexpr (std::is_same_v<T, int16_t>)
        return v / 32768.0f;
    else if constexpr (std::is_same_v<T, int32_t>)
        return float(v / 2147483648.0);
    else
        return float(double(v) / 9223372036854775808.0);
}

// The mean of all channels: a mono mix that neither clips nor favours a side.
template<typename T>
void mixPlanar(const AVFrame &frame, int channels, float *out)
{
    const int n = frame.nb_samples;
    std::fill(out, out + n, 0.0f);
    for (int c = 0; c < channels; ++c) {
        const T *in = reinterpret_cast<const T *>(frame.extended_data[c]);
        for (int i = 0; i < n; ++i)
            out[i] += toFloat(in[i]);
    }
    if (channels > 1) {
        const float scale = 1.0f / channels;
        for (int i = 0; i < n; ++i)
            out[i] *= scale;
    }
}

template<typename T>
void mixPacked(const AVFrame &frame, int channels, float *out)
{
    const int n = frame.nb_samples;
    const T *in = reinterpret_cast<const T *>(frame.extended_data[0]);
    const float scale = 1.0f / channels;
    for (int i = 0; i < n; ++i) {
        float sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += toFloat(in[i * channels + c]);
        out[i] = sum * scale;
    }
}

bool mixToMono(const AVFrame &frame, float *out)
{
    const int channels = std::max(1, frame.ch_layout.nb_channels);
    switch (AVSampleFormat(frame.format)) {
    case AV_SAMPLE_FMT_FLTP: mixPlanar<float>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_FLT: mixPacked<float>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_S16P: mixPlanar<int16_t>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_S16: mixPacked<int16_t>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_S32P: mixPlanar<int32_t>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_S32: mixPacked<int32_t>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_DBLP: mixPlanar<double>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_DBL: mixPacked<double>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_U8P: mixPlanar<uint8_t>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_U8: mixPacked<uint8_t>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_S64P: mixPlanar<int64_t>(frame, channels, out); return true;
    case AV_SAMPLE_FMT_S64: mixPacked<int64_t>(frame, channels, out); return true;
    default: return false;
    }
}

// Where the file says the chosen stream ends, in microseconds (0: unknown).
// A stream's own length is preferred: the whole film may run longer than its
// sound without anything being wrong.
qint64 declaredEnd(const AVFormatContext &format, const AVStream &stream, bool *ownLength)
{
    *ownLength = true;
    if (stream.duration > 0 && stream.duration != AV_NOPTS_VALUE) {
        const qint64 start = stream.start_time != AV_NOPTS_VALUE ? av_rescale_q(stream.start_time, stream.time_base, kMicroseconds) : 0;
        return start + av_rescale_q(stream.duration, stream.time_base, kMicroseconds);
    }
    // Matroska keeps each track's length as a "DURATION" tag, HH:MM:SS.nnnnnnnnn.
    if (const AVDictionaryEntry *tag = av_dict_get(stream.metadata, "DURATION", nullptr, 0)) {
        const QStringList parts = QString::fromUtf8(tag->value).split(QLatin1Char(':'));
        if (parts.size() == 3) {
            bool okH = false, okM = false, okS = false;
            const double seconds = parts[0].toDouble(&okH) * 3600 + parts[1].toDouble(&okM) * 60 + parts[2].toDouble(&okS);
            if (okH && okM && okS && seconds > 0)
                return qint64(std::llround(seconds * 1e6));
        }
    }
    *ownLength = false;
    const qint64 start = format.start_time != AV_NOPTS_VALUE ? format.start_time : 0;
    return format.duration > 0 ? start + format.duration : 0;
}

// Timestamps that disagree with the samples counted so far by less than this
// are rounding (Matroska keeps milliseconds); more is a real gap or overlap.
constexpr qint64 kJitterUs = 2000;

DecodeOutcome decodeWithLibav(const QString &path, int audioTrack, std::span<MonoSink *const> sinks,
                              const DecodeControl &control)
{
    DecodeOutcome outcome;
    auto fail = [&](SoundFailure failure, const QString &detail) {
        outcome.problem = {failure, detail};
        return outcome;
    };
    auto cancelled = [&] { return control.cancel && control.cancel->load(std::memory_order_relaxed); };

    // A pipe or a device would block the demuxer or never end: only files are read.
    const QFileInfo info(path);
    if (!info.exists())
        return fail(SoundFailure::UnreadableFile, QString::fromUtf8(strerror(ENOENT)));
    if (!info.isFile())
        return fail(SoundFailure::UnreadableFile, QStringLiteral("not a regular file"));

    // The decoder's own complaints about a damaged stream are not for the
    // terminal: what matters comes back as the outcome.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    AVFormatContext *raw = avformat_alloc_context();
    raw->interrupt_callback = {interrupted, const_cast<std::atomic_bool *>(control.cancel)};
    if (int r = avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr); r < 0) {
        // avformat_open_input frees the context on failure.
        if (cancelled()) {
            outcome.cancelled = true;
            return outcome;
        }
        return fail(SoundFailure::UnreadableFile, avError(r));
    }
    std::unique_ptr<AVFormatContext, FormatCloser> format(raw);
    if (int r = avformat_find_stream_info(format.get(), nullptr); r < 0) {
        if (cancelled()) {
            outcome.cancelled = true;
            return outcome;
        }
        return fail(SoundFailure::UnreadableFile, avError(r));
    }

    AVStream *stream = nullptr;
    int audioStreams = 0;
    bool picture = false;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        AVStream *s = format->streams[i];
        picture = picture || s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
        if (s->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && audioStreams++ == audioTrack)
            stream = s;
        else
            s->discard = AVDISCARD_ALL;
    }
    // The demuxers also read subtitle files and pictures: with neither sound
    // nor picture it is no film, whatever its name.
    if (audioStreams == 0 && !picture)
        return fail(SoundFailure::UnreadableFile, QString::fromUtf8(format->iformat->name));
    if (!stream)
        return fail(SoundFailure::NoAudioTrack, QStringLiteral("%1 audio stream(s)").arg(audioStreams));

    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        const AVCodecID id = stream->codecpar->codec_id;
        QString name = QString::fromUtf8(avcodec_get_name(id));
        if (id == AV_CODEC_ID_NONE && stream->codecpar->codec_tag)
            name = QStringLiteral("0x%1").arg(stream->codecpar->codec_tag, 4, 16, QLatin1Char('0'));
        return fail(SoundFailure::UndecodableCodec, name);
    }
    std::unique_ptr<AVCodecContext, CodecCloser> decoder(avcodec_alloc_context3(codec));
    if (int r = avcodec_parameters_to_context(decoder.get(), stream->codecpar); r < 0)
        return fail(SoundFailure::UndecodableCodec, QString::fromUtf8(codec->name) + QStringLiteral(": ") + avError(r));
    decoder->pkt_timebase = stream->time_base;
    if (int r = avcodec_open2(decoder.get(), codec, nullptr); r < 0)
        return fail(SoundFailure::UndecodableCodec, QString::fromUtf8(codec->name) + QStringLiteral(": ") + avError(r));

    bool ownLength = false;
    outcome.declaredUs = declaredEnd(*format, *stream, &ownLength);
    const qint64 byteSize = format->pb ? avio_size(format->pb) : -1;

    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    std::vector<float> mono;
    qint64 nextUs = -1; // where the sample after the last one delivered falls
    int lastPercent = -1;
    int decodeErrors = 0;
    qint64 framesDecoded = 0;
    QString damage;

    auto report = [&](qint64 atUs) {
        if (!control.progress)
            return;
        int percent;
        if (outcome.declaredUs > 0)
            percent = int(std::clamp<qint64>(atUs * 100 / outcome.declaredUs, 0, 99));
        else if (byteSize > 0)
            percent = int(std::clamp<qint64>(avio_tell(format->pb) * 100 / byteSize, 0, 99));
        else
            return;
        if (percent != lastPercent) {
            lastPercent = percent;
            control.progress(percent);
        }
    };

    auto deliver = [&](const AVFrame &f) {
        if (f.nb_samples <= 0 || f.sample_rate <= 0)
            return;
        mono.resize(size_t(f.nb_samples));
        if (!mixToMono(f, mono.data()))
            return;
        ++framesDecoded;
        outcome.sampleRate = f.sample_rate;
        qint64 startUs = nextUs < 0 ? 0 : nextUs;
        if (f.best_effort_timestamp != AV_NOPTS_VALUE) {
            // The container's own time line, which is what the player's position
            // reports: 0 at the start of an MKV or MP4, but an MPEG program
            // stream's first timestamp (about half a second) at its start.
            const qint64 stamped = av_rescale_q(f.best_effort_timestamp, stream->time_base, kMicroseconds);
            if (nextUs < 0 || std::abs(stamped - nextUs) > kJitterUs)
                startUs = stamped;
        }
        const MonoBlock block{mono.data(), f.nb_samples, f.sample_rate, startUs};
        for (MonoSink *sink : sinks)
            sink->consume(block);
        nextUs = startUs + av_rescale(f.nb_samples, 1000000, f.sample_rate);
        outcome.endUs = std::max(outcome.endUs, nextUs);
        report(nextUs);
    };

    auto drain = [&] {
        for (;;) {
            const int r = avcodec_receive_frame(decoder.get(), frame.get());
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                return;
            if (r < 0) {
                ++decodeErrors;
                return;
            }
            deliver(*frame);
            av_frame_unref(frame.get());
        }
    };

    for (;;) {
        if (cancelled()) {
            outcome.cancelled = true;
            return outcome;
        }
        const int r = av_read_frame(format.get(), packet.get());
        if (r < 0) {
            if (cancelled()) {
                outcome.cancelled = true;
                return outcome;
            }
            if (r != AVERROR_EOF)
                damage = avError(r);
            break;
        }
        if (packet->stream_index == stream->index) {
            if (avcodec_send_packet(decoder.get(), packet.get()) < 0)
                ++decodeErrors;
            drain();
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(decoder.get(), nullptr);
    drain();

    if (framesDecoded == 0 && decodeErrors > 0)
        return fail(SoundFailure::UndecodableCodec, QString::fromUtf8(codec->name));

    for (MonoSink *sink : sinks)
        sink->finish(outcome.endUs);

    // The sound stopping well before the length the file declares means the
    // rest of the file is missing. A film's own length may exceed its sound's a
    // little, so that comparison is looser than a stream's own.
    if (damage.isEmpty() && outcome.declaredUs > 0) {
        const qint64 slack = ownLength ? std::max<qint64>(500000, outcome.declaredUs / 200) : std::max<qint64>(5000000, outcome.declaredUs / 20);
        if (outcome.endUs + slack < outcome.declaredUs)
            damage = QStringLiteral("the sound ends at %1 s of %2 s").arg(outcome.endUs / 1000000.0, 0, 'f', 1).arg(outcome.declaredUs / 1000000.0, 0, 'f', 1);
    }
    if (!damage.isEmpty())
        outcome.problem = {SoundFailure::TruncatedFile, damage};
    return outcome;
}

} // namespace

} // namespace korv::sound

extern "C" Q_DECL_EXPORT korv::sound::DecodeOutcome korv_decode_audio_1(const QString &path, int audioTrack,
                                                                       std::span<korv::sound::MonoSink *const> sinks,
                                                                       const korv::sound::DecodeControl &control)
{
    return korv::sound::decodeWithLibav(path, audioTrack, sinks, control);
}
