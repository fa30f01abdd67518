#include "sound/SpeechFit.h"

#include <algorithm>
#include <cmath>

namespace korv::sound {
namespace {

constexpr double binWidth = 0.05; // seconds, the first, coarse search
constexpr double fineStep = 0.01;
constexpr double tolerance = 0.15; // an edge this near a row's time counts for it

struct RateChange {
    double from = 0, to = 0;
    double ratio() const { return from > 0 ? from / to : 1.0; }
};

struct Candidate {
    RateChange rate;
    double offset = 0;
    double score = 0;
};

double nearestDistance(const std::vector<double> &edges, double t)
{
    auto it = std::lower_bound(edges.begin(), edges.end(), t);
    double best = 1e300;
    if (it != edges.end())
        best = *it - t;
    if (it != edges.begin() && t - *(it - 1) < std::abs(best))
        best = *(it - 1) - t;
    return best;
}

// How well the rows lie on the edges: each start near an onset and each end
// near an offset earns up to one point, less the farther it is.
double score(const SpeechEdges &edges, const std::vector<double> &starts, const std::vector<double> &ends,
             double ratio, double offset)
{
    double sum = 0;
    for (double s : starts)
        sum += std::max(0.0, 1 - std::abs(nearestDistance(edges.onsets, s * ratio + offset)) / tolerance);
    for (double e : ends)
        sum += std::max(0.0, 1 - std::abs(nearestDistance(edges.offsets, e * ratio + offset)) / tolerance);
    return sum;
}

// Every pair of a row's time and an edge within reach votes for the offset
// that would join them; the true offset gathers the votes of most rows, any
// other only chance pairs.
void vote(std::vector<int> &bins, const std::vector<double> &times, const std::vector<double> &edges, double ratio,
          double maxOffset)
{
    size_t from = 0;
    for (double t : times) { // times sorted, so the reach slides forward
        const double x = t * ratio;
        while (from < edges.size() && edges[from] < x - maxOffset)
            ++from;
        for (size_t k = from; k < edges.size() && edges[k] <= x + maxOffset; ++k)
            ++bins[size_t((edges[k] - x + maxOffset) / binWidth)];
    }
}

std::vector<Candidate> coarsePeaks(const SpeechEdges &edges, const std::vector<double> &starts,
                                   const std::vector<double> &ends, RateChange rate, double maxOffset)
{
    std::vector<int> bins(size_t(2 * maxOffset / binWidth) + 2, 0);
    vote(bins, starts, edges.onsets, rate.ratio(), maxOffset);
    vote(bins, ends, edges.offsets, rate.ratio(), maxOffset);
    // Captures scatter by a few tenths of a second: count three bins together.
    std::vector<std::pair<int, size_t>> peaks;
    for (size_t k = 1; k + 1 < bins.size(); ++k) {
        const int sum = bins[k - 1] + bins[k] + bins[k + 1];
        if (sum > 0)
            peaks.push_back({sum, k});
    }
    const size_t keep = std::min<size_t>(peaks.size(), 64);
    std::partial_sort(peaks.begin(), peaks.begin() + keep, peaks.end(), std::greater<>());
    std::vector<Candidate> found;
    for (size_t p = 0; p < keep && found.size() < 3; ++p) {
        const double offset = (double(peaks[p].second) + 0.5) * binWidth - maxOffset;
        if (std::none_of(found.begin(), found.end(), [&](const Candidate &c) { return std::abs(c.offset - offset) < 1; }))
            found.push_back({rate, offset, 0});
    }
    return found;
}

} // namespace

FitResult fitRows(const SpeechEdges &edges, const std::vector<RowTimes> &rows, const FitOptions &options)
{
    FitResult result;
    if (rows.size() < 3 || edges.onsets.size() < 3)
        return result;
    std::vector<double> starts, ends;
    for (const RowTimes &r : rows) {
        starts.push_back(r.start);
        ends.push_back(r.end);
    }
    std::sort(starts.begin(), starts.end());
    std::sort(ends.begin(), ends.end());

    // 24 -> 23.976 and 30 -> 29.97 are one change (1000/1001): try each ratio
    // once, named with the film's own rate where it is known.
    std::vector<RateChange> rates{{}};
    for (double a : options.rates)
        for (double b : options.rates) {
            if (a == b)
                continue;
            const RateChange change{a, b};
            auto same = std::find_if(rates.begin(), rates.end(),
                                     [&](const RateChange &r) { return std::abs(r.ratio() - change.ratio()) < 1e-9; });
            if (same == rates.end())
                rates.push_back(change);
            else if (b == options.filmRate && same->to != options.filmRate)
                *same = change;
        }

    // The coarse pass over the rates is the first half of the work, the
    // refining of its candidates the second.
    auto stopped = [&options] { return options.cancel && options.cancel->load(); };
    auto tell = [&options](int percent) {
        if (options.progress)
            options.progress(percent);
    };
    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < rates.size(); ++i) {
        if (stopped()) {
            result.cancelled = true;
            return result;
        }
        for (const Candidate &c : coarsePeaks(edges, starts, ends, rates[i], options.maxOffset))
            candidates.push_back(c);
        tell(int(50 * (i + 1) / rates.size()));
    }

    // Refine each on the 10 ms grid, then keep the best; a change of rate
    // must earn its place clearly, since over a short file it moves little
    // and chance would pick among near-equals.
    Candidate bestSame, bestChanged;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (stopped()) {
            result.cancelled = true;
            return result;
        }
        Candidate &c = candidates[i];
        const double centre = c.offset;
        for (double off = centre - 0.2; off <= centre + 0.2 + 1e-9; off += fineStep) {
            const double s = score(edges, starts, ends, c.rate.ratio(), off);
            if (s > c.score) {
                c.score = s;
                c.offset = off;
            }
        }
        Candidate &best = c.rate.from > 0 ? bestChanged : bestSame;
        if (c.score > best.score)
            best = c;
        tell(50 + int(49 * (i + 1) / candidates.size()));
    }
    tell(100);
    const Candidate &best = bestChanged.score > bestSame.score * 1.05 + 2 ? bestChanged : bestSame;

    // The offset to the millisecond: the median of what the matched edges
    // still differ by.
    std::vector<double> residuals;
    for (double s : starts)
        if (const double d = nearestDistance(edges.onsets, s * best.rate.ratio() + best.offset); std::abs(d) < 0.1)
            residuals.push_back(d);
    for (double e : ends)
        if (const double d = nearestDistance(edges.offsets, e * best.rate.ratio() + best.offset); std::abs(d) < 0.1)
            residuals.push_back(d);
    double offset = best.offset;
    if (!residuals.empty()) {
        std::nth_element(residuals.begin(), residuals.begin() + residuals.size() / 2, residuals.end());
        offset += residuals[residuals.size() / 2];
    }

    result.offset = std::round(offset * 1000) / 1000;
    result.fromRate = best.rate.from;
    result.toRate = best.rate.to;
    for (const RowTimes &r : rows) {
        const bool onStart = std::abs(nearestDistance(edges.onsets, result.apply(r.start))) < tolerance;
        const bool onEnd = std::abs(nearestDistance(edges.offsets, result.apply(r.end))) < tolerance;
        result.rowsOnSpeech += onStart || onEnd;
    }
    // Chance alone lays a fifth of the rows on some edge of a film with much
    // speech; a real fit lays most of them.
    result.found = result.rowsOnSpeech >= std::max<int>(3, int(rows.size()) * 2 / 5);
    return result;
}

} // namespace korv::sound
