#include "commands/SpeechCommands.h"

#include "commands/Workspace.h"
#include "document/MicroDvdFormat.h"
#include "document/MillisecondTime.h"
#include "document/ProgramInfo.h"
#include "document/TimeText.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <limits>

namespace korv {

namespace {

constexpr double kDefaultRate = 25;

double microDvdRate(const Workspace &ws)
{
    if (ws.frameRates.microDvd > 0)
        return ws.frameRates.microDvd;
    return ws.frameRates.film > 0 ? ws.frameRates.film : kDefaultRate;
}

std::optional<double> timeOf(const Workspace &ws, int row, int column)
{
    return TextToSeconds(ws.list.cell(row, column), ws.numbers);
}

// The time text a command writes: the plain form at the document's precision.
QString storedText(const Workspace &ws, double seconds)
{
    return TimeTextAtPrecision(seconds, ws.precision(), ws.numbers);
}

// Times that are no number stop a command before it changes anything, as a
// time shift does: the row is named and chosen so the user can mend it.
bool allTimesRead(Workspace &ws, const std::vector<int> &rows)
{
    for (int row : rows) {
        if (timeOf(ws, row, ColStart) && timeOf(ws, row, ColEnd))
            continue;
        ws.ui.showNotice(ws.language.LangMessage(msg::TimeNotANumber) + QStringLiteral("\r\n\r\n")
                             + ws.language.LangMessage(msg::RowLabel) + ws.list.cell(row, ColNumber),
                         ProgramInfo::kNoticeTitle);
        ws.list.select(row);
        return false;
    }
    return true;
}

bool speechKnown(Workspace &ws)
{
    if (ws.filmSpeech.known())
        return true;
    ws.ui.showNotice(ws.language.LangMessage(msg::VoiceNotKnown), ProgramInfo::kNoticeTitle);
    return false;
}

QString numberText(const Workspace &ws, QString text)
{
    return text.replace(QLatin1Char('.'), ws.numbers.decimal);
}

// 23.976, 25, 29.97: as the rate is named, no trailing zeros.
QString rateText(const Workspace &ws, double rate)
{
    return numberText(ws, QString::number(rate, 'g', 6));
}

} // namespace

sound::RoundTime storedTimeRounding(const Workspace &ws)
{
    if (ws.documentFormat == SaveFormat::MicroDvd) {
        const microdvd::FrameTimes frames(microDvdRate(ws));
        return [frames](double t) { return frames.nearestFrameTime(t); };
    }
    return sound::roundToStep(ws.precision() == TimePrecision::Milliseconds ? 0.001 : 0.01);
}

double gapFrameRate(const Workspace &ws)
{
    if (ws.frameRates.film > 0)
        return ws.frameRates.film;
    return ws.frameRates.microDvd > 0 ? ws.frameRates.microDvd : kDefaultRate;
}

std::optional<double> snapCapture(Workspace &ws, double press, bool isStart)
{
    if (press < 0 || !ws.filmSpeech.known() || !ws.voiceOptions().snapCaptures)
        return std::nullopt;
    const sound::SpeechEdges &edges = ws.filmSpeech.edges();
    const auto edge = sound::nearestEdge(isStart ? edges.onsets : edges.offsets, press,
                                         isStart ? sound::startReach : sound::endReach, storedTimeRounding(ws));
    if (edge)
        ws.filmSpeech.addMark({press, *edge});
    return edge;
}

void snapRowsToVoice(Workspace &ws, std::vector<int> rows)
{
    if (rows.empty() && ws.list.isValidRow(ws.list.selected()))
        rows.push_back(ws.list.selected());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&ws](int r) { return !ws.list.isValidRow(r); }), rows.end());
    if (rows.empty() || !speechKnown(ws) || !allTimesRead(ws, rows))
        return;

    const VoiceOptions options = ws.voiceOptions();
    const sound::SnapRules rules{options.minGapFrames / gapFrameRate(ws), options.minDuration};
    const sound::RoundTime round = storedTimeRounding(ws);
    const double none = std::numeric_limits<double>::infinity();
    sound::SnapReport total;
    {
        BusyPointer busy(ws.ui);
        const HistoryStep step(ws, StepKind::SnapRows);
        const SubtitleList::BulkChange bulk(ws.list);
        // Each run of neighbouring rows is snapped between the rows around
        // it, which stay (a time that is no number bounds nothing).
        for (std::size_t first = 0; first < rows.size();) {
            std::size_t last = first;
            while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1)
                ++last;
            std::vector<sound::RowTimes> times;
            for (std::size_t i = first; i <= last; ++i)
                times.push_back({*timeOf(ws, rows[i], ColStart), *timeOf(ws, rows[i], ColEnd)});
            const int before = rows[first] - 1, after = rows[last] + 1;
            const double previousEnd = ws.list.isValidRow(before) ? timeOf(ws, before, ColEnd).value_or(-none) : -none;
            const double nextStart = ws.list.isValidRow(after) ? timeOf(ws, after, ColStart).value_or(none) : none;
            const sound::SnapReport report =
                sound::snapRows(ws.filmSpeech.edges(), times, rules, round, previousEnd, nextStart);
            for (std::size_t i = 0; i < times.size(); ++i) {
                const int row = rows[first + i];
                if (report.rows[i].start != times[i].start)
                    ws.list.setCell(row, ColStart, storedText(ws, report.rows[i].start));
                if (report.rows[i].end != times[i].end)
                    ws.list.setCell(row, ColEnd, storedText(ws, report.rows[i].end));
            }
            total.startsMoved += report.startsMoved;
            total.endsMoved += report.endsMoved;
            total.startsOutOfReach += report.startsOutOfReach;
            total.endsOutOfReach += report.endsOutOfReach;
            total.startsHeld += report.startsHeld;
            total.endsHeld += report.endsHeld;
            first = last + 1;
        }
    }
    ws.ui.showNotice(ws.language.LangText(Message::of(
                         msg::SnapRowsDone, {QString::number(total.startsMoved), QString::number(total.endsMoved),
                                             QString::number(total.startsOutOfReach), QString::number(total.endsOutOfReach),
                                             QString::number(total.startsHeld + total.endsHeld)})),
                     ProgramInfo::kNoticeTitle);
}

