#pragma once
// The analysis of one film's sound, for the window's thread: start it, watch
// its percent, read its peaks while they fill, cancel it. The decoding and
// the peaks are made on a worker thread; signals arrive on the thread that
// owns this object. A film analysed before is taken from the cache at once.

#include "sound/CachedSink.h"
#include "sound/PeakPyramid.h"
#include "sound/SoundCache.h"
#include "sound/SoundFailure.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace korv::sound {

inline constexpr quint32 kPeakSection = sectionTag("PEAK");
inline constexpr quint32 kPeakSectionVersion = 1;

class SoundAnalysis : public QObject {
    Q_OBJECT
public:
    enum class State { Idle, Analysing, Ready, Failed };

    explicit SoundAnalysis(SoundCache cache = SoundCache(), QObject *parent = nullptr);
    // Stops the worker first: nothing runs on after the owner is gone.
    ~SoundAnalysis() override;

    // Analyses audio stream `audioTrack` (0 = the first audio stream) of the
    // film, cancelling any analysis under way. `extraSinks` receive the same
    // decoded sound on the worker thread (a CachedSink is given its kept
    // result instead, when the cache has one); they are held until the
    // analysis ends, and are safe to read once finished() or failed() arrive.
    void start(const QString &filmPath, int audioTrack, std::vector<std::shared_ptr<MonoSink>> extraSinks = {});
    // Stops the analysis and returns once its worker has ended (within a
    // packet's decoding). The peaks so far stay readable; nothing is cached
    // and no further signal of it arrives.
    void cancel();

    State state() const { return state_; }
    int percent() const { return percent_; }
    // After failed(): why. A truncated file's peaks up to the damage remain.
    const SoundProblem &problem() const { return problem_; }
    // True when the last analysis came whole from the cache.
    bool fromCache() const { return fromCache_; }
    const QString &filmPath() const { return path_; }
    int audioTrack() const { return track_; }
    // The pyramid being filled, from any thread; the same object from start()
    // until the next start(). Null before the first start().
    std::shared_ptr<const PeakPyramid> peaks() const { return pyramid_; }

signals:
    void progressChanged(int percent);
    // The whole sound is in the peaks (and the cache).
    void finished();
    // No (or only part of a) waveform; the reason is problem().
    void failed(const korv::sound::SoundProblem &problem);

private:
    struct Job;
    void run(const std::shared_ptr<Job> &job, quint64 generation);
    void post(quint64 generation, std::function<void()> what);

    SoundCache cache_;
    std::thread worker_;
    std::shared_ptr<Job> job_;
    // Raised by every start and cancel: signals of an older run are dropped.
    std::atomic<quint64> generation_{0};
    std::shared_ptr<PeakPyramid> pyramid_;
    State state_ = State::Idle;
    int percent_ = 0;
    SoundProblem problem_;
    bool fromCache_ = false;
    QString path_;
    int track_ = 0;
};

} // namespace korv::sound
