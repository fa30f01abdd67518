#include "app/WaveformStrip.h"

#include "app/StripGlyphs.h"

#include "commands/FilmSound.h"
#include "commands/StripCommands.h"
#include "commands/Workspace.h"
#include "locale/MessageKeys.h"
#include "preview/FilmPlayer.h"
#include "sound/PeakColumns.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVarLengthArray>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace korv {

namespace {

const QColor kBackground(16, 20, 24);
const QColor kRulerBackground(34, 40, 48);
const QColor kRulerText(200, 206, 214);
const QColor kPeak(74, 163, 223);
const QColor kShade(150, 210, 255);
// Fills are opaque (a tint of the background) and lie under the waveform:
// an opaque fill is a plain memory fill, where a translucent one costs the
// raster engine a blend, per rectangle, spread over threads.
const QColor kBoxFill(59, 52, 20);
const QColor kBoxEdge(196, 156, 18);
const QColor kSelectedFill(36, 85, 53);
const QColor kSelectedEdge(90, 240, 128);
const QColor kSpeech(208, 106, 176);
const QColor kMark(240, 240, 240);
const QColor kPosition(255, 64, 64);
const QColor kStateText(230, 230, 230);

// The ruler's step: the first that leaves room for a label between ticks.
double rulerStep(double pixelsPerSecond)
{
    static constexpr double steps[] = {0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600};
    for (double step : steps)
        if (step * pixelsPerSecond >= 70)
            return step;
    return 7200;
}

QString rulerLabel(double seconds, double step)
{
    const qint64 tenths = std::llround(seconds * 10);
    const qint64 whole = tenths / 10;
    const QString clock = whole >= 3600
        ? QStringLiteral("%1:%2:%3").arg(whole / 3600).arg(whole / 60 % 60, 2, 10, QLatin1Char('0')).arg(whole % 60, 2, 10, QLatin1Char('0'))
        : QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
    return step < 1 ? clock + QLatin1Char('.') + QString::number(tenths % 10) : clock;
}

} // namespace

