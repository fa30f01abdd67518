#include "app/FilmControlBar.h"

#include <QPainter>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

#include <algorithm>

namespace korv {

namespace {

// Light symbols for the dark bar: a triangle to play, two bars to pause.
QIcon barIcon(bool pause)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 235, 235));
    if (pause) {
        p.drawRect(QRectF(3, 2, 3.5, 12));
        p.drawRect(QRectF(9.5, 2, 3.5, 12));
    } else {
        p.drawPolygon(QPolygonF({QPointF(4, 2), QPointF(14, 8), QPointF(4, 14)}));
    }
    return QIcon(pixmap);
}

} // namespace

FilmControlBar::FilmControlBar(QtFilmPlayer &player, QWidget *parent)
    : QWidget(parent), player_(player), playIcon_(barIcon(false)), pauseIcon_(barIcon(true))
{
    setObjectName(QStringLiteral("FilmControlBar"));
    setAutoFillBackground(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    setPalette(dark);

    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("FilmPlayPause"));
    button_->setAutoRaise(true);
    connect(button_, &QToolButton::clicked, this, [this] {
        if (player_.playState() == PlayState::Playing || player_.playState() == PlayState::Waiting)
            player_.pause();
        else
            player_.play();
    });

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("FilmPosition"));
    slider_->setFocusPolicy(Qt::NoFocus);
    auto seek = [this] { player_.setPosition(slider_->value() / 1000.0); };
    connect(slider_, &QSlider::sliderReleased, this, seek);
    connect(slider_, &QSlider::actionTriggered, this, [this, seek](int action) {
        if (action != QAbstractSlider::SliderMove && !slider_->isSliderDown())
            QMetaObject::invokeMethod(this, seek, Qt::QueuedConnection);
    });

    connect(&player_, &QtFilmPlayer::progressed, this, &FilmControlBar::refresh);
    refresh();
}

void FilmControlBar::resizeEvent(QResizeEvent *event)
{
    const int h = event->size().height();
    const int side = std::min(h - 4, 28);
    button_->setGeometry(4, (h - side) / 2, side, side);
    slider_->setGeometry(side + 10, (h - 20) / 2, std::max(event->size().width() - side - 16, 10), 20);
    QWidget::resizeEvent(event);
}

void FilmControlBar::refresh()
{
    const bool film = player_.hasFilm();
    const PlayState state = player_.playState();
    const bool playing = state == PlayState::Playing || state == PlayState::Waiting;
    button_->setEnabled(film);
    button_->setIcon(playing ? pauseIcon_ : playIcon_);
    slider_->setEnabled(film);
    if (slider_->isSliderDown())
        return;
    const QSignalBlocker quiet(slider_);
    slider_->setRange(0, int(std::min(player_.duration() * 1000.0, 2e9)));
    slider_->setValue(int(std::min(std::max(player_.position(), 0.0) * 1000.0, 2e9)));
}

} // namespace korv
