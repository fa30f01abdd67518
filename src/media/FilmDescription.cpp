#include "media/FilmDescription.h"

#include "ffmpeg/FfmpegModule.h"
#include "media/FilmReader.h"
#include "media/MediaMessages.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace korv::media {

namespace {

Rational reduced(qint64 num, qint64 den)
{
    if (num <= 0 || den <= 0)
        return {};
    const qint64 g = std::gcd(num, den);
    return {num / g, den / g};
}

// Rates films are made at, tried before any other the stamps agree with.
const Rational kStandardRates[] = {{24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1},
                                   {60000, 1001}, {60, 1}, {48, 1}, {120, 1}, {15, 1}, {12, 1}};

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
    QString missing;
    const auto read = reinterpret_cast<ReadFilmFacts>(ffmpeg::entry(kReadFilmFactsEntry, &missing));
    if (!read)
        return Failure{Message::of(msg::FilmLibraryMissing, {missing}, path)};
    FilmFacts facts;
    read(path, facts);
    if (!facts.unreadable.isEmpty())
        return Failure{Message::of(msg::FilmCannotBeRead, {facts.unreadable}, path)};

    FilmDescription d;
    d.container = facts.container;
    d.duration = facts.duration;
    d.audio = std::move(facts.audio);
    if (!facts.video && d.audio.empty())
        return Failure{Message::of(msg::FilmHoldsNothing, {}, path)};
    if (!facts.video)
        return d;

    const FilmFacts::Video &video = *facts.video;
    VideoStream v;
    v.codec = video.codec;
    v.width = video.width;
    v.height = video.height;
    const Rational timeBase = reduced(video.timeBase.num, video.timeBase.den);
    Rational hinted = reduced(video.averageRate.num, video.averageRate.den);
    if (!hinted.valid())
        hinted = reduced(video.baseRate.num, video.baseRate.den);
    const MeasuredRate measured = measureRate(video.stamps, timeBase, hinted);
    v.rate = measured.rate.valid() ? measured.rate : hinted;
    v.variable = measured.variable;

    double videoLength = d.duration;
    if (video.duration > 0 && timeBase.valid())
        videoLength = seconds(video.duration, timeBase);
    if (video.allStamps && !video.stamps.empty()) {
        v.frames = qint64(video.stamps.size());
        v.framesCounted = true;
        // Read to the end: where the pictures stop tells a file cut short.
        const auto [first, last] = std::minmax_element(video.stamps.begin(), video.stamps.end());
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
