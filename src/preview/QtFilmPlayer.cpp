#include "preview/QtFilmPlayer.h"

#include <QMediaMetaData>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace korv {


QtFilmPlayer::QtFilmPlayer(QObject *parent) : FilmPlayer(parent) {}

QtFilmPlayer::~QtFilmPlayer()
{
    if (player_ && !trackSwitched_)
        player_->stop();
}

void QtFilmPlayer::dropSwitchedPlayer()
{
    // A player whose audio track was switched can hang for good in its own
    // stop (a flushing seek against the track selector, GStreamer under
    // Qt 6.4): it is let go without being stopped, and the next film gets a
    // player of its own.
    if (!player_ || !trackSwitched_)
        return;
    player_->disconnect(this);
    player_.reset();
    audio_.reset();
    trackSwitched_ = false;
}

QMediaPlayer &QtFilmPlayer::mediaPlayer()
{
    if (player_)
        return *player_;
    player_ = std::make_unique<QMediaPlayer>();
    audio_ = std::make_unique<QAudioOutput>();
    player_->setAudioOutput(audio_.get());
    if (videoOutput_)
        player_->setVideoOutput(videoOutput_());
    connect(player_.get(), &QMediaPlayer::mediaStatusChanged, this, &QtFilmPlayer::onStatus);
    connect(player_.get(), &QMediaPlayer::positionChanged, this, &QtFilmPlayer::progressed);
    connect(player_.get(), &QMediaPlayer::durationChanged, this, &QtFilmPlayer::progressed);
    connect(player_.get(), &QMediaPlayer::playbackStateChanged, this, &QtFilmPlayer::progressed);
    connect(player_.get(), &QMediaPlayer::tracksChanged, this, &QtFilmPlayer::applyAudioTrack);
    connect(player_.get(), &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString &text) {
        if (error == QMediaPlayer::NoError)
            return;
        playWhenLoaded_ = false;
        emit cannotPlay(text);
    });
    return *player_;
}

void QtFilmPlayer::setVideoOutput(std::function<QObject *()> output)
{
    videoOutput_ = std::move(output);
    if (player_ && videoOutput_)
        player_->setVideoOutput(videoOutput_());
}

void QtFilmPlayer::open(const QString &path)
{
    dropSwitchedPlayer();
    QMediaPlayer &player = mediaPlayer();
    player.stop();
    originKnown_ = false;
    originMs_ = 0;
    audioTrack_ = 0;
    // The player ignores the source it already has: clearing it first makes
    // opening the same film again load it anew.
    player.setSource(QUrl());
    // Opening a film starts it, once it is ready.
    playWhenLoaded_ = true;
    player.setSource(QUrl::fromLocalFile(path));
}

void QtFilmPlayer::onStatus(QMediaPlayer::MediaStatus status)
{
    if (status == QMediaPlayer::LoadedMedia && !originKnown_) {
        // Before anything plays or moves, the player stands at the film's
        // first picture: 0 for AVI, the first time stamp for MPEG streams.
        originMs_ = std::max<qint64>(player_->position(), 0);
        originKnown_ = true;
    }
    if (status == QMediaPlayer::InvalidMedia || status == QMediaPlayer::NoMedia)
        playWhenLoaded_ = false;
    if (playWhenLoaded_ && (status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia)) {
        playWhenLoaded_ = false;
        player_->play();
    }
    emit progressed();
}

bool QtFilmPlayer::hasFilm() const
{
    if (!player_)
        return false;
    const QMediaPlayer::MediaStatus status = player_->mediaStatus();
    return !player_->source().isEmpty() && status != QMediaPlayer::NoMedia && status != QMediaPlayer::InvalidMedia;
}

double QtFilmPlayer::position() const
{
    if (!hasFilm())
        return -1;
    if (!originKnown_)
        return 0;
    return double(std::max<qint64>(player_->position() - originMs_, 0)) / 1000.0;
}

void QtFilmPlayer::setPosition(double seconds)
{
    if (!hasFilm() || !std::isfinite(seconds))
        return;
    const double old = position();
    double ms = std::clamp(std::round(seconds * 1000.0), 0.0, 1e15) + double(originMs_);
    // The player's length leaves out the first time stamp of an MPEG stream,
    // and it refuses to seek past that length.
    if (player_->duration() > 0)
        ms = std::min(ms, double(player_->duration()));
    player_->setPosition(qint64(ms));
    emit positionChanged(old, position());
}

PlayState QtFilmPlayer::playState() const
{
    if (!hasFilm())
        return PlayState::Stopped;
    if (playWhenLoaded_)
        return PlayState::Waiting;
    switch (player_->playbackState()) {
    case QMediaPlayer::PlayingState: return PlayState::Playing;
    case QMediaPlayer::PausedState: return PlayState::Paused;
    case QMediaPlayer::StoppedState: break;
    }
    return PlayState::Stopped;
}

void QtFilmPlayer::play()
{
    if (!hasFilm())
        return;
    if (player_->mediaStatus() == QMediaPlayer::LoadingMedia) {
        playWhenLoaded_ = true;
        return;
    }
    player_->play();
}

void QtFilmPlayer::pause()
{
    playWhenLoaded_ = false;
    if (hasFilm())
        player_->pause();
}

void QtFilmPlayer::stop()
{
    playWhenLoaded_ = false;
    if (player_ && trackSwitched_)
        player_->pause();
    else if (player_)
        player_->stop();
}

void QtFilmPlayer::setAudioTrack(int track)
{
    audioTrack_ = std::max(track, 0);
    applyAudioTrack();
}

void QtFilmPlayer::applyAudioTrack()
{
    if (!player_ || audioTrack_ >= player_->audioTracks().size() || player_->activeAudioTrack() == audioTrack_)
        return;
    // The film starts on its first track by itself: nothing to switch.
    if (audioTrack_ == 0 && player_->activeAudioTrack() < 0)
        return;
    player_->setActiveAudioTrack(audioTrack_);
    trackSwitched_ = true;
}

double QtFilmPlayer::duration() const
{
    return hasFilm() ? double(std::max<qint64>(player_->duration(), 0)) / 1000.0 : 0.0;
}

} // namespace korv
