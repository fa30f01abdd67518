#include "media/FilmDescription.h"

#include "media/MediaMessages.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numeric>

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

Failure unreadable(const QString &reason, const QString &path)
{
    return Failure{Message::of(msg::FilmCannotBeRead, {reason}, path)};
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

Rational reduced(qint64 num, qint64 den)
{
    if (num <= 0 || den <= 0)
        return {};
    const qint64 g = std::gcd(num, den);
    return {num / g, den / g};
}

Rational fromAv(AVRational r)
{
    return reduced(r.num, r.den);
}

// Rates films are made at, tried before any other the stamps agree with.
const Rational kStandardRates[] = {{24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1},
                                   {60000, 1001}, {60, 1}, {48, 1}, {120, 1}, {15, 1}, {12, 1}};

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

struct Stamps {
    std::vector<qint64> values;
    bool all = false; // every frame of the film is among them
};

// The time stamps of the video frames: from the container's list of every
// frame where it has one, else of the first packets, read but not decoded.
Stamps videoStamps(AVFormatContext *ctx, AVStream *video)
{
    Stamps stamps;
    const int listed = avformat_index_get_entries_count(video);
    if (video->nb_frames > 0 && listed == video->nb_frames) {
        stamps.values.reserve(std::size_t(listed));
        for (int i = 0; i < listed; ++i)
            stamps.values.push_back(avformat_index_get_entry(video, i)->timestamp);
        stamps.all = true;
        return stamps;
    }
    for (unsigned i = 0; i < ctx->nb_streams; ++i)
        ctx->streams[i]->discard = ctx->streams[i] == video ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    std::unique_ptr<AVPacket, FreePacket> packet(av_packet_alloc());
    if (!packet)
        return stamps;
    // Showing times where every packet has one; MPEG streams stamp only some
    // packets with it, and every one with a decoding time.
    std::vector<qint64> shown, decoded;
    int packets = 0;
    // Packets are read at most a few times over what is looked at: a file
    // whose other streams cannot be skipped still answers quickly.
    for (int read = 0; read < 8 * kPacketsLookedAt && packets < kPacketsLookedAt; ++read) {
        const int rc = av_read_frame(ctx, packet.get());
        if (rc < 0) {
            stamps.all = rc == AVERROR_EOF;
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
    stamps.values = int(shown.size()) == packets || shown.size() >= decoded.size() ? std::move(shown) : std::move(decoded);
    return stamps;
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

// The fraction of smallest denominator whose frames would span `span` ticks
// in `intervals` steps, within a tick: 45/2 rather than 66000/2933 for
// stamps rounded to milliseconds.
Rational simplestRate(qint64 intervals, qint64 span, Rational timeBase)
{
    const double rate = double(intervals) * double(timeBase.den) / (double(span) * double(timeBase.num));
    for (qint64 den = 1; den <= 1001; ++den) {
        const qint64 num = std::llround(rate * double(den));
        if (num <= 0)
            continue;
        const double predicted = double(intervals) * double(den) * double(timeBase.den) / (double(num) * double(timeBase.num));
        if (std::abs(predicted - double(span)) <= 1.0)
            return reduced(num, den);
    }
    return reduced(intervals * timeBase.den, span * timeBase.num);
}

double seconds(qint64 ticks, Rational timeBase)
{
    return double(ticks) * double(timeBase.num) / double(timeBase.den);
}

} // namespace

MeasuredRate measureRate(std::vector<qint64> stamps, Rational timeBase, Rational hinted)
{
    MeasuredRate measured;
    std::sort(stamps.begin(), stamps.end());
    stamps.erase(std::unique(stamps.begin(), stamps.end()), stamps.end());
    if (stamps.size() < 2 || !timeBase.valid())
        return measured;
    std::vector<qint64> steps;
    for (std::size_t i = 1; i < stamps.size(); ++i)
        steps.push_back(stamps[i] - stamps[i - 1]);
    std::vector<qint64> sorted = steps;
    std::nth_element(sorted.begin(), sorted.begin() + qsizetype(sorted.size() / 2), sorted.end());
    const qint64 median = sorted[sorted.size() / 2];
    // Each stamp is rounded to the time base: steps of a constant rate differ
    // by a tick (41 and 42 ms at 23.976 in Matroska), or by a hair more where
    // the time base is finer than a muxer's arithmetic.
    const double slack = std::max(1.0, double(median) * 0.002);
    qint64 regularSum = 0, regularCount = 0;
    for (qint64 step : steps) {
        if (std::abs(double(step - median)) <= slack) {
            regularSum += step;
            ++regularCount;
        }
    }
    // An odd step or two is a stamp an MPEG stream's parser placed a frame off,
    // or a frame lost; a variable rate changes its step again and again.
    const qint64 odd = qint64(steps.size()) - regularCount;
    measured.variable = odd > std::max<qint64>(2, qint64(steps.size()) / 50);
    const qint64 span = stamps.back() - stamps.front();
    if (measured.variable) {
        measured.rate = simplestRate(qint64(steps.size()), span, timeBase);
        return measured;
    }
    // How many frame steps the stamps span, missing ones included.
    const qint64 intervals = std::llround(double(span) / (double(regularSum) / double(regularCount)));
    // The rate whose frames would span these stamps, within a tick.
    double bestError = std::numeric_limits<double>::max();
    auto consider = [&](Rational candidate) {
        candidate = reduced(candidate.num, candidate.den);
        if (!candidate.valid())
            return;
        const double predicted = double(intervals) * double(candidate.den) * double(timeBase.den)
                                 / (double(candidate.num) * double(timeBase.num));
        const double error = std::abs(predicted - double(span));
        if (error < bestError) {
            bestError = error;
            measured.rate = candidate;
        }
    };
    for (const Rational &rate : kStandardRates)
        consider(rate);
    for (qint64 n = 1; n <= 240; ++n) {
        consider({n, 1});
        consider({n * 1000, 1001});
    }
    consider(hinted);
    if (bestError > 1.0)
        measured.rate = simplestRate(intervals, span, timeBase);
    return measured;
}

Result<FilmDescription> describeFilm(const QString &path)
{
    // A named pipe would block the read, and with it the window.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        return Failure{Message::of(msg::NotARegularFile, {}, path)};
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext *opened = nullptr;
    if (const int rc = avformat_open_input(&opened, QFile::encodeName(path).constData(), nullptr, nullptr); rc < 0)
        return unreadable(errorText(rc), path);
    std::unique_ptr<AVFormatContext, CloseInput> ctx(opened);
    if (needsProbing(ctx.get())) {
        if (const int rc = avformat_find_stream_info(ctx.get(), nullptr); rc < 0)
            return unreadable(errorText(rc), path);
    }

    FilmDescription d;
    d.container = containerName(ctx.get(), path);
    if (ctx->duration != AV_NOPTS_VALUE && ctx->duration > 0)
        d.duration = double(ctx->duration) / AV_TIME_BASE;

    AVStream *video = nullptr;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        AVStream *st = ctx->streams[i];
        if (isPicture(st) && !video)
            video = st;
        if (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            AudioTrack track;
            track.number = int(d.audio.size());
            track.codec = codecName(st->codecpar->codec_id);
            track.channels = st->codecpar->ch_layout.nb_channels;
            track.sampleRate = st->codecpar->sample_rate;
            track.language = tag(st->metadata, "language");
            if (track.language.compare(QLatin1String("und"), Qt::CaseInsensitive) == 0)
                track.language.clear();
            track.title = tag(st->metadata, "title");
            d.audio.push_back(track);
        }
    }
    if (!video && d.audio.empty())
        return Failure{Message::of(msg::FilmHoldsNothing, {}, path)};
    if (!video)
        return d;

    VideoStream v;
    v.codec = codecName(video->codecpar->codec_id);
    v.width = video->codecpar->width;
    v.height = video->codecpar->height;
    const Rational timeBase = fromAv(video->time_base);
    Rational hinted = fromAv(video->avg_frame_rate);
    if (!hinted.valid())
        hinted = fromAv(video->r_frame_rate);
    const Stamps stamps = videoStamps(ctx.get(), video);
    const MeasuredRate measured = measureRate(stamps.values, timeBase, hinted);
    v.rate = measured.rate.valid() ? measured.rate : hinted;
    v.variable = measured.variable;

    double videoLength = d.duration;
    if (video->duration != AV_NOPTS_VALUE && video->duration > 0 && timeBase.valid())
        videoLength = seconds(video->duration, timeBase);
    if (stamps.all && !stamps.values.empty()) {
        v.frames = qint64(stamps.values.size());
        v.framesCounted = true;
        // Read to the end: where the pictures stop tells a file cut short.
        const auto [first, last] = std::minmax_element(stamps.values.begin(), stamps.values.end());
        const double shown = seconds(*last - *first, timeBase) + (v.rate.valid() ? 1.0 / v.rate.value() : 0.0);
        if (videoLength > 0 && shown < videoLength - 1.0)
            d.endsEarlyAt = shown;
        // MPEG streams' length is the library's guess from stamps near the
        // end; every picture counted tells it better.
        d.duration = std::max(d.duration, shown);
    } else if (v.rate.valid() && videoLength > 0) {
        v.frames = std::llround(videoLength * v.rate.value());
    }
    d.video = v;
    return d;
}

} // namespace korv::media
