#pragma once
// The open film's sound, for the waveform strip and the status bar: the
// chosen audio track analysed on a worker whenever a film opens or its track
// changes (the speech features riding on the same decode, so that speech is
// found and cached in one pass), stopped when another film comes or the
// window goes; then the speech spans found on a worker of their own and
// handed to the workspace. A sound that cannot be analysed is told once, as
// a notice through the seam and as the strip's state; nothing else is
// touched by it.

#include "sound/PeakPyramid.h"
#include "sound/SoundAnalysis.h"
#include "sound/SoundCache.h"
#include "sound/SoundFailure.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

namespace korv {

namespace sound {
class SpeechFeatureSink;
}
class Workspace;

class FilmSound : public QObject {
    Q_OBJECT
public:
    enum class State { NoFilm, Analysing, Ready, Failed };

    // Follows `ws.film` from now on; `cache` is where analyses are kept.
    explicit FilmSound(Workspace &ws, sound::SoundCache cache = sound::SoundCache(), QObject *parent = nullptr);
    // Stops both workers before returning.
    ~FilmSound() override;

    State state() const { return state_; }
    int percent() const { return percent_; }
    const sound::SoundProblem &problem() const { return problem_; }
    // The peaks being filled (or complete); null with no film.
    std::shared_ptr<const sound::PeakPyramid> peaks() const;
    // True once the speech of this film is in ws.filmSpeech.
    bool speechKnown() const { return speechKnown_; }

    // The state in the language in use, as a screen reader tells it: "%37",
    // "HAZIR", or why there is no waveform.
    QString stateText() const;
    // The status bar's words while analysing ("SES DALGASI %37"); empty otherwise.
    QString statusText() const;
    // The reason for a problem in the language in use, with the system's words.
    QString problemText(const sound::SoundProblem &problem) const;

    // No film any more: the analysis and the search for speech stop.
    void closeFilm();
    // Whether a worker of either kind is still running (for tests).
    bool busy() const;

signals:
    // State or percent changed; peaks may have grown.
    void changed();
    // Another film's (or track's) peaks: the strip forgets what it drew.
    void peaksReplaced();

private:
    void start();
    void analysisFinished();
    void analysisFailed(const sound::SoundProblem &problem);
    void findSpeech();
    void joinSpeechWorker();

    Workspace &ws_;
    sound::SoundAnalysis analysis_;
    std::shared_ptr<sound::SpeechFeatureSink> features_;
    State state_ = State::NoFilm;
    int percent_ = 0;
    sound::SoundProblem problem_;
    bool speechKnown_ = false;
    // The film and track whose problem the user was told of.
    QString toldKey_;
    // The speech search: its thread, and the run it belongs to (a newer
    // film drops the result of an older one).
    std::thread speechWorker_;
    std::atomic_bool speechRunning_{false};
    quint64 run_ = 0;
};

} // namespace korv
