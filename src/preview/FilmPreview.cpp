#include "preview/FilmPreview.h"

#include "commands/Workspace.h"
#include "commands/FileCommands.h"
#include "document/FrameRate.h"
#include "document/TimeText.h"
#include "locale/Messages.h"
#include "document/ProgramInfo.h"

#include <QFileInfo>

#include <limits>

namespace korv {

namespace {

const QString kNoValue = QStringLiteral("-");

// Shows the wait window for the life of a header read.
class WaitWindow {
public:
    WaitWindow(const std::function<void()> &show, const std::function<void()> &close) : close_(close)
    {
        if (show)
            show();
    }
    ~WaitWindow()
    {
        if (close_)
            close_();
    }
    WaitWindow(const WaitWindow &) = delete;
    WaitWindow &operator=(const WaitWindow &) = delete;

private:
    const std::function<void()> &close_;
};

} // namespace

QString PipesToLineBreaks(const QString &text)
{
    QString out = text;
    return out.replace(QLatin1Char('|'), QLatin1String("\r\n"));
}

FilmPreview::FilmPreview(Workspace &ws, FilmPlayer &player, QObject *parent)
    : QObject(parent), ws_(ws), player_(player), index_(ws.list)
{
    TimerAltYazi.setInterval(500);
    TmrFilmiizle.setInterval(50);
    FilmClock.setInterval(150);
    connect(&TimerAltYazi, &QTimer::timeout, this, &FilmPreview::TimerAltYazi_Timer);
    connect(&TmrFilmiizle, &QTimer::timeout, this, &FilmPreview::TmrFilmiizle_Timer);
    connect(&FilmClock, &QTimer::timeout, this, &FilmPreview::UpdateFilmClock);
    connect(&player_, &FilmPlayer::positionChanged, this, &FilmPreview::MediaPlayer1_PositionChange);
    connect(&player_, &FilmPlayer::cannotPlay, this, &FilmPreview::reportCannotPlay);
}

void FilmPreview::reportCannotPlay(const QString &reason)
{
    // One report a film: the player may give up with several errors, and
    // unreadable headers have been reported already.
    if (caption_ == failureTold_)
        return;
    failureTold_ = caption_;
    const QString why = reason.isEmpty() ? LangText(QStringLiteral("042")) : reason;
    ws_.ui.showNotice(LangText(Message::of(QStringLiteral("024"), {why}, caption_)), ProgramInfo::kNoticeTitle);
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

void FilmPreview::mnufilmac_Click()
{
    BusyPointer busy(ws_.ui);
    const auto path = chooseFileToOpen(ws_, QStringLiteral("Avi Film *.avi,*.dat|*.avi;*.dat"));
    if (!path)
        return;
    // A named pipe would hang the player and the window with it; a folder or
    // a device is no film. Told as an unreadable film, and nothing opened.
    if (const QFileInfo info(*path); info.exists() && !info.isFile()) {
        ws_.ui.showNotice(LangMessage(QStringLiteral("002")) + QStringLiteral("\r\n") + *path, ProgramInfo::kNoticeTitle);
        return;
    }
    caption_ = *path;
    failureTold_.clear();
    // The headers first: when they cannot be read, that is the one report
    // the user gets, whenever the player gives up on the film.
    ReadAviInfo(*path);
    player_.open(*path);
    emit captionChanged(caption_);
    TimerAltYazi.start();
}

void FilmPreview::ReadAviInfo(const QString &fileName)
{
    info_.rows.clear();
    if (!isAviFileName(fileName)) {
        info_ = FilmInformation{};
        frameRates().film = 0;
        emit informationChanged();
        return;
    }

    AviHeaders headers;
    {
        BusyPointer busy(ws_.ui);
        WaitWindow wait(showWaitWindow, closeWaitWindow);
        headers = readAviHeaders(fileName);
        if (!headers.ok() && headers.failure != AviHeaders::StreamRange) {
            ws_.ui.showNotice(LangMessage(QStringLiteral("002")) + QStringLiteral("\r\n") + fileName,
                              ProgramInfo::kNoticeTitle);
            failureTold_ = fileName;
        }
    }
    if (!headers.ok()) {
        // The labels and the frame rate still describe the film read last.
        emit informationChanged();
        return;
    }
    FilmInformation next;
    frameRates().film = SummarizeAvi(headers.file, headers.stream, next);
    ShowAviDetails(headers.file, headers.stream, next.rows);
    info_ = std::move(next);
    emit informationChanged();
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
    return PipesToLineBreaks(ws_.list.cell(row, ColText));
}

void FilmPreview::UpdateFilmClock()
{
    const double p = player_.position();
    FilmClockLabels labels = clock_;
    if (p == -1) {
        labels = FilmClockLabels{};
    } else {
        labels.time = FormatSeconds(p) + QStringLiteral(" sn");
        const double frame = double(RoundHalfEven(p * frameRates().film));
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
    if (!ws_.optionFlag(0))
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
    if (row >= 0 && row != ws_.list.selected())
        ws_.list.select(row);
}

void FilmPreview::Listview_DblClick()
{
    const int row = ws_.list.selected();
    if (ws_.list.count() < 1 || !ws_.list.isValidRow(row))
        return;
    if (const auto start = TextToSeconds(ws_.list.cell(row, ColStart)))
        player_.setPosition(*start);
}

} // namespace korv
