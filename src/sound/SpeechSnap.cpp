#include "sound/SpeechSnap.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korv::sound {

RoundTime roundToStep(double step)
{
    if (step <= 0)
        return [](double t) { return t; };
    return [step](double t) { return std::round(t / step) * step; };
}

SpeechEdges SpeechEdges::of(const std::vector<SpeechSpan> &spans)
{
    SpeechEdges e;
    e.onsets.reserve(spans.size());
    e.offsets.reserve(spans.size());
    for (const SpeechSpan &s : spans) {
        e.onsets.push_back(s.start);
        e.offsets.push_back(s.end);
    }
    std::sort(e.onsets.begin(), e.onsets.end());
    std::sort(e.offsets.begin(), e.offsets.end());
    return e;
}

namespace {

// Float noise in times that are exact on the 10 ms grid or on a frame.
constexpr double slack = 1e-9;

// The smallest stored time not below `t` (`direction` +1), or the largest
// not above it (-1): rounding to the nearest may land on the wrong side, and
// a limit must stay a limit after rounding. Any rounding will do, so the
// step is found by doubling and then halving the distance.
double roundWithin(const RoundTime &round, double t, int direction)
{
    if (!std::isfinite(t))
        return t; // no neighbour on that side
    auto inside = [&](double r) { return direction > 0 ? r >= t - slack : r <= t + slack; };
    const double r = round(t);
    if (inside(r))
        return r;
    double lo = 0, hi = 1e-4;
    while (!inside(round(t + direction * hi)) && hi < 100) {
        lo = hi;
        hi *= 2;
    }
    for (int i = 0; i < 30 && hi - lo > 1e-7; ++i) {
        const double mid = (lo + hi) / 2;
        (inside(round(t + direction * mid)) ? hi : lo) = mid;
    }
    return round(t + direction * hi);
}

double roundUp(const RoundTime &round, double t) { return roundWithin(round, t, 1); }
double roundDown(const RoundTime &round, double t) { return roundWithin(round, t, -1); }

} // namespace

std::optional<double> nearestEdge(const std::vector<double> &edges, double press, SnapReach reach,
                                  const RoundTime &round, double lowest, double highest)
{
    auto it = std::lower_bound(edges.begin(), edges.end(), press - reach.before - slack);
    std::optional<double> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (; it != edges.end() && *it <= press + reach.after + slack; ++it) {
        const double stored = round(*it);
        if (stored < lowest - slack || stored > highest + slack)
            continue;
        // Ties go to the earlier edge: captures come late, not early.
        const double distance = std::abs(*it - press);
        if (distance < bestDistance - slack) {
            bestDistance = distance;
            best = stored;
        }
    }
    return best;
}

double snapStart(const SpeechEdges &edges, double press, const RoundTime &round)
{
    return nearestEdge(edges.onsets, press, startReach, round).value_or(press);
}

double snapEnd(const SpeechEdges &edges, double press, const RoundTime &round)
{
    return nearestEdge(edges.offsets, press, endReach, round).value_or(press);
}

SnapReport snapRows(const SpeechEdges &edges, const std::vector<RowTimes> &rows, const SnapRules &rules,
                    const RoundTime &round, double endBefore, double startAfter)
{
    const RoundTime exact = roundToStep(0);
    SnapReport report;
    report.rows.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const RowTimes row = rows[i];
        RowTimes out = row;
        const double previousEnd = i > 0 ? report.rows[i - 1].end : endBefore;
        const double nextStart = i + 1 < rows.size() ? rows[i + 1].start : startAfter;

        // The start: after the previous row with the gap, and not so late
        // that the row (with its end as captured) gets shorter than the
        // minimum, unless it already was: then it may only move earlier.
        // Bounds are compared with stored times, so they need no rounding.
        const double lowestStart = previousEnd + rules.minGap;
        const double highestStart = row.end - row.start >= rules.minDuration ? row.end - rules.minDuration : row.start;
        if (const auto onset = nearestEdge(edges.onsets, row.start, startReach, round, lowestStart, highestStart)) {
            out.start = *onset;
        } else if (nearestEdge(edges.onsets, row.start, startReach, exact)) {
            ++report.startsHeld;
        } else {
            ++report.startsOutOfReach;
        }

        // The end: before the next row with the gap; an offset sooner than
        // the minimum duration gives the minimum, as far as the gap allows.
        const double highestEnd = nextStart - rules.minGap;
        if (const auto offset = nearestEdge(edges.offsets, row.end, endReach, round, out.start + slack, highestEnd)) {
            out.end = *offset;
            if (out.end < out.start + rules.minDuration - slack) {
                out.end = roundUp(round, out.start + rules.minDuration);
                if (out.end > highestEnd + slack)
                    out.end = std::max(*offset, roundDown(round, highestEnd));
            }
        } else if (nearestEdge(edges.offsets, row.end, endReach, exact)) {
            ++report.endsHeld;
        } else {
            ++report.endsOutOfReach;
        }
        report.startsMoved += out.start != row.start;
        report.endsMoved += out.end != row.end;
        report.rows.push_back(out);
    }
    return report;
}

} // namespace korv::sound
