#include "SubConv.h"

#include "document/FileIO.h"
#include "document/FormatDetection.h"
#include "document/FrameRate.h"
#include "document/MicroDvdFormat.h"
#include "document/MillisecondTime.h"
#include "document/SubRipFormat.h"
#include "document/SubViewerFormat.h"
#include "document/TextCodec.h"
#include "document/TimeText.h"
#include "document/WebVttFormat.h"
#include "editing/OverlapCheck.h"
#include "editing/ReadingCheck.h"
#include "editing/TimeShift.h"
#include "spelling/SpellChecker.h"
#include "media/AviHeaders.h"
#include "media/AviInfo.h"
#include "media/FilmSummary.h"
#include "media/MediaMessages.h"
#include "sound/SoundAnalysis.h"
#include "sound/SpeechDetector.h"
#include "sound/SpeechFeatures.h"
#include "sound/SpeechFit.h"
#include "sound/SpeechSnap.h"

#include "document/ProgramInfo.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QHash>

#include <cmath>
#include <limits>
#include <memory>

namespace korv {

namespace {

// Numbers on the command line and in the listing use ".", whatever the
// user's locale: scripts and other programs read them.
const NumberFormat numbers = NumberFormat::dot();

// The document's messages in the converter's own language, English.
QString englishText(const Message &m)
{
    static const QHash<QString, const char *> texts = {
        {msg::NotARegularFile, "not a regular file (a folder, a device or a named pipe)"},
        {msg::NotATimeLine, "row %1: \"%2\" is not a time line (hh:mm:ss.cc,hh:mm:ss.cc)"},
        {msg::FileEndsBeforeText, "row %1: the file ends before the subtitle's text line"},
        {msg::LineTooLong, "row %1: the line is %2 characters long; a subtitle line holds at most %3"},
        {msg::NoStartFrame, "row %1: \"%2\" has no start frame"},
        {msg::NoEndFrame, "row %1: \"%2\" has no end frame"},
        {msg::FrameRateUnusable, "the frame rate %1 cannot turn frames into seconds"},
        {msg::FrameNumberTooLarge, "row %1: the frame number is too large"},
        {msg::StartNotANumber, "row %1: the start time \"%2\" is not a number"},
        {msg::EndNotANumber, "row %1: the end time \"%2\" is not a number"},
        {msg::StartBeforeFilm, "row %1: the start time %2 is before the start of the film"},
        {msg::EndBeforeFilm, "row %1: the end time %2 is before the start of the film"},
        {msg::NoClockTime, "row %1: the time %2 cannot be written as a clock time (up to 09:59:59.99)"},
        {msg::NoFrameForTime, "row %1: the time %2 has no frame number at %3 frames per second (up to %4)"},
        {msg::CharacterNotInCodePage, "row %1 holds the character \"%2\" (U+%3), which Windows-1254 cannot hold"},
        {msg::FileTooLarge, "the file is larger than %1 MB, far larger than any subtitle file"},
        {msg::FolderNotWritable, "the folder cannot be written (%1)"},
        {msg::NotASubRipTimeLine, "row %1: \"%2\" is not a SubRip time line (hh:mm:ss,mmm --> hh:mm:ss,mmm)"},
        {msg::NotAWebVttTimeLine, "row %1: \"%2\" is not a WebVTT time line (hh:mm:ss.mmm --> hh:mm:ss.mmm)"},
        {msg::WebVttPartsDropped, "cue identifiers, cue settings, NOTE, STYLE and REGION blocks are not kept"},
        {msg::NotAWebVttFile, "the file does not begin with \"WEBVTT\" (its first line is \"%1\")"},
        {msg::ClockTimeTooLarge, "row %1: the time %2 is too large for a clock time (hh:mm:ss,mmm)"},
        {msg::BlankLinesLeftOut, "blank lines inside subtitle texts were left out (the first in row %1)"},
        {msg::BarsBecomeLineBreaks, "row %1 (and maybe others) holds \"|\", which is written as a line break"},
        {msg::SubRipPositionDropped, "row %1 (and maybe others) has a position after its times (X1:... Y2:...), "
                                     "which is not kept"},
        {msg::InvalidBytesReplaced, "rows %1 hold bytes that are no UTF-8 character; each was replaced by U+FFFD"},
        {msg::NoClockInTimeLine, "row %1: \"%2\" holds a time that is no clock time (minutes and seconds up to 59, "
                                 "three digits of milliseconds)"},
        // The film's information, as English.lng words it.
        {msg::FilmCannotBeRead, "The film cannot be read: %1"},
        {msg::FilmLibraryMissing, "FFmpeg's libraries cannot be loaded (%1), so no film can be described and no "
                                  "film's sound analysed. Installing the program again puts them back."},
        {msg::FilmHoldsNothing, "This file holds neither picture nor sound; it is not a film."},
        {msg::FilmHasNoPicture, "This file has sound but no picture, so there is nothing to see under the "
                                "subtitles and no frame rate."},
        {msg::FilmEndsEarly, "The film's pictures end at %1, although its header gives %2: the file seems to be "
                             "cut short."},
        {msg::RowContainer, "CONTAINER :"},
        {msg::RowVideoCodec, "VIDEO CODEC :"},
        {msg::RowResolution, "RESOLUTION :"},
        {msg::RowFrameRate, "FRAME RATE :"},
        {msg::RowTotalFrames, "TOTAL FRAMES :"},
        {msg::RowDuration, "DURATION :"},
        {msg::RowAudioTrack, "AUDIO TRACK %1 :"},
        {msg::VariableRate, "variable, on average %1"},
        {msg::AudioTrackValue, "%1, channels: %2, %3 Hz"},
        {msg::AboutFrames, "about %1"},
    };
    QString text = m.isSystem() ? m.args.value(0) : fillIn(QString::fromUtf8(texts.value(m.key, "%1")), m.args);
    return m.path.isEmpty() ? text : m.path + QStringLiteral(": ") + text;
}

SubConvOutput failure(const QString &message, int exitCode = 1)
{
    SubConvOutput o;
    o.exitCode = exitCode;
    o.err = (QStringLiteral("korvendal-subconv: ") + message + QLatin1Char('\n')).toUtf8();
    return o;
}

// A usage error: the reason, then the usage, on standard error, and 2. A
// mode may end with one when its options do not go together.
SubConvOutput usageError(const QString &message);

struct Subtitles {
    std::vector<SubtitleEntry> rows;
    SubtitleFormat format;
    // What the read left out or will change, one line each on standard error.
    QByteArray notices;
};

// What the command line asks for, filled in by the options below.
struct Request {
    QString mode;         // the option naming what to do: "list", "to"
    QString target;       // --to's format
    double fps = 25;
    bool fpsGiven = false;
    QString dictionary = QStringLiteral("tr_TR");
    std::optional<double> shift;
    bool repair = false;
    // Laying the times on the film's voice.
    QString film;
    int audioTrack = 0; // 0-based; --audio-track counts from 1, as --film-info lists them
    bool audioTrackGiven = false;
    bool snap = false;
    bool fit = false;
    QStringList files;
    StandardInput standardInput;
};

// "-" names standard input (or output); a file of that name is "./-".
bool isStandardStream(const QString &path)
{
    return path == QLatin1String("-");
}

// How messages name a file.
QString shownName(const QString &path)
{
    return isStandardStream(path) ? QStringLiteral("standard input") : path;
}

Result<QByteArray> readInput(const Request &request, const QString &path)
{
    if (!isStandardStream(path))
        return readWholeFile(path);
    if (!request.standardInput)
        return Failure{Message::system(QStringLiteral("cannot be read here"), shownName(path))};
    return request.standardInput();
}

Result<Subtitles> readSubtitles(const Request &request, const QString &path)
{
    Result<QByteArray> bytes = readInput(request, path);
    if (!bytes)
        return Failure{bytes.error()};
    const SubtitleFormat format = detectFormat(*bytes);
    if (format == SubtitleFormat::Unknown)
        return Failure{Message::system(QStringLiteral("not a SubViewer 2, MicroDVD, SubRip or WebVTT file"),
                                       shownName(path))};
    ReadOutcome outcome = readSubtitleBytes(format, *bytes, request.fps, numbers);
    if (!outcome.ok()) {
        Message error = *outcome.error;
        error.path = shownName(path);
        return Failure{error};
    }
    QString notices;
    for (Message notice : outcome.notices) {
        notice.path = shownName(path);
        notices += QStringLiteral("korvendal-subconv: ") + englishText(notice) + QLatin1Char('\n');
    }
    return Subtitles{std::move(outcome.rows), format, notices.toUtf8()};
}

// A time of a SubRip or WebVTT file with all three decimals ("6.800").
QString withMilliseconds(const QString &time)
{
    const auto ms = PlainUnits(time, TimePrecision::Milliseconds, numbers);
    if (!ms)
        return time;
    const quint64 magnitude = *ms < 0 ? quint64(0) - quint64(*ms) : quint64(*ms);
    return QStringLiteral("%1%2.%3")
        .arg(*ms < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 1000)
        .arg(magnitude % 1000, 3, 10, QLatin1Char('0'));
}

// Why the check stopped, from where it stopped.
QString checkFailure(const SubtitleList &list, const OverlapCheckResult &result)
{
    const int row = result.row;
    if (result.stop == OverlapCheckResult::Stop::NotANumber)
        return QStringLiteral("Row %1: the %2 time \"%3\" is not a number.")
            .arg(row + 1)
            .arg(result.column == ColStart ? QStringLiteral("start") : QStringLiteral("end"),
                 list.cell(row, result.column));
    if (result.stop == OverlapCheckResult::Stop::EndBeforeStart)
        return QStringLiteral("Row %1: its end %2 is before its start %3.")
            .arg(row + 1)
            .arg(list.cell(row, ColEnd), list.cell(row, ColStart));
    if (result.stop == OverlapCheckResult::Stop::OutOfOrder)
        return QStringLiteral("Row %1: its start %2 is before the start %3 of the row above it; the rows are not in "
                              "time order (use --repair to sort them by start).")
            .arg(row + 1)
            .arg(list.cell(row, ColStart), list.cell(row - 1, ColStart));
    return QStringLiteral("Row %1: its end %2 passes the next subtitle's start %3 (use --repair).")
        .arg(row + 1)
        .arg(list.cell(row, ColEnd), list.cell(row + 1, ColStart));
}

SubConvOutput list(const Request &request)
{
    const auto read = readSubtitles(request, request.files[0]);
    if (!read)
        return failure(englishText(read.error()));
    const bool milliseconds = read->format == SubtitleFormat::SubRip || read->format == SubtitleFormat::WebVtt;
    QString text;
    text.reserve(qsizetype(read->rows.size()) * 48);
    for (const SubtitleEntry &row : read->rows) {
        text += milliseconds ? withMilliseconds(row.start) : row.start;
        text += QLatin1Char('\t');
        text += milliseconds ? withMilliseconds(row.end) : row.end;
        text += QLatin1Char('\t');
        text += row.text;
        text += QLatin1Char('\n');
    }
    SubConvOutput o;
    o.out = text.toUtf8();
    o.err = read->notices;
    return o;
}

// One "name<TAB>value" line a row of the film's information list: the AVI
// headers for an AVI film, the media library's description for any other.
SubConvOutput filmInfo(const Request &request)
{
    const QString &path = request.files.at(0);
    FilmInformation info;
    QString warning;
    bool noPicture = false;
    if (isAviFileName(path)) {
        const AviHeaders headers = readAviHeaders(path);
        if (!headers.ok())
            return failure(path + QStringLiteral(": the film's AVI headers cannot be read"));
        SummarizeAvi(headers.file, headers.stream, numbers, info);
        ShowAviDetails(headers.file, headers.stream, info.rows);
    } else {
        const auto film = media::describeFilm(path);
        if (!film)
            return failure(englishText(film.error()));
        media::SummarizeFilm(*film, numbers, [](const Message &m) { return englishText(m); }, info);
        noPicture = !film->video;
        if (noPicture)
            warning = englishText(Message::of(msg::FilmHasNoPicture, {}, path));
        else if (film->endsEarlyAt > 0)
            warning = englishText(Message::of(msg::FilmEndsEarly,
                                              {FormatClockTime(film->endsEarlyAt).value_or(QStringLiteral("-")),
                                               FormatClockTime(film->duration).value_or(QStringLiteral("-"))},
                                              path));
    }
    QString text;
    for (const AviInfoRow &row : info.rows)
        text += row.name + QLatin1Char('\t') + row.value + QLatin1Char('\n');
    SubConvOutput o;
    o.out = text.toUtf8();
    if (!warning.isEmpty()) {
        o.err = (QStringLiteral("korvendal-subconv: ") + warning + QLatin1Char('\n')).toUtf8();
        // Sound alone is no film to time subtitles to; a film cut short still is one.
        o.exitCode = noPicture ? 1 : 0;
    }
    return o;
}

// The film's speech: its sound analysed as the editor analyses it (a film
// the editor or an earlier run analysed comes from the cache at once), then
// the spans found. A film without sound, or without speech, is an error.
struct FilmVoice {
    sound::SpeechEdges edges;
    double frameRate = 0; // the film's, 0 when it has no picture
    QString note;         // a sound cut short, said on standard error
};

Result<FilmVoice> filmVoice(const QString &path, int audioTrack)
{
    FilmVoice voice;
    const auto film = media::describeFilm(path);
    if (film && film->video)
        voice.frameRate = film->video->rate.value();
    // A track the film lacks is told before any decoding; with no sound at
    // all the analysis below says so as for the first track.
    if (film && !film->audio.empty() && audioTrack >= int(film->audio.size()))
        return Failure{Message::system(QStringLiteral("the film has no audio track %1; its audio tracks are 1 to %2, as "
                                                      "--film-info lists them")
                                           .arg(audioTrack + 1)
                                           .arg(film->audio.size()),
                                       path)};
    sound::SoundAnalysis analysis;
    auto features = std::make_shared<sound::SpeechFeatureSink>();
    QEventLoop loop;
    QObject::connect(&analysis, &sound::SoundAnalysis::finished, &loop, &QEventLoop::quit);
    QObject::connect(&analysis, &sound::SoundAnalysis::failed, &loop, &QEventLoop::quit);
    analysis.start(path, audioTrack, {features});
    loop.exec();
    const sound::SoundProblem &problem = analysis.problem();
    const QString detail = problem.detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(problem.detail);
    switch (analysis.state() == sound::SoundAnalysis::State::Failed ? problem.failure : sound::SoundFailure::None) {
    case sound::SoundFailure::None: break;
    case sound::SoundFailure::NoAudioTrack:
        return Failure{Message::system(QStringLiteral("the film has no sound to find speech in"), path)};
    case sound::SoundFailure::UndecodableCodec:
        return Failure{Message::system(QStringLiteral("the film's sound cannot be decoded") + detail, path)};
    case sound::SoundFailure::UnreadableFile:
        return Failure{Message::system(QStringLiteral("the film cannot be read") + detail, path)};
    case sound::SoundFailure::NoMediaLibrary:
        return Failure{Message::of(msg::FilmLibraryMissing, {problem.detail}, path)};
    case sound::SoundFailure::TruncatedFile:
        voice.note = path + QStringLiteral(": the film's sound breaks off early; speech is looked for up to there");
        break;
    }
    const std::vector<sound::SpeechSpan> spans = sound::detectSpeech(features->features());
    if (spans.empty())
        return Failure{Message::system(QStringLiteral("no speech was found in the film's sound"), path)};
    voice.edges = sound::SpeechEdges::of(spans);
    return voice;
}

// --fit, then --snap, on the document's times, stored as the format written
// stores them; what was done goes to standard error.
Status layOnVoice(const Request &request, SubtitleList &document, TimePrecision precision, QString &said)
{
    const auto voice = filmVoice(request.film, request.audioTrack);
    if (!voice)
        return Failure{voice.error()};
    if (!voice->note.isEmpty())
        said += QStringLiteral("korvendal-subconv: ") + voice->note + QLatin1Char('\n');
    sound::RoundTime round = sound::roundToStep(precision == TimePrecision::Milliseconds ? 0.001 : 0.01);
    if (request.target == QLatin1String("microdvd")) {
        const microdvd::FrameTimes frames(request.fps);
        round = [frames](double t) { return frames.nearestFrameTime(t); };
    }
    std::vector<sound::RowTimes> rows;
    for (int row = 0; row < document.count(); ++row) {
        const auto start = TextToSeconds(document.cell(row, ColStart), numbers);
        const auto end = TextToSeconds(document.cell(row, ColEnd), numbers);
        if (!start)
            return Failure{Message::of(msg::StartNotANumber, {QString::number(row + 1), document.cell(row, ColStart)})};
        if (!end)
            return Failure{Message::of(msg::EndNotANumber, {QString::number(row + 1), document.cell(row, ColEnd)})};
        rows.push_back({*start, *end});
    }
    std::vector<sound::RowTimes> laid = rows;
    const auto rate = [](double r) { return QString::number(r, 'g', 6); };
    if (request.fit) {
        sound::FitOptions options;
        options.filmRate = voice->frameRate;
        const sound::FitResult fit = sound::fitRows(voice->edges, rows, options);
        if (!fit.found)
            return Failure{Message::system(
                QStringLiteral("the subtitles could not be laid on the film's speech: no shift within 10 minutes "
                               "either way and no frame-rate change brings two rows in five to an edge of speech"),
                request.film)};
        for (sound::RowTimes &row : laid)
            row = {round(fit.apply(row.start)), round(fit.apply(row.end))};
        said += QStringLiteral("korvendal-subconv: fitted to the film's speech: %1%2 s, %3; %4 of %5 rows on speech\n")
                    .arg(fit.offset < 0 ? QStringLiteral("-") : QStringLiteral("+"))
                    .arg(QString::number(std::abs(fit.offset), 'f', 3))
                    .arg(fit.fromRate > 0 ? QStringLiteral("rate %1 -> %2 fps").arg(rate(fit.fromRate), rate(fit.toRate))
                                          : QStringLiteral("rate unchanged"))
                    .arg(fit.rowsOnSpeech)
                    .arg(rows.size());
    }
    if (request.snap) {
        const double gapRate = voice->frameRate > 0 ? voice->frameRate : request.fps;
        const sound::SnapReport report =
            sound::snapRows(voice->edges, laid, sound::SnapRules::forFrameRate(gapRate), round);
        laid = report.rows;
        said += QStringLiteral("korvendal-subconv: snapped to the film's speech: %1 starts and %2 ends moved; "
                               "%3 starts and %4 ends not moved, no speech within reach; %5 not moved, to keep "
                               "the least gap and the shortest duration\n")
                    .arg(report.startsMoved)
                    .arg(report.endsMoved)
                    .arg(report.startsOutOfReach)
                    .arg(report.endsOutOfReach)
                    .arg(report.startsHeld + report.endsHeld);
    }
    for (int row = 0; row < document.count(); ++row) {
        const sound::RowTimes &before = rows[std::size_t(row)], &after = laid[std::size_t(row)];
        if (after.start != before.start)
            document.setCell(row, ColStart, TimeTextAtPrecision(after.start, precision, numbers));
        if (after.end != before.end)
            document.setCell(row, ColEnd, TimeTextAtPrecision(after.end, precision, numbers));
    }
    return {};
}

SubConvOutput convert(const Request &request)
{
    if ((request.snap || request.fit) && request.film.isEmpty())
        return usageError(QStringLiteral("--snap and --fit take the film: --film FILM"));
    if (!request.film.isEmpty() && !request.snap && !request.fit)
        return usageError(QStringLiteral("--film is for --snap or --fit"));
    if (request.audioTrackGiven && request.film.isEmpty())
        return usageError(QStringLiteral("--audio-track chooses among the audio tracks of --film FILM"));
    const QString &to = request.target;
    const QString &out = request.files[1];
    const double fps = request.fps;
    const std::optional<double> &shift = request.shift;
    auto read = readSubtitles(request, request.files[0]);
    if (!read)
        return failure(englishText(read.error()));
    // No reader takes a file without a subtitle back, nor is it worth one.
    if (read->rows.empty())
        return failure(shownName(request.files[0]) + QStringLiteral(": holds no subtitle; nothing was written"));
    const QByteArray notices = read->notices;
    // Every way out below tells what the read left out.
    const auto told = [&notices](SubConvOutput o) {
        o.err.prepend(notices);
        return o;
    };
    SubtitleList document;
    document.replaceAll(std::move(read->rows));
    document.renumber();
    // Times are worked at the precision of the format written.
    const bool utf8 = to == QLatin1String("subrip") || to == QLatin1String("webvtt");
    const TimePrecision precision = utf8 ? TimePrecision::Milliseconds : TimePrecision::Hundredths;
    if (shift) {
        const Status shifted = ShiftAllTimes(document, *shift, numbers, nullptr, precision);
        if (!shifted)
            return told(failure(englishText(shifted.error())));
    }
    QString said;
    if (request.snap || request.fit) {
        const Status laid = layOnVoice(request, document, precision, said);
        if (!laid)
            return told(failure(englishText(laid.error())));
    }
    // Nobody to ask here: a repair is automatic or the check stops.
    const OverlapCheckResult checked =
        checkOverlaps(document, numbers, request.repair ? OverlapMode::Repair : OverlapMode::Stop, {}, precision);
    if (!checked.reachedEnd())
        return told(failure(checkFailure(document, checked)));
    std::vector<qsizetype> offsets;
    Result<QString> text = QString();
    if (to == QLatin1String("subviewer"))
        text = subviewer::write(document, numbers, &offsets);
    else if (to == QLatin1String("microdvd"))
        text = microdvd::write(document, fps, numbers, &offsets);
    else if (to == QLatin1String("subrip"))
        text = subrip::write(document, numbers, &offsets);
    else
        text = webvtt::write(document, numbers, &offsets);
    if (!text)
        return told(failure(englishText(text.error())));
    const Result<QByteArray> bytes = utf8 ? Result<QByteArray>(text->toUtf8()) : encodeForFile(*text, offsets);
    if (!bytes)
        return told(failure(englishText(bytes.error())));
    SubConvOutput o;
    o.err = said.toUtf8();
    if (isStandardStream(out)) {
        o.out = *bytes;
        return told(o);
    }
    const Status written = writeFileAtomically(out, *bytes);
    if (!written)
        return told(failure(englishText(written.error())));
    return told(o);
}

// --check: one line a problem, "row<TAB>rule<TAB>value<TAB>limit", in row
// order; 0 for none, 1 for some, 2 when the file or the dictionary cannot be
// had. The gap is in frames when a rate is known (--fps, or a MicroDVD
// file's), in milliseconds otherwise.
SubConvOutput check(const Request &request)
{
    std::unique_ptr<SpellChecker> speller;
    if (request.dictionary != QLatin1String("none")) {
        speller = SpellChecker::load(request.dictionary);
        if (!speller)
            return failure(QStringLiteral("the dictionary %1 is not installed").arg(request.dictionary), 2);
    }
    const auto read = readSubtitles(request, request.files[0]);
    if (!read)
        return failure(englishText(read.error()), 2);
    ReadingRules rules;
    rules.numbers = numbers;
    const bool milliseconds = read->format == SubtitleFormat::SubRip || read->format == SubtitleFormat::WebVtt;
    rules.precision = milliseconds ? TimePrecision::Milliseconds : TimePrecision::Hundredths;
    rules.frameRate = request.fpsGiven || read->format == SubtitleFormat::MicroDvd ? request.fps : 0;
    const std::vector<ReadingProblem> problems = checkReading(read->rows, rules);
    QString text;
    int count = 0;
    auto line = [&](int row, const QString &rule, const QString &value, const QString &limit) {
        text += QStringLiteral("%1\t%2\t%3\t%4\n").arg(row + 1).arg(rule, value, limit);
        ++count;
    };
    std::size_t next = 0;
    for (int row = 0; row < int(read->rows.size()); ++row) {
        for (; next < problems.size() && problems[next].row == row; ++next) {
            const ReadingProblem &p = problems[next];
            const bool valued = p.rule != ReadingRule::Empty;
            line(row, readingRuleName(p.rule), valued ? readingValueText(p.rule, p.value, rules) : QString(),
                 valued ? readingValueText(p.rule, p.limit, rules) : QString());
        }
        if (speller) {
            const QString &subtitle = read->rows[std::size_t(row)].text;
            for (const WordSpan &w : speller->unknownWords(subtitle))
                line(row, QStringLiteral("spelling"), subtitle.mid(w.start, w.length), request.dictionary);
        }
    }
    SubConvOutput o;
    o.out = text.toUtf8();
    o.err = read->notices;
    o.exitCode = count > 0 ? 1 : 0;
    return o;
}

// The command line. Each thing the converter does is a mode, asked for by
// its option; every other option fills in the request. A new mode or option
// is a row in one of the two tables (and its lines in the manual page): the
// parsing, the checks and --help follow from them.

// What an option's value was wrong about, for the usage error; empty when
// the value was taken.
using TakeValue = QString (*)(Request &request, const QString &value);

struct Mode {
    const char *name;  // "to" for --to
    const char *value; // the name of its value, or nullptr
    const char *help;
    QStringList options; // the further options it takes
    QStringList files;   // the names of its files in its usage line
    TakeValue take;      // for its value
    SubConvOutput (*run)(const Request &request);
};

struct Option {
    const char *name;
    const char *value; // nullptr for a switch
    const char *help;
    TakeValue take;
};

const Mode kModes[] = {
    {"list", nullptr, "print each subtitle as start, TAB, end, TAB, text", {"fps"}, {"FILE"}, nullptr, list},
    {"to", "FORMAT", "convert IN to OUT: subviewer, microdvd, subrip or webvtt",
     {"fps", "shift", "repair", "film", "audio-track", "snap", "fit"},
     {"IN", "OUT"},
     [](Request &r, const QString &v) {
         static const QStringList targets = {QStringLiteral("subviewer"), QStringLiteral("microdvd"),
                                             QStringLiteral("subrip"), QStringLiteral("webvtt")};
         r.target = v;
         return targets.contains(v) ? QString() : QStringLiteral("--to takes subviewer, microdvd, subrip or webvtt");
     },
     convert},
    {"check", nullptr, "print each problem a viewer would meet: row, rule, value, limit",
     {"fps", "dictionary"}, {"FILE"}, nullptr, check},
    {"film-info", nullptr, "print the film's information rows as name, TAB, value", {}, {"FILM"}, nullptr, filmInfo},
};

const Option kOptions[] = {
    {"fps", "RATE", "MicroDVD frame rate, 1 to 1000 (default 25)",
     [](Request &r, const QString &v) {
         const auto rate = readFrameRate(v, numbers);
         r.fps = rate.value_or(r.fps);
         r.fpsGiven = rate.has_value();
         return rate ? QString() : QStringLiteral("--fps takes a frame rate from 1 to 1000, without group separators");
     }},
    {"shift", "SECONDS", "add SECONDS to every time (negative: take them away)",
     [](Request &r, const QString &v) {
         r.shift = TextToSeconds(v, numbers);
         return r.shift ? QString() : QStringLiteral("--shift takes a number of seconds");
     }},
    {"repair", nullptr, "sort the rows by start, then pull an end back to the next start instead of stopping",
     [](Request &r, const QString &) {
         r.repair = true;
         return QString();
     }},
    {"film", "FILM", "the film whose speech --snap and --fit lay the times on",
     [](Request &r, const QString &v) {
         r.film = v;
         return v.isEmpty() ? QStringLiteral("--film takes a film") : QString();
     }},
    {"audio-track", "N", "the film's audio track, numbered from 1 as --film-info lists them (default 1)",
     [](Request &r, const QString &v) {
         bool number = false;
         const int n = v.toInt(&number);
         r.audioTrack = n - 1;
         r.audioTrackGiven = true;
         return number && n >= 1 ? QString() : QStringLiteral("--audio-track takes a track number from 1");
     }},
    {"snap", nullptr, "move each start and end to the nearest edge of speech within reach",
     [](Request &r, const QString &) {
         r.snap = true;
         return QString();
     }},
    {"fit", nullptr, "find the shift and frame-rate change that lay the rows on the speech",
     [](Request &r, const QString &) {
         r.fit = true;
         return QString();
     }},
    {"dictionary", "NAME", "spelling dictionary of --check: tr_TR (default), en_US, or none",
     [](Request &r, const QString &v) {
         r.dictionary = v;
         const bool name = !v.isEmpty() && !v.contains(QLatin1Char('/'));
         return name ? QString() : QStringLiteral("--dictionary takes a dictionary's name (tr_TR, en_US) or none");
     }},
};

QString dashed(const QString &name)
{
    return QStringLiteral("--") + name;
}

const Option *findOption(const QString &name)
{
    for (const Option &option : kOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

QString withValue(const char *name, const char *value)
{
    return value ? dashed(QLatin1String(name)) + QLatin1Char(' ') + QLatin1String(value) : dashed(QLatin1String(name));
}

QByteArray usage()
{
    QString text;
    QString lead = QStringLiteral("usage: ");
    for (const Mode &mode : kModes) {
        QStringList words = {QStringLiteral("korvendal-subconv"), withValue(mode.name, mode.value)};
        for (const QString &name : mode.options) {
            const Option *option = findOption(name);
            words << QLatin1Char('[') + withValue(option->name, option->value) + QLatin1Char(']');
        }
        text += lead + (words + mode.files).join(QLatin1Char(' ')) + QLatin1Char('\n');
        lead = QStringLiteral("       ");
    }
    text += lead + QStringLiteral("korvendal-subconv --help | --version\n\n");
    const auto line = [&text](const QString &left, const char *help) {
        text += QStringLiteral("  %1 %2\n").arg(left, -18).arg(QLatin1String(help));
    };
    for (const Mode &mode : kModes)
        line(withValue(mode.name, mode.value), mode.help);
    for (const Option &option : kOptions)
        line(withValue(option.name, option.value), option.help);
    line(QStringLiteral("-h, --help"), "print this help and end");
    line(QStringLiteral("--version"), "print the name and version and end");
    text += QStringLiteral(
        "\nA FILE or IN of \"-\" is standard input, an OUT of \"-\" standard output. Numbers use \".\"\n"
        "as decimal separator; SubRip and WebVTT times are listed with three decimals.\n"
        "--snap and --fit (both: the fit first) need --film; what they did is said on standard\n"
        "error. Exit status: 0 done, 1 a file could not be read or written or failed the check,\n"
        "or the film has no sound, no such audio track or no speech was found, 2 a usage\n"
        "error. --check: 0 no problem, 1 some, 2 an error.\n");
    return text.toUtf8();
}

SubConvOutput usageError(const QString &message)
{
    SubConvOutput o;
    o.exitCode = 2;
    o.err = (QStringLiteral("korvendal-subconv: ") + message + QLatin1Char('\n')).toUtf8() + usage();
    return o;
}

} // namespace

SubConvOutput runSubConv(const QStringList &arguments, const StandardInput &standardInput)
{
    QCommandLineParser parser;
    // "-fps 25" reads as "--fps 25", not as the switches -f, -p and -s.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const auto add = [&parser](const char *name, const char *value) {
        QCommandLineOption option(QString::fromLatin1(name));
        if (value)
            option.setValueName(QLatin1String(value));
        parser.addOption(option);
    };
    for (const Mode &mode : kModes)
        add(mode.name, mode.value);
    for (const Option &option : kOptions)
        add(option.name, option.value);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    add("version", nullptr);
    if (!parser.parse(QStringList(QStringLiteral("korvendal-subconv")) + arguments))
        return usageError(parser.errorText());

    SubConvOutput answer;
    if (parser.isSet(QStringLiteral("help"))) {
        answer.out = usage();
        return answer;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        answer.out = "korvendal-subconv " + ProgramInfo::versionText().toUtf8() + '\n';
        return answer;
    }

    const Mode *mode = nullptr;
    QStringList modeNames;
    for (const Mode &m : kModes)
        modeNames << dashed(QLatin1String(m.name));
    for (const QString &given : parser.optionNames()) {
        for (const Mode &m : kModes) {
            if (given != QLatin1String(m.name))
                continue;
            if (mode)
                return usageError(QStringLiteral("choose one of ") + modeNames.join(QStringLiteral(", ")));
            mode = &m;
        }
    }
    if (!mode)
        return usageError(QStringLiteral("nothing to do: choose one of ") + modeNames.join(QStringLiteral(", ")));

    Request request;
    request.mode = QLatin1String(mode->name);
    request.standardInput = standardInput;
    if (mode->take) {
        const QString wrong = mode->take(request, parser.value(request.mode));
        if (!wrong.isEmpty())
            return usageError(wrong);
    }
    for (const QString &given : parser.optionNames()) {
        if (given == request.mode)
            continue;
        if (!mode->options.contains(given))
            return usageError(QStringLiteral("%1 does not take %2").arg(dashed(request.mode), dashed(given)));
        const QString wrong = findOption(given)->take(request, parser.value(given));
        if (!wrong.isEmpty())
            return usageError(wrong);
    }
    request.files = parser.positionalArguments();
    if (request.files.size() != mode->files.size())
        return usageError(
            QStringLiteral("%1 takes %2").arg(withValue(mode->name, mode->value), mode->files.join(QLatin1Char(' '))));
    return mode->run(request);
}

} // namespace korv
