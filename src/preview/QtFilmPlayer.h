#pragma once
// The program's film player: Qt Multimedia (GStreamer) behind the preview's
// player interface.
//
// What Qt's player does differently, and how it is evened out here:
// - its position is 0, not -1, when nothing is open: "no film" comes from the
//   media status (no media, invalid media);
// - play() right after setSource() may stall: playback starts once the film
//   is loaded;
// - MPEG program streams (DAT films) report positions from their first time
//   stamp (about half a second): positions are counted from the position the
//   player reports when the film is loaded, so a captured time matches the
//   picture;
// - making the player starts the media framework, which on a user's first
//   start scans every plug-in (a quarter of a second): it is made when the
//   first film is opened, not at start-up;
// - its list of audio tracks is known only once the film is loaded: a track
//   chosen before that is set when the list arrives. The list follows the
//   container's order of audio streams, as our track numbers do. Once a
//   track was switched, its stop() may hang: such a player is only paused,
//   and replaced by a new one for the next film.

#include "preview/FilmPlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>

#include <functional>
#include <memory>

namespace korv {

class QtFilmPlayer : public FilmPlayer {
    Q_OBJECT
public:
    explicit QtFilmPlayer(QObject *parent = nullptr);
    ~QtFilmPlayer() override;

    // Where the pictures go, asked for when the player is made.
    void setVideoOutput(std::function<QObject *()> output);

    void open(const QString &path) override;
    double position() const override;
    void setPosition(double seconds) override;
    PlayState playState() const override;
    void play() override;
    void pause() override;
    void stop() override;
    void setAudioTrack(int track) override;

    // The film's length in seconds as the player knows it; 0 while unknown.
    double duration() const;
    bool hasFilm() const;
    // True once a film was opened and the media framework started with it.
    bool started() const { return player_ != nullptr; }
    QMediaPlayer &mediaPlayer();

signals:
    // Position, length or state moved: for the position bar.
    void progressed();

private:
    void onStatus(QMediaPlayer::MediaStatus status);
    void applyAudioTrack();
    void dropSwitchedPlayer();

    std::function<QObject *()> videoOutput_;
    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> audio_;
    bool playWhenLoaded_ = false;
    bool originKnown_ = false;
    qint64 originMs_ = 0;
    int audioTrack_ = 0;
    bool trackSwitched_ = false;
};

} // namespace korv