WaveformStrip::WaveformStrip(Workspace &ws, FilmSound &sound, FilmPlayer &player, QWidget *parent)
    : QWidget(parent), ws_(ws), sound_(sound), player_(player)
{
    setObjectName(QStringLiteral("Waveform"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    const SubtitleList &list = ws_.list;
    connect(&list, &SubtitleList::resetDone, this, &WaveformStrip::rereadAllRows);
    connect(&list, &SubtitleList::inserted, this, &WaveformStrip::rereadAllRows);
    connect(&list, &SubtitleList::removed, this, &WaveformStrip::rereadAllRows);
    connect(&list, &SubtitleList::cellsChanged, this, &WaveformStrip::rereadRows);
    connect(&list, &SubtitleList::selectionChanged, this, &WaveformStrip::invalidate);
    connect(&ws_.filmSpeech, &FilmSpeech::changed, this, &WaveformStrip::invalidate);
    connect(&ws_.filmSpeech, &FilmSpeech::marksChanged, this, &WaveformStrip::invalidate);
    connect(&sound_, &FilmSound::changed, this, [this] {
        invalidate();
        applyTexts();
    });
    connect(&sound_, &FilmSound::peaksReplaced, this, [this] {
        reported_ = -1;
        setView(0, std::min(kFirstSpan, filmLength()));
    });
    rereadAllRows();

    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &WaveformStrip::tick);
    frameTimer_.start(100);
    reportedAt_.start();

    glyphsMaking_ = std::async(std::launch::async, [this] {
        auto made = std::make_shared<const StripGlyphs>(
            StripGlyphs::make({kRulerText, kStateText, kBoxEdge, kSelectedEdge}));
        // Painted again with the labels; dropped when the strip is gone.
        QMetaObject::invokeMethod(this, [this] { invalidate(); }, Qt::QueuedConnection);
        return made;
    });
}

WaveformStrip::~WaveformStrip()
{
    // The worker names this strip: it ends before the strip does.
    if (glyphsMaking_.valid())
        glyphsMaking_.wait();
}

const StripGlyphs *WaveformStrip::glyphs()
{
    if (!glyphs_ && glyphsMaking_.valid()
        && glyphsMaking_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        glyphs_ = glyphsMaking_.get();
    return glyphs_.get();
}

void WaveformStrip::applyTexts()
{
    setAccessibleName(ws_.language.LangText(msg::NameWaveform));
    setAccessibleDescription(sound_.stateText());
}

double WaveformStrip::filmLength() const
{
    double length = 0;
    if (const auto &film = ws_.film.description())
        length = film->duration;
    if (length <= 0)
        if (const auto peaks = sound_.peaks(); peaks && peaks->isComplete())
            length = double(peaks->filledUpToUs()) / 1e6;
    // Subtitles past the film's end can still be seen and dragged back.
    for (const Span &row : rows_)
        if (row.valid())
            length = std::max(length, row.end);
    return std::max(length, kShortestSpan);
}

void WaveformStrip::setView(double start, double span)
{
    const double length = filmLength();
    span = std::clamp(span, kShortestSpan, std::max(kShortestSpan, length));
    start = std::clamp(start, 0.0, std::max(0.0, length - span));
    if (start == from_ && span == span_)
        return;
    from_ = start;
    span_ = span;
    invalidate();
}

void WaveformStrip::zoom(double factor, int x)
{
    const double at = timeAt(x);
    const double span = std::clamp(span_ * factor, kShortestSpan, std::max(kShortestSpan, filmLength()));
    const double share = width() > 0 ? double(x) / width() : 0.5;
    setView(at - span * share, span);
}

double WaveformStrip::xOf(double seconds) const
{
    return (seconds - from_) * width() / span_;
}

double WaveformStrip::timeAt(double x) const
{
    return from_ + x * span_ / std::max(1, width());
}

QRect WaveformStrip::waveRect() const
{
    return QRect(0, kRulerHeight, width(), std::max(0, height() - kRulerHeight - kSpeechBandHeight));
}

double WaveformStrip::shownPosition() const
{
    if (reported_ < 0)
        return -1;
    if (player_.playState() != PlayState::Playing)
        return reported_;
    // Between two reports the film plays on; never further than a report's
    // usual distance, so a stalled player does not run the line away.
    return reported_ + std::min(0.25, reportedAt_.elapsed() / 1000.0);
}

void WaveformStrip::rereadRows(int first, int last)
{
    if (int(rows_.size()) != ws_.list.count()) {
        rereadAllRows();
        return;
    }
    for (int row = std::max(0, first); row <= last && row < int(rows_.size()); ++row) {
        const auto box = rowBox(ws_, row);
        rows_[std::size_t(row)] = box ? Span{box->start, box->end} : Span{};
    }
    invalidate();
}

void WaveformStrip::rereadAllRows()
{
    rows_.assign(std::size_t(ws_.list.count()), Span{});
    rereadRows(0, ws_.list.count() - 1);
    invalidate();
}

void WaveformStrip::invalidate()
{
    staticValid_ = false;
    update();
}

void WaveformStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    invalidate();
}

void WaveformStrip::render(QPainter &painter)
{
    paintStatic(painter);
    paintPosition(painter);
}

void WaveformStrip::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (!staticValid_ || static_.size() != size() * ratio) {
        static_ = QPixmap(size() * ratio);
        static_.setDevicePixelRatio(ratio);
        QPainter p(&static_);
        paintStatic(p);
        staticValid_ = true;
    }
    QPainter p(this);
    p.drawPixmap(0, 0, static_);
    paintPosition(p);
}

