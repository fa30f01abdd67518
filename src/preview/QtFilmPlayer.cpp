#include "preview/QtFilmPlayer.h"

#include <QPainter>
#include <QResizeEvent>
#include <QSlider>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <cmath>

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

QtFilmPlayer::QtFilmPlayer(QObject *parent) : FilmPlayer(parent) {}

QtFilmPlayer::~QtFilmPlayer()
{
    if (player_)
        player_->stop();
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
    QMediaPlayer &player = mediaPlayer();
    player.stop();
    originKnown_ = false;
    originMs_ = 0;
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

int QtFilmPlayer::playState() const
{
    if (!hasFilm())
        return Stopped;
    if (playWhenLoaded_)
        return Waiting;
    switch (player_->playbackState()) {
    case QMediaPlayer::PlayingState: return Playing;
    case QMediaPlayer::PausedState: return Paused;
    case QMediaPlayer::StoppedState: break;
    }
    return Stopped;
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
    if (player_)
        player_->stop();
}

double QtFilmPlayer::duration() const
{
    return hasFilm() ? double(std::max<qint64>(player_->duration(), 0)) / 1000.0 : 0.0;
}

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
        if (player_.playState() == FilmPlayer::Playing || player_.playState() == FilmPlayer::Waiting)
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
    const int state = player_.playState();
    const bool playing = state == FilmPlayer::Playing || state == FilmPlayer::Waiting;
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
