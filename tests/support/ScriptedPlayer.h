#pragma once
// A film player for tests: the test sets the position and reads what the
// program asked of it.

#include "preview/FilmPlayer.h"

#include <QStringList>

#include <functional>

namespace korv::test {

class ScriptedPlayer : public FilmPlayer {
    Q_OBJECT
public:
    QStringList opened;
    int state = Stopped;
    // -1 until a film is opened.
    double at = -1;
    // Runs whenever the program reads the position.
    std::function<void()> onRead;

    void open(const QString &path) override
    {
        opened << path;
        at = 0;
        state = Playing;
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
        at = seconds;
        emit positionChanged(old, at);
    }
    int playState() const override { return state; }
    void play() override { state = Playing; }
    void pause() override { state = Paused; }
    void stop() override { state = Stopped; }
};

} // namespace korv::test
