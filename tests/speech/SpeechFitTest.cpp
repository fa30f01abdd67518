// Fitting a whole file on edges laid out as a film's: the offset to the
// millisecond, rates that differ by one part in a thousand told apart over a
// long film, no fit where chance alone would lay a few rows on edges, and a
// search that tells its progress and stops when told.
#include "sound/SpeechFit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <random>

using namespace korv::sound;

namespace {

// Half an hour of lines (and some noise the detector took for speech).
struct Film {
    std::vector<SpeechSpan> spans;
    std::vector<RowTimes> lines;
};

Film film(unsigned seed, double minutes = 30)
{
    std::mt19937 random(seed);
    auto uniform = [&random](double a, double b) { return std::uniform_real_distribution<double>(a, b)(random); };
    Film f;
    for (double t = 5; t < minutes * 60;) {
        const double start = std::round(t * 100) / 100, end = std::round((t + uniform(0.8, 4)) * 100) / 100;
        f.spans.push_back({start, end});
        f.lines.push_back({start, end});
        if (uniform(0, 1) < 0.3)
            f.spans.push_back({end + 0.6, end + 0.8});
        t = end + uniform(0.9, 3);
    }
    return f;
}

std::vector<RowTimes> moved(const std::vector<RowTimes> &rows, double ratio, double offset)
{
    std::vector<RowTimes> out;
    for (const RowTimes &r : rows)
        out.push_back({r.start * ratio + offset, r.end * ratio + offset});
    return out;
}

} // namespace

TEST(FitEdges, FindsTheOffsetToTheMillisecond)
{
    const Film f = film(1);
    const FitResult fit = fitRows(SpeechEdges::of(f.spans), moved(f.lines, 1, 3.2174));
    ASSERT_TRUE(fit.found);
    EXPECT_NEAR(fit.offset, -3.217, 0.0015);
    EXPECT_EQ(fit.ratio(), 1.0);
    EXPECT_EQ(fit.rowsOnSpeech, int(f.lines.size()));

    // Either way, as far as ten minutes.
    EXPECT_NEAR(fitRows(SpeechEdges::of(f.spans), moved(f.lines, 1, -587.333)).offset, 587.333, 0.0015);
}

TEST(FitEdges, TellsApartRatesOnePartInAThousandApart)
{
    // Over half an hour 24 and 23.976 fps part by 1.8 s, as do 30 and 29.97;
    // those two changes are one ratio, named by the film's rate.
    const Film f = film(2);
    const SpeechEdges edges = SpeechEdges::of(f.spans);
    for (const auto &[from, to] : {std::pair{23.976, 25.0}, std::pair{24.0, 25.0}, std::pair{25.0, 23.976},
                                   std::pair{29.97, 30.0}, std::pair{30.0, 29.97}, std::pair{25.0, 29.97}}) {
        // A file at `from` fps on a film at `to`: its times are the film's
        // times stretched by to / from.
        FitOptions options;
        options.filmRate = to;
        const FitResult fit = fitRows(edges, moved(f.lines, to / from, 1.25), options);
        EXPECT_EQ(fit.fromRate, from) << from << " -> " << to;
        EXPECT_EQ(fit.toRate, to) << from << " -> " << to;
        double worst = 0;
        for (size_t i = 0; i < f.lines.size(); ++i)
            worst = std::max(worst, std::abs(fit.apply(f.lines[i].start * to / from + 1.25) - f.lines[i].start));
        EXPECT_LT(worst, 0.02) << from << " -> " << to;
    }
}

TEST(FitEdges, FindsNoFitForRowsOfAnotherFilm)
{
    const Film f = film(3), other = film(4);
    const FitResult fit = fitRows(SpeechEdges::of(f.spans), other.lines);
    EXPECT_FALSE(fit.found) << fit.rowsOnSpeech << " of " << other.lines.size() << " rows on speech";
}

TEST(FitEdges, TellsItsProgressAndStopsWhenCancelled)
{
    const Film f = film(5, 10);
    const SpeechEdges edges = SpeechEdges::of(f.spans);
    const std::vector<RowTimes> rows = moved(f.lines, 1, 2.5);

    // Uncancelled: the percent only rises, ends at 100, and the fit holds.
    std::vector<int> percents;
    FitOptions options;
    options.progress = [&percents](int p) { percents.push_back(p); };
    const FitResult whole = fitRows(edges, rows, options);
    EXPECT_TRUE(whole.found);
    EXPECT_FALSE(whole.cancelled);
    ASSERT_GE(percents.size(), 3u);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_GT(percents.front(), 0);
    EXPECT_EQ(percents.back(), 100);

    // Cancelled before it begins, or midway from another thread's flag: no
    // fit and no further progress.
    for (const int stopAt : {-1, 30, 60}) {
        std::atomic_bool cancel{stopAt < 0};
        percents.clear();
        options.cancel = &cancel;
        options.progress = [&](int p) {
            percents.push_back(p);
            if (p >= stopAt)
                cancel = true;
        };
        const FitResult stopped = fitRows(edges, rows, options);
        EXPECT_TRUE(stopped.cancelled) << stopAt;
        EXPECT_FALSE(stopped.found) << stopAt;
        EXPECT_EQ(stopped.offset, 0) << stopAt;
        if (stopAt < 0)
            EXPECT_TRUE(percents.empty());
        else
            EXPECT_LT(percents.back(), stopAt + 20) << stopAt; // stopped within a step
    }
}
