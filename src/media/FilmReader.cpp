// Built into the FFmpeg module, not the programs (see ffmpeg/FfmpegModule.h).
#include "media/FilmReader.h"

#include <QFile>

#include <memory>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

namespace korv::media {

namespace {

struct CloseInput {
    void operator()(AVFormatContext *ctx) const { avformat_close_input(&ctx); }
};
struct FreePacket {
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};

QString errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

QString codecName(AVCodecID id)
{
    return QString::fromLatin1(avcodec_get_name(id)).toUpper();
}

QString tag(const AVDictionary *metadata, const char *name)
{
    const AVDictionaryEntry *entry = av_dict_get(metadata, name, nullptr, 0);
    return entry ? QString::fromUtf8(entry->value).trimmed() : QString();
}

Rational raw(AVRational r)
{
    return {r.num, r.den};
}

bool needsProbing(const AVFormatContext *ctx)
{
    // MPEG streams have no header: only their packets say what they hold.
    if ((ctx->ctx_flags & AVFMTCTX_NOHEADER) || ctx->nb_streams == 0)
        return true;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVCodecParameters *p = ctx->streams[i]->codecpar;
        if (p->codec_id == AV_CODEC_ID_NONE || (p->codec_type == AVMEDIA_TYPE_VIDEO && p->width <= 0)
            || (p->codec_type == AVMEDIA_TYPE_AUDIO && p->sample_rate <= 0))
            return true;
    }
    return false;
}

bool isPicture(const AVStream *st)
{
    // A cover picture of a music file is a stream of one image, not a film.
    return st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

// The time stamps of the video frames: from the container's list of every
// frame where it has one, else of the first packets, read but not decoded.
void videoStamps(AVFormatContext *ctx, AVStream *video, FilmFacts::Video &v)
{
    const int listed = avformat_index_get_entries_count(video);
    if (video->nb_frames > 0 && listed == video->nb_frames) {
        v.stamps.reserve(std::size_t(listed));
        for (int i = 0; i < listed; ++i)
            v.stamps.push_back(avformat_index_get_entry(video, i)->timestamp);
        v.allStamps = true;
        return;
    }
    for (unsigned i = 0; i < ctx->nb_streams; ++i)
        ctx->streams[i]->discard = ctx->streams[i] == video ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    std::unique_ptr<AVPacket, FreePacket> packet(av_packet_alloc());
    if (!packet)
        return;
    // Showing times where every packet has one; MPEG streams stamp only some
    // packets with it, and every one with a decoding time.
    std::vector<qint64> shown, decoded;
    int packets = 0;
    // Packets are read at most a few times over what is looked at: a file
    // whose other streams cannot be skipped still answers quickly.
    for (int read = 0; read < 8 * kPacketsLookedAt && packets < kPacketsLookedAt; ++read) {
        const int rc = av_read_frame(ctx, packet.get());
        if (rc < 0) {
            v.allStamps = rc == AVERROR_EOF;
            break;
        }
        if (packet->stream_index == video->index) {
            ++packets;
            if (packet->pts != AV_NOPTS_VALUE)
                shown.push_back(packet->pts);
            if (packet->dts != AV_NOPTS_VALUE)
                decoded.push_back(packet->dts);
        }
        av_packet_unref(packet.get());
    }
    v.stamps = int(shown.size()) == packets || shown.size() >= decoded.size() ? std::move(shown) : std::move(decoded);
}

// The container as a user knows it: Matroska and WebM, MP4 and QuickTime
// share a reader in the library but not a name.
QString containerName(const AVFormatContext *ctx, const QString &path)
{
    const QString name = QString::fromLatin1(ctx->iformat->name);
    if (name.startsWith(QLatin1String("matroska"))) {
        QFile file(path);
        const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(64) : QByteArray();
        return head.contains("webm") ? QStringLiteral("WebM") : QStringLiteral("Matroska");
    }
    if (name.startsWith(QLatin1String("mov,"))) {
        const QString brand = tag(ctx->metadata, "major_brand");
        return brand.isEmpty() || brand == QLatin1String("qt") ? QStringLiteral("QuickTime (MOV)")
                                                               : QStringLiteral("MPEG-4 (MP4)");
    }
    return QString::fromUtf8(ctx->iformat->long_name ? ctx->iformat->long_name : ctx->iformat->name);
}

void readFilmFacts(const QString &path, FilmFacts &facts)
{
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext *opened = nullptr;
    if (const int rc = avformat_open_input(&opened, QFile::encodeName(path).constData(), nullptr, nullptr); rc < 0) {
        facts.unreadable = errorText(rc);
        return;
    }
    std::unique_ptr<AVFormatContext, CloseInput> ctx(opened);
    if (needsProbing(ctx.get())) {
        if (const int rc = avformat_find_stream_info(ctx.get(), nullptr); rc < 0) {
            facts.unreadable = errorText(rc);
            return;
        }
    }

    facts.container = containerName(ctx.get(), path);
    if (ctx->duration != AV_NOPTS_VALUE && ctx->duration > 0)
        facts.duration = double(ctx->duration) / AV_TIME_BASE;

    AVStream *video = nullptr;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        AVStream *st = ctx->streams[i];
        if (isPicture(st) && !video)
            video = st;
        if (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            AudioTrack track;
            track.number = int(facts.audio.size());
            track.codec = codecName(st->codecpar->codec_id);
            track.channels = st->codecpar->ch_layout.nb_channels;
            track.sampleRate = st->codecpar->sample_rate;
            track.language = tag(st->metadata, "language");
            if (track.language.compare(QLatin1String("und"), Qt::CaseInsensitive) == 0)
                track.language.clear();
            track.title = tag(st->metadata, "title");
            facts.audio.push_back(track);
        }
    }
    // Without a picture the packets need not be read.
    if (!video)
        return;
    FilmFacts::Video &v = facts.video.emplace();
    v.codec = codecName(video->codecpar->codec_id);
    v.width = video->codecpar->width;
    v.height = video->codecpar->height;
    v.timeBase = raw(video->time_base);
    v.averageRate = raw(video->avg_frame_rate);
    v.baseRate = raw(video->r_frame_rate);
    if (video->duration != AV_NOPTS_VALUE && video->duration > 0)
        v.duration = video->duration;
    videoStamps(ctx.get(), video, v);
}

} // namespace

} // namespace korv::media

extern "C" Q_DECL_EXPORT void korv_read_film_facts_1(const QString &path, korv::media::FilmFacts &facts)
{
    korv::media::readFilmFacts(path, facts);
}
