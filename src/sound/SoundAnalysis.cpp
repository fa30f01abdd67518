#include "sound/SoundAnalysis.h"

#include "sound/AudioDecoder.h"

#include <QMetaObject>

namespace korv::sound {

struct SoundAnalysis::Job {
    QString path;
    int track = 0;
    std::vector<std::shared_ptr<MonoSink>> extras;
    std::shared_ptr<PeakPyramid> pyramid;
    SoundCache cache;
    std::atomic_bool cancel{false};
};

SoundAnalysis::SoundAnalysis(SoundCache cache, QObject *parent)
    : QObject(parent)
    , cache_(std::move(cache))
{
}

SoundAnalysis::~SoundAnalysis()
{
    cancel();
}

void SoundAnalysis::cancel()
{
    ++generation_;
    if (job_)
        job_->cancel.store(true);
    if (worker_.joinable())
        worker_.join();
    job_.reset();
    if (state_ == State::Analysing)
        state_ = State::Idle;
}

void SoundAnalysis::start(const QString &filmPath, int audioTrack, std::vector<std::shared_ptr<MonoSink>> extraSinks)
{
    cancel();
    path_ = filmPath;
    track_ = audioTrack;
    state_ = State::Analysing;
    percent_ = 0;
    problem_ = {};
    fromCache_ = false;
    pyramid_ = std::make_shared<PeakPyramid>();
    auto job = std::make_shared<Job>();
    job->path = filmPath;
    job->track = audioTrack;
    job->extras = std::move(extraSinks);
    job->pyramid = pyramid_;
    job->cache = cache_;
    job_ = job;
    const quint64 generation = generation_.load();
    worker_ = std::thread([this, job, generation] { run(job, generation); });
}

void SoundAnalysis::post(quint64 generation, std::function<void()> what)
{
    // Queued to this object's thread; dropped there if a newer run began
    // meanwhile, and by Qt if the object is gone.
    QMetaObject::invokeMethod(
        this,
        [this, generation, what = std::move(what)] {
            if (generation == generation_.load())
                what();
        },
        Qt::QueuedConnection);
}

void SoundAnalysis::run(const std::shared_ptr<Job> &job, quint64 generation)
{
    const std::optional<FilmKey> key = filmKey(job->path, job->track);
    CacheEntry entry;
    bool entryFound = false;
    bool peaksKept = false;
    if (key && job->cache.load(*key, &entry) == SoundCache::Lookup::Hit) {
        entryFound = true;
        const CacheSection *peaks = entry.find(kPeakSection, kPeakSectionVersion);
        peaksKept = peaks && job->pyramid->restore(peaks->data);
    }

    PeakBuilder builder(job->pyramid);
    std::vector<MonoSink *> sinks;
    if (!peaksKept)
        sinks.push_back(&builder);
    for (const auto &extra : job->extras) {
        auto *cached = dynamic_cast<CachedSink *>(extra.get());
        const CacheSection *kept = cached && entryFound ? entry.find(cached->sectionTag(), cached->sectionVersion()) : nullptr;
        if (!kept || !cached->restore(kept->data))
            sinks.push_back(extra.get());
    }

    if (sinks.empty()) {
        post(generation, [this] {
            state_ = State::Ready;
            fromCache_ = true;
            percent_ = 100;
            emit progressChanged(100);
            emit finished();
        });
        return;
    }

    DecodeControl control;
    control.cancel = &job->cancel;
    control.progress = [this, generation](int percent) {
        post(generation, [this, percent] {
            percent_ = percent;
            emit progressChanged(percent);
        });
    };
    const DecodeOutcome outcome = decodeAudio(job->path, job->track, sinks, control);
    if (outcome.cancelled)
        return;

    if (!outcome.problem && key) {
        entry.key = *key;
        entry.put({kPeakSection, kPeakSectionVersion, job->pyramid->serialize()});
        for (const auto &extra : job->extras)
            if (auto *cached = dynamic_cast<CachedSink *>(extra.get()))
                entry.put({cached->sectionTag(), cached->sectionVersion(), cached->save()});
        job->cache.store(entry);
    }
    // A stream that never opened leaves the pyramid empty but final, so a
    // reader waiting for it to complete stops waiting.
    job->pyramid->markComplete();

    const SoundProblem problem = outcome.problem;
    post(generation, [this, problem] {
        if (problem) {
            state_ = State::Failed;
            problem_ = problem;
            emit failed(problem);
        } else {
            state_ = State::Ready;
            percent_ = 100;
            emit progressChanged(100);
            emit finished();
        }
    });
}

} // namespace korv::sound