void WaveformStrip::paintStatic(QPainter &p)
{
    p.fillRect(rect(), kBackground);
    const QRect wave = waveRect();
    paintBoxes(p, wave, true);
    paintWave(p, wave);
    paintBoxes(p, wave, false);
    paintSpeech(p, QRect(0, wave.bottom() + 1, width(), kSpeechBandHeight));
    paintRuler(p);

    // The percent while the sound is analysed, the reason when it cannot be.
    const QString state = sound_.state() == FilmSound::State::Analysing || sound_.state() == FilmSound::State::Failed
        ? sound_.stateText()
        : QString();
    if (!state.isEmpty()) {
        const QRect box = wave.adjusted(6, 2, -6, -2);
        if (!StripGlyphs::covers(state)) {
            // A reason in words: said once, when the sound fails; a long one
            // (a missing library, with its folders) wraps inside the strip.
            QFont font = p.font();
            font.setPixelSize(10);
            p.setFont(font);
            p.setPen(kStateText);
            p.drawText(box, Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap, state);
        } else if (const StripGlyphs *g = glyphs()) {
            g->draw(p, StripGlyphs::State, QPoint(box.right() + 1 - g->width(StripGlyphs::State, state), box.top()), state);
        }
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void WaveformStrip::paintRuler(QPainter &p)
{
    p.fillRect(0, 0, width(), kRulerHeight, kRulerBackground);
    if (width() <= 0)
        return;
    const double step = rulerStep(width() / span_);
    p.setPen(kRulerText);
    const StripGlyphs *g = glyphs();
    const double first = std::ceil(from_ / step) * step;
    QVarLengthArray<QLine, 64> ticks;
    for (double t = first; t <= from_ + span_ + 1e-9; t += step) {
        const int x = int(std::lround(xOf(t)));
        ticks.append(QLine(x, kRulerHeight - 5, x, kRulerHeight - 1));
        if (g) // the baseline 4 pixels above the ruler's foot
            g->draw(p, StripGlyphs::Ruler, QPoint(x + 3, kRulerHeight - 4 - g->ascent(StripGlyphs::Ruler)), rulerLabel(t, step));
        // The half-step ticks between labels.
        const int half = int(std::lround(xOf(t + step / 2)));
        ticks.append(QLine(half, kRulerHeight - 3, half, kRulerHeight - 1));
    }
    p.drawLines(ticks.data(), int(ticks.size()));
}

void WaveformStrip::paintWave(QPainter &p, const QRect &area)
{
    const auto peaks = sound_.peaks();
    if (!peaks || area.width() <= 0 || area.height() <= 2)
        return;
    columns_.resize(std::size_t(area.width()));
    sound::peakColumns(*peaks, qint64(from_ * 1e6), qint64((from_ + span_) * 1e6), columns_);
    const double middle = area.top() + area.height() / 2.0;
    const double half = area.height() / 2.0 - 1;
    // One rectangle a column, all filled in one call: a call per column costs
    // more than its pixels.
    std::vector<QRect> outer, inner;
    outer.reserve(columns_.size());
    inner.reserve(columns_.size());
    for (int x = 0; x < int(columns_.size()); ++x) {
        const sound::PeakColumn &c = columns_[std::size_t(x)];
        if (!c.known)
            continue;
        const int top = int(std::lround(middle - c.max * half)), bottom = int(std::lround(middle - c.min * half));
        outer.emplace_back(x, top, 1, std::max(1, bottom - top + 1));
        const int shade = int(std::lround(c.shade * half));
        if (shade > 0)
            inner.emplace_back(x, int(std::lround(middle)) - shade, 1, 2 * shade + 1);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kPeak);
    p.drawRects(outer.data(), int(outer.size()));
    p.setBrush(kShade);
    p.drawRects(inner.data(), int(inner.size()));
    p.setBrush(Qt::NoBrush);
}

namespace {

// Pixel spans [left, right) in x order with those that touch merged, so that
// a zoomed-out view of thousands of boxes is a few hundred rectangles.
void addSpan(std::vector<QRect> &rects, int left, int right, int top, int height)
{
    right = std::max(right, left + 1);
    if (!rects.empty() && left <= rects.back().right() + 1) {
        rects.back().setRight(std::max(rects.back().right(), right - 1));
        return;
    }
    rects.emplace_back(left, top, right - left, height);
}

} // namespace

void WaveformStrip::paintBoxes(QPainter &p, const QRect &area, bool fills)
{
    const double to = from_ + span_;
    const int selected = ws_.list.selected();
    const int dragged = drag_ ? drag_->row : -1;
    const StripGlyphs *g = glyphs();
    // A row number as the glyphs write it, else (a number cell holding
    // something else) as text.
    auto label = [&](int row, const QRect &r, StripGlyphs::FaceId face) {
        const QString number = ws_.list.cell(row, ColNumber);
        if (StripGlyphs::covers(number)) {
            if (g)
                g->draw(p, face, r.topLeft(), number, r.right() + 1);
            return;
        }
        QFont font = p.font();
        font.setPixelSize(11);
        p.setFont(font);
        p.drawText(r, Qt::AlignLeft | Qt::AlignTop, number);
    };
    // The other rows first, their fills and edges gathered into one call
    // each (in time order they merge where they touch), then their numbers
    // where there is room.
    std::vector<QRect> under;
    std::vector<QLine> edges;
    std::vector<std::pair<int, QRect>> labels;
    for (int row = 0; row < int(rows_.size()); ++row) {
        const Span &s = rows_[std::size_t(row)];
        if (!s.valid() || s.end < from_ || s.start > to || row == selected || row == dragged)
            continue;
        const int left = int(std::floor(xOf(s.start))), right = int(std::ceil(xOf(s.end)));
        if (fills) {
            addSpan(under, left, right, area.top(), area.height());
            continue;
        }
        if (right - left >= 3) {
            edges.emplace_back(left, area.top(), left, area.bottom());
            edges.emplace_back(right, area.top(), right, area.bottom());
        }
        if (right - left >= 14)
            labels.emplace_back(row, QRect(left + 3, area.top() + 1, right - left - 5, area.height() - 1));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kBoxFill);
    p.drawRects(under.data(), int(under.size()));
    p.setBrush(Qt::NoBrush);
    p.setPen(kBoxEdge);
    p.drawLines(edges.data(), int(edges.size()));
    for (const auto &[row, r] : labels)
        label(row, r, StripGlyphs::Box);

    // The selected row and the one being dragged over the others.
    auto drawChosen = [&](int row, BoxTimes box) {
        const int left = int(std::floor(xOf(box.start))), right = int(std::ceil(xOf(box.end)));
        const QRect r(left, area.top(), std::max(1, right - left), area.height());
        if (fills) {
            p.fillRect(r, kSelectedFill);
            return;
        }
        p.setPen(kSelectedEdge);
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.drawLine(r.topRight(), r.bottomRight());
        if (r.width() >= 14)
            label(row, r.adjusted(3, 1, -2, 0), StripGlyphs::SelectedBox);
    };
    auto span = [&](int row) -> std::optional<BoxTimes> {
        if (row < 0 || row >= int(rows_.size()) || !rows_[std::size_t(row)].valid())
            return std::nullopt;
        return BoxTimes{rows_[std::size_t(row)].start, rows_[std::size_t(row)].end};
    };
    if (selected != dragged)
        if (const auto box = span(selected))
            drawChosen(selected, *box);
    if (drag_ && drag_->moved) {
        const double delta = (drag_->x - drag_->pressX) * span_ / std::max(1, width());
        if (const auto box = draggedBox(ws_, dragged, drag_->part, delta))
            drawChosen(dragged, *box);
    } else if (const auto box = span(dragged)) {
        drawChosen(dragged, *box);
    }
}

void WaveformStrip::paintSpeech(QPainter &p, const QRect &band)
{
    const auto &spans = ws_.filmSpeech.spans();
    auto first = std::lower_bound(spans.begin(), spans.end(), from_,
                                  [](const sound::SpeechSpan &s, double t) { return s.end < t; });
    std::vector<QRect> fills;
    for (auto it = first; it != spans.end() && it->start <= from_ + span_; ++it)
        addSpan(fills, int(std::floor(xOf(it->start))), int(std::ceil(xOf(it->end))), band.top() + 1, band.height() - 1);
    p.setPen(Qt::NoPen);
    p.setBrush(kSpeech);
    p.drawRects(fills.data(), int(fills.size()));
    p.setBrush(Qt::NoBrush);
    // Each capture moved onto the voice: a small mark where it went, with a
    // stroke back to where it was pressed.
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const FilmSpeech::SnapMark &mark : ws_.filmSpeech.marks()) {
        if (std::max(mark.from, mark.to) < from_ || std::min(mark.from, mark.to) > from_ + span_)
            continue;
        const double x = xOf(mark.to), pressed = xOf(mark.from);
        const double y = kRulerHeight + 1;
        p.setPen(QPen(kMark, 1));
        p.drawLine(QPointF(pressed, y + 2), QPointF(x, y + 2));
        QPainterPath triangle;
        triangle.moveTo(x - 4, y);
        triangle.lineTo(x + 4, y);
        triangle.lineTo(x, y + 6);
        triangle.closeSubpath();
        p.fillPath(triangle, kMark);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
}

void WaveformStrip::paintPosition(QPainter &p)
{
    const double at = shownPosition();
    if (at < from_ || at > from_ + span_)
        return;
    const int x = int(std::lround(xOf(at)));
    p.setPen(QPen(kPosition, 1));
    p.drawLine(x, 0, x, height());
}

std::optional<WaveformStrip::Hit> WaveformStrip::hitAt(int x) const
{
    // The selected row first: it is drawn over the others.
    const int selected = ws_.list.selected();
    auto test = [&](int row) -> std::optional<Hit> {
        const Span &s = rows_[std::size_t(row)];
        if (!s.valid())
            return std::nullopt;
        const double left = xOf(s.start), right = xOf(s.end);
        if (std::abs(x - left) <= kEdgeGrip && std::abs(x - left) <= std::abs(x - right))
            return Hit{row, DragPart::Start};
        if (std::abs(x - right) <= kEdgeGrip)
            return Hit{row, DragPart::End};
        if (x > left && x < right)
            return Hit{row, DragPart::Whole};
        return std::nullopt;
    };
    if (selected >= 0 && selected < int(rows_.size()))
        if (auto hit = test(selected))
            return hit;
    const double t0 = timeAt(x - kEdgeGrip), t1 = timeAt(x + kEdgeGrip);
    std::optional<Hit> found;
    for (int row = 0; row < int(rows_.size()); ++row) {
        const Span &s = rows_[std::size_t(row)];
        if (!s.valid() || s.end < t0 || s.start > t1)
            continue;
        if (auto hit = test(row)) {
            // An edge wins over the inside of a box that overlaps it.
            if (!found || (found->part == DragPart::Whole && hit->part != DragPart::Whole))
                found = hit;
        }
    }
    return found;
}

void WaveformStrip::wheelEvent(QWheelEvent *event)
{
    const QPoint angle = event->angleDelta();
    const double notches = (angle.y() != 0 ? angle.y() : angle.x()) / 120.0;
    if (notches == 0)
        return;
    if (event->modifiers() & Qt::ControlModifier)
        zoom(std::pow(1.25, -notches), int(event->position().x()));
    else
        setView(from_ - notches * span_ / 8, span_);
    event->accept();
}

void WaveformStrip::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom(1 / 1.5, width() / 2);
        break;
    case Qt::Key_Minus:
        zoom(1.5, width() / 2);
        break;
    case Qt::Key_Left:
        setView(from_ - span_ / 8, span_);
        break;
    case Qt::Key_Right:
        setView(from_ + span_ / 8, span_);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void WaveformStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int x = int(event->position().x());
    Drag drag;
    drag.pressX = x;
    drag.x = x;
    if (event->position().y() >= kRulerHeight)
        if (const auto hit = hitAt(x)) {
            drag.row = hit->row;
            drag.part = hit->part;
        }
    drag_ = drag;
    event->accept();
}

void WaveformStrip::mouseMoveEvent(QMouseEvent *event)
{
    const int x = int(event->position().x());
    if (!drag_) {
        const std::optional<Hit> hit = event->position().y() >= kRulerHeight ? hitAt(x) : std::optional<Hit>();
        setCursor(!hit ? Qt::ArrowCursor : hit->part == DragPart::Whole ? Qt::SizeAllCursor : Qt::SizeHorCursor);
        return;
    }
    drag_->x = x;
    if (drag_->row >= 0 && (drag_->moved || std::abs(x - drag_->pressX) > 2)) {
        drag_->moved = true;
        invalidate();
    }
}

void WaveformStrip::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !drag_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const Drag drag = *drag_;
    drag_.reset();
    const int x = int(event->position().x());
    if (drag.moved) {
        dragRow(ws_, drag.row, drag.part, (x - drag.pressX) * span_ / std::max(1, width()));
    } else {
        // A click: the film goes there, and a box clicked is the row chosen.
        if (drag.row >= 0)
            ws_.list.select(drag.row);
        player_.setPosition(std::max(0.0, timeAt(x)));
        reported_ = player_.position();
        reportedAt_.restart();
    }
    invalidate();
    event->accept();
}

void WaveformStrip::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    invalidate();
}

void WaveformStrip::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    invalidate();
}

void WaveformStrip::tick()
{
    const bool playing = player_.playState() == PlayState::Playing;
    frameTimer_.setInterval(playing ? 16 : 100);
    const double position = player_.position();
    // The clock runs on from a report only while the film plays.
    if (position != reported_ || playing != wasPlaying_) {
        reported_ = position;
        reportedAt_.restart();
    }
    wasPlaying_ = playing;
    const double shown = shownPosition();
    // The strip pages on when the line it showed runs off its right edge;
    // a strip the user scrolled elsewhere stays where it is.
    if (playing && !drag_ && lineX_ >= 0 && shown > from_ + span_)
        followPlayback(shown);
    const int x = shown < from_ || shown > from_ + span_ ? -1 : int(std::lround(xOf(shown)));
    if (x == lineX_)
        return;
    // Only the old and the new line are painted again.
    if (lineX_ >= 0)
        update(lineX_ - 1, 0, 3, height());
    if (x >= 0)
        update(x - 1, 0, 3, height());
    lineX_ = x;
}

void WaveformStrip::followPlayback(double position)
{
    // The next page, with a little of the last.
    setView(position - span_ * 0.05, span_);
}

} // namespace korv
