#pragma once
// The small bar under the film's picture: a play/pause button and a position
// slider for the program's player.

#include "preview/QtFilmPlayer.h"

#include <QIcon>
#include <QWidget>

class QSlider;
class QToolButton;

namespace korv {

// A play/pause button and a position slider for the player. Dragging the
// slider moves the film as setPosition does (and raises its notification).
class FilmControlBar : public QWidget {
    Q_OBJECT
public:
    explicit FilmControlBar(QtFilmPlayer &player, QWidget *parent = nullptr);

    QToolButton *playPause() const { return button_; }
    QSlider *slider() const { return slider_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refresh();

    QtFilmPlayer &player_;
    QIcon playIcon_;
    QIcon pauseIcon_;
    QToolButton *button_ = nullptr;
    QSlider *slider_ = nullptr;
};

} // namespace korv