QString fitQuestion(const Workspace &ws, const sound::FitResult &fit)
{
    // Three decimals and a sign always: the user sees which way and how far.
    const double ms = std::round(fit.offset * 1000);
    const QString offset = numberText(ws, (ms < 0 ? QStringLiteral("-") : QStringLiteral("+"))
                                              + QString::number(std::abs(ms) / 1000, 'f', 3));
    if (fit.fromRate > 0 && fit.toRate > 0)
        return ws.language.LangText(Message::of(
            msg::FitQuestionRate,
            {offset, rateText(ws, fit.fromRate) + QStringLiteral(" \u2192 ") + rateText(ws, fit.toRate)}));
    return ws.language.LangText(Message::of(msg::FitQuestionOffset, {offset}));
}

void applyFit(Workspace &ws, const sound::FitResult &fit)
{
    const sound::RoundTime round = storedTimeRounding(ws);
    BusyPointer busy(ws.ui);
    const HistoryStep step(ws, StepKind::FitToVoice);
    const SubtitleList::BulkChange bulk(ws.list);
    for (int row = 0; row < ws.list.count(); ++row) {
        for (int column : {ColStart, ColEnd}) {
            // A time that is no number (typed since the search began) stays.
            if (const auto t = timeOf(ws, row, column))
                ws.list.setCell(row, column, storedText(ws, round(fit.apply(*t))));
        }
    }
}

VoiceFit::VoiceFit(Workspace &ws, QObject *parent)
    : QObject(parent), ws_(ws)
{
}

VoiceFit::~VoiceFit()
{
    cancel_ = true;
    if (worker_.joinable())
        worker_.join();
}

void VoiceFit::start()
{
    if (running_ || ws_.list.isEmpty())
        return;
    std::vector<int> all(std::size_t(ws_.list.count()));
    for (int i = 0; i < ws_.list.count(); ++i)
        all[std::size_t(i)] = i;
    if (!speechKnown(ws_) || !allTimesRead(ws_, all))
        return;
    std::vector<sound::RowTimes> rows;
    rows.reserve(all.size());
    for (int row : all)
        rows.push_back({*timeOf(ws_, row, ColStart), *timeOf(ws_, row, ColEnd)});
    if (worker_.joinable())
        worker_.join(); // the last search, over already
    cancel_ = false;
    sound::FitOptions options;
    options.filmRate = ws_.frameRates.film;
    options.cancel = &cancel_;
    options.progress = [this](int percent) {
        QMetaObject::invokeMethod(
            this, [this, percent] {
                if (running_ && !cancel_)
                    ws_.ui.showProgress(percent);
            },
            Qt::QueuedConnection);
    };
    running_ = true;
    emit runningChanged(true);
    ws_.ui.beginProgress(ws_.language.LangMessage(msg::FitRunning), ws_.language.LangText(msg::MenuFitToVoice),
                         [this] { cancel(); });
    worker_ = std::thread([this, edges = ws_.filmSpeech.edges(), rows = std::move(rows), options] {
        const sound::FitResult fit = sound::fitRows(edges, rows, options);
        // Dropped by Qt when this object is gone by then.
        QMetaObject::invokeMethod(this, [this, fit] { finished(fit); }, Qt::QueuedConnection);
    });
}

void VoiceFit::cancel()
{
    if (!running_ || cancel_)
        return;
    cancel_ = true;
    // The window goes at once; the worker's end comes back to finished().
    ws_.ui.endProgress();
}

void VoiceFit::finished(const sound::FitResult &fit)
{
    running_ = false;
    ws_.ui.endProgress();
    emit runningChanged(false);
    if (cancel_ || fit.cancelled) {
        // The user stopped it: nothing to tell but that nothing changed.
        emit stopped();
    } else if (!fit.found) {
        ws_.ui.showNotice(ws_.language.LangMessage(msg::FitNotFound), ProgramInfo::kNoticeTitle);
    } else if (std::round(fit.offset * 1000) == 0 && fit.ratio() == 1.0) {
        ws_.ui.showNotice(ws_.language.LangMessage(msg::FitAlreadyFits), ProgramInfo::kNoticeTitle);
    } else if (ws_.ui.askYesNo(fitQuestion(ws_, fit), ProgramInfo::kNoticeTitle)) {
        applyFit(ws_, fit);
    }
    emit done();
}

} // namespace korv
