#pragma once
// MicroDVD files: one line per subtitle, "{start frame}{end frame}text",
// the text's lines separated by "|". Frames need the film's frame rate.

#include "document/Result.h"
#include "document/SubViewerFormat.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace korv::microdvd {

// Up to the first "}" is the start frame, up to the next "}" the end frame,
// the rest is the text unchanged. Only the digits of the frame parts count,
// and a minus right before a part's first digit (a file shifted before the
// film's start by another program: "{-164}{-68}").
ReadOutcome read(QStringView text, double framesPerSecond, const NumberFormat &nf);

// Frames and times at one frame rate, worked in whole numbers: the rate is
// taken as the exact fraction of its decimal text (23.976 is 23976/1000), so
// binary fractions play no part.
class FrameTimes {
public:
    explicit FrameTimes(double framesPerSecond);

    // The time a frame is read as: frame / rate, to the nearest hundredth.
    std::optional<qint64> hundredthsOf(qint64 frame) const;

    // The frame a time of `hundredths` is written as: (time + half a
    // hundredth) x rate, truncated. A time read from frame N (at a rate
    // below 100) comes back as frame N, and a typed time is truncated (10 s
    // at 23.976 is frame 239, not 240). Nothing for a negative time.
    std::optional<qint64> frameOf(qint64 hundredths) const;

    // The time the frame nearest to `seconds` is read as, in seconds: where a
    // time moved onto something (a speech edge) is stored in a MicroDVD file.
    // A negative time, or one past the last frame, stays as it is.
    double nearestFrameTime(double seconds) const;

private:
    double rate_;
    bool exact_ = false;
    qint64 numerator_ = 0; // rate = numerator_ / denominator_
    qint64 denominator_ = 1;
};

// The largest frame number a file may hold (a 32-bit counter).
constexpr qint64 kMaxFrame = 2147483647;

Result<QString> write(const SubtitleList &list, double framesPerSecond, const NumberFormat &nf,
                      std::vector<qsizetype> *rowOffsets = nullptr);

} // namespace korv::microdvd
