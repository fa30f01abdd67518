#include "commands/FilmSound.h"

#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "locale/MessageKeys.h"
#include "media/MediaMessages.h"
#include "sound/SpeechDetector.h"
#include "sound/SpeechFeatures.h"

#include <QMetaObject>

#include <algorithm>

#include <pthread.h>

namespace korv {

FilmSound::FilmSound(Workspace &ws, sound::SoundCache cache, QObject *parent)
    : QObject(parent), ws_(ws), analysis_(std::move(cache))
{
    // OpenFilm says filmOpened, then audioTrackChanged: the track's change
    // starts the work in both cases.
    connect(&ws_.film, &OpenFilm::filmOpened, this, [this] { closeFilm(); });
    connect(&ws_.film, &OpenFilm::audioTrackChanged, this, [this] { start(); });
    connect(&analysis_, &sound::SoundAnalysis::progressChanged, this, [this](int percent) {
        if (state_ != State::Analysing || percent == percent_)
            return;
        percent_ = percent;
        emit changed();
    });
    connect(&analysis_, &sound::SoundAnalysis::finished, this, &FilmSound::analysisFinished);
    connect(&analysis_, &sound::SoundAnalysis::failed, this, &FilmSound::analysisFailed);
}

FilmSound::~FilmSound()
{
    ++run_;
    analysis_.cancel();
    joinSpeechWorker();
}

std::shared_ptr<const sound::PeakPyramid> FilmSound::peaks() const
{
    return state_ == State::NoFilm ? nullptr : analysis_.peaks();
}

bool FilmSound::busy() const
{
    return analysis_.state() == sound::SoundAnalysis::State::Analysing || speechRunning_.load();
}

void FilmSound::closeFilm()
{
    ++run_;
    analysis_.cancel();
    // The speech worker is not waited for: its result is dropped, and the
    // next search (or the end) joins it.
    const bool had = state_ != State::NoFilm;
    state_ = State::NoFilm;
    percent_ = 0;
    problem_ = {};
    speechKnown_ = false;
    features_.reset();
    if (ws_.filmSpeech.known() || !ws_.filmSpeech.spans().empty())
        ws_.filmSpeech.clear();
    if (had) {
        emit peaksReplaced();
        emit changed();
    }
}

void FilmSound::start()
{
    closeFilm();
    if (ws_.film.path().isEmpty())
        return;
    // A film the media library could not describe may still have sound:
    // the decoder is asked for its first track and says if there is none.
    const int track = std::max(ws_.film.audioTrack(), 0);
    features_ = std::make_shared<sound::SpeechFeatureSink>();
    state_ = State::Analysing;
    percent_ = 0;
    analysis_.start(ws_.film.path(), track, {features_});
    emit peaksReplaced();
    emit changed();
}

void FilmSound::analysisFinished()
{
    if (state_ != State::Analysing)
        return;
    state_ = State::Ready;
    percent_ = 100;
    emit changed();
    findSpeech();
}

void FilmSound::analysisFailed(const sound::SoundProblem &problem)
{
    if (state_ != State::Analysing)
        return;
    state_ = State::Failed;
    problem_ = problem;
    emit changed();
    // Once a film and track, however often it is opened in this run. A file
    // that is no film (or cannot be read), and FFmpeg's module missing, the
    // film command tells of already.
    const QString key = analysis_.filmPath() + QLatin1Char('#') + QString::number(analysis_.audioTrack());
    if (toldKey_ != key && problem.failure != sound::SoundFailure::UnreadableFile
        && problem.failure != sound::SoundFailure::NoMediaLibrary) {
        toldKey_ = key;
        ws_.ui.showNotice(ws_.language.LangText(Message::of(msg::SoundNotice, {problemText(problem)})),
                          ProgramInfo::kNoticeTitle);
    }
    // The speech up to the break of a truncated film is still speech.
    if (problem.failure == sound::SoundFailure::TruncatedFile && state_ == State::Failed)
        findSpeech();
}

void FilmSound::findSpeech()
{
    if (!features_)
        return;
    joinSpeechWorker();
    const quint64 run = run_;
    auto features = features_;
    speechRunning_ = true;
    speechWorker_ = std::thread([this, run, features] {
        // Named, so that a look at the process shows what runs.
        pthread_setname_np(pthread_self(), "korv-speech");
        auto spans = sound::detectSpeech(features->features());
        // Queued to the window's thread; dropped there when the owner is gone
        // (it joins this thread first) or another film came meanwhile.
        QMetaObject::invokeMethod(
            this,
            [this, run, spans = std::move(spans)]() mutable {
                if (run != run_)
                    return;
                speechKnown_ = true;
                ws_.filmSpeech.setSpans(std::move(spans));
            },
            Qt::QueuedConnection);
        speechRunning_ = false;
    });
}

void FilmSound::joinSpeechWorker()
{
    if (speechWorker_.joinable())
        speechWorker_.join();
}

QString FilmSound::problemText(const sound::SoundProblem &problem) const
{
    QString reason;
    switch (problem.failure) {
    case sound::SoundFailure::None: return QString();
    case sound::SoundFailure::NoAudioTrack: reason = ws_.language.LangText(msg::SoundNoAudioTrack); break;
    case sound::SoundFailure::UndecodableCodec: reason = ws_.language.LangText(msg::SoundUndecodable); break;
    case sound::SoundFailure::TruncatedFile: reason = ws_.language.LangText(msg::SoundTruncated); break;
    case sound::SoundFailure::UnreadableFile: reason = ws_.language.LangText(msg::SoundUnreadable); break;
    case sound::SoundFailure::NoMediaLibrary:
        return ws_.language.LangText(Message::of(msg::FilmLibraryMissing, {problem.detail}));
    }
    // The decoder's words name a codec or say what the system said; of a
    // missing track they only count the streams, which the reason says.
    if (!problem.detail.isEmpty() && problem.failure != sound::SoundFailure::NoAudioTrack)
        reason += QStringLiteral(" (") + problem.detail + QLatin1Char(')');
    return reason;
}

QString FilmSound::stateText() const
{
    switch (state_) {
    case State::NoFilm: return ws_.language.LangText(msg::WaveformNoFilm);
    case State::Analysing:
        return ws_.language.LangText(Message::of(msg::WaveformPercent, {QString::number(percent_)}));
    case State::Ready: return ws_.language.LangText(msg::WaveformReady);
    case State::Failed: return problemText(problem_);
    }
    return QString();
}

QString FilmSound::statusText() const
{
    if (state_ != State::Analysing)
        return QString();
    return ws_.language.LangText(Message::of(msg::StatusAnalysing, {stateText()}));
}

} // namespace korv
