#include "preview/FilmPreview.h"

#include "document/TimeText.h"

#include <limits>

namespace korv {

QString PipesToLineBreaks(const QString &text)
{
    QString out = text;
    return out.replace(QLatin1Char('|'), QLatin1String("\r\n"));
}

FilmPreview::FilmPreview(SubtitleList &list, FilmPlayer &player, const FrameRates &rates, const NumberFormat &nf,
                         QObject *parent)
    : QObject(parent), list_(list), player_(player), rates_(rates), nf_(nf), index_(list, nf)
{
    TimerAltYazi.setInterval(500);
    TmrFilmiizle.setInterval(50);
    FilmClock.setInterval(150);
    connect(&TimerAltYazi, &QTimer::timeout, this, &FilmPreview::TimerAltYazi_Timer);
    connect(&TmrFilmiizle, &QTimer::timeout, this, &FilmPreview::TmrFilmiizle_Timer);
    connect(&FilmClock, &QTimer::timeout, this, &FilmPreview::UpdateFilmClock);
    connect(&player_, &FilmPlayer::positionChanged, this, &FilmPreview::MediaPlayer1_PositionChange);
}

void FilmPreview::startTimers()
{
    TimerAltYazi.start();
    TmrFilmiizle.start();
    FilmClock.start();
}

void FilmPreview::shutdown()
{
    player_.stop();
    FilmClock.stop();
    TimerAltYazi.stop();
    TmrFilmiizle.stop();
}

void FilmPreview::setInformation(FilmInformation info)
{
    info_ = std::move(info);
    emit informationChanged();
}

void FilmPreview::setCaption(const QString &caption)
{
    caption_ = caption;
    emit captionChanged(caption_);
}

void FilmPreview::setOverlay(const QString &text)
{
    if (text == overlay_)
        return;
    overlay_ = text;
    emit overlayTextChanged(overlay_);
}

void FilmPreview::TimerAltYazi_Timer()
{
    // A slow tick must not overlap the next one.
    TimerAltYazi.stop();
    setOverlay(SubtitleAtTime(RoundToHundredths(player_.position())));
    TimerAltYazi.start();
}

QString FilmPreview::SubtitleAtTime(double t)
{
    if (LastOverlayRow == 0)
        LastOverlayRow = 1;
    const int row = index_.firstCovering(std::max(LastOverlayRow, 1) - 1, t);
    if (row < 0) {
        // Next time the search starts from the top: after the film moved
        // back, the row shows one tick later.
        LastOverlayRow = 1;
        return {};
    }
    LastOverlayRow = row + 1;
    return PipesToLineBreaks(list_.cell(row, ColText));
}

void FilmPreview::UpdateFilmClock()
{
    const double p = player_.position();
    FilmClockLabels labels = clock_;
    if (p == -1) {
        labels = FilmClockLabels{};
    } else {
        labels.time = FormatSeconds(p, nf_) + QStringLiteral(" sn");
        const double frame = double(RoundHalfEven(p * rates_.film));
        if (frame >= std::numeric_limits<qint32>::min() && frame <= std::numeric_limits<qint32>::max())
            labels.frame = QString::number(qint32(frame));
        // Ten hours and more have no clock text: the label keeps its last one.
        if (const auto clockTime = FormatClockTime(RoundToHundredths(p)))
            labels.clockTime = *clockTime;
    }
    if (labels == clock_)
        return;
    clock_ = labels;
    emit clockChanged(clock_);
}

void FilmPreview::TmrFilmiizle_Timer()
{
    if (!listFollowsFilm())
        return;
    const double p = player_.position();
    // With no film there is nothing to follow, and the user keeps the row
    // they chose.
    if (p == -1)
        return;
    MediaPlayer1_PositionChange(0, p);
}

void FilmPreview::MediaPlayer1_PositionChange(double /*oldPosition*/, double newPosition)
{
    if (SkipPositionChange)
        return;
    const int row = index_.firstStartingAtOrAfter(newPosition);
    // Choosing a row runs the row-chosen routine, so the edit fields show the
    // row that edits now go to. The row chosen already stays as it is, so
    // that a field being typed in is not refilled every tick.
    if (row >= 0 && row != list_.selected())
        list_.select(row);
}

void FilmPreview::Listview_DblClick()
{
    const int row = list_.selected();
    if (list_.count() < 1 || !list_.isValidRow(row))
        return;
    if (const auto start = TextToSeconds(list_.cell(row, ColStart), nf_))
        player_.setPosition(*start);
}

} // namespace korv
