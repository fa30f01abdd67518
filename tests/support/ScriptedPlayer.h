#pragma once
// A film player for tests: the test sets the position, the program's calls
// change the state.

#include "preview/FilmPlayer.h"

#include <QStringList>

#include <functional>

namespace korv::test {

class ScriptedPlayer : public FilmPlayer {
    Q_OBJECT
public:
    QStringList opened;
    PlayState state = PlayState::Stopped;
    double at = -1; // no film until one is opened
    std::function<void()> onRead; // runs whenever the position is read
    QString refusal;              // when set, open() reports the film unplayable with it
    int audioTrack = 0;           // the track heard

    void open(const QString &path) override
    {
        opened << path;
        audioTrack = 0;
        if (!refusal.isEmpty()) {
            at = -1;
            emit cannotPlay(refusal);
            return;
        }
        at = 0;
        state = PlayState::Playing;
    }
    double position() const override
    {
        if (onRead)
            onRead();
        return at;
    }
    void setPosition(double seconds) override
    {
        if (at == -1)
            return;
        const double old = at;
        emit positionChanged(old, at = seconds);
    }
    PlayState playState() const override { return state; }
    void play() override { state = PlayState::Playing; }
    void pause() override { state = PlayState::Paused; }
    void stop() override { state = PlayState::Stopped; }
    void setAudioTrack(int track) override { audioTrack = track; }
};

} // namespace korv::test
