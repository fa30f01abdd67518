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
#include "editing/TimeShift.h"

#include <QHash>

namespace korv {

namespace {

// Numbers on the command line and in the listing use ".", whatever the
// user's locale: scripts and other programs read them.
const NumberFormat numbers = NumberFormat::dot();

const char *const kUsage =
    "usage: korvendal-subconv --list [--fps RATE] FILE\n"
    "       korvendal-subconv --to subviewer|microdvd|subrip|webvtt [--fps RATE] [--shift SECONDS] [--repair] IN OUT\n"
    "RATE defaults to 25; numbers use \".\" as decimal separator. SubRip and WebVTT times\n"
    "are listed with three decimals.\n";

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
    };
    QString text = m.isSystem() ? m.args.value(0) : fillIn(QString::fromUtf8(texts.value(m.key, "%1")), m.args);
    return m.path.isEmpty() ? text : m.path + QStringLiteral(": ") + text;
}

SubConvOutput usageError(const QString &message)
{
    SubConvOutput o;
    o.exitCode = 2;
    o.err = (QStringLiteral("korvendal-subconv: ") + message + QLatin1Char('\n')).toUtf8() + kUsage;
    return o;
}

SubConvOutput failure(const QString &message)
{
    SubConvOutput o;
    o.exitCode = 1;
    o.err = (QStringLiteral("korvendal-subconv: ") + message + QLatin1Char('\n')).toUtf8();
    return o;
}

struct Subtitles {
    std::vector<SubtitleEntry> rows;
    SubtitleFormat format;
};

Result<Subtitles> readSubtitles(const QString &path, double fps)
{
    Result<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return Failure{bytes.error()};
    const SubtitleFormat format = detectFormat(*bytes);
    ReadOutcome outcome;
    switch (format) {
    case SubtitleFormat::Unknown:
        return Failure{Message::system(QStringLiteral("not a SubViewer 2, MicroDVD, SubRip or WebVTT file"), path)};
    case SubtitleFormat::SubViewer: outcome = subviewer::read(decodeText(*bytes).text, numbers); break;
    case SubtitleFormat::MicroDvd: outcome = microdvd::read(decodeText(*bytes).text, fps, numbers); break;
    case SubtitleFormat::SubRip: outcome = subrip::read(decodeText(*bytes).text, numbers); break;
    case SubtitleFormat::WebVtt: outcome = webvtt::read(QString::fromUtf8(*bytes), numbers).read; break;
    }
    if (!outcome.ok()) {
        Message error = *outcome.error;
        error.path = path;
        return Failure{error};
    }
    return Subtitles{std::move(outcome.rows), format};
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
    return QStringLiteral("Row %1: its end %2 passes the next subtitle's start %3 (use --repair).")
        .arg(row + 1)
        .arg(list.cell(row, ColEnd), list.cell(row + 1, ColStart));
}

SubConvOutput list(const QString &path, double fps)
{
    const auto read = readSubtitles(path, fps);
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
    return o;
}

SubConvOutput convert(const QString &to, const QString &in, const QString &out, double fps,
                      std::optional<double> shift, bool repair)
{
    auto read = readSubtitles(in, fps);
    if (!read)
        return failure(englishText(read.error()));
    SubtitleList document;
    document.replaceAll(std::move(read->rows));
    document.renumber();
    // Times are worked at the precision of the format written.
    const bool utf8 = to == QLatin1String("subrip") || to == QLatin1String("webvtt");
    const TimePrecision precision = utf8 ? TimePrecision::Milliseconds : TimePrecision::Hundredths;
    if (shift) {
        const Status shifted = ShiftAllTimes(document, *shift, numbers, nullptr, precision);
        if (!shifted)
            return failure(englishText(shifted.error()));
    }
    // Nobody to ask here: a repair is automatic or the check stops.
    const OverlapCheckResult checked =
        checkOverlaps(document, numbers, repair ? OverlapMode::Repair : OverlapMode::Stop, {}, precision);
    if (!checked.reachedEnd())
        return failure(checkFailure(document, checked));
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
        return failure(englishText(text.error()));
    const Result<QByteArray> bytes = utf8 ? Result<QByteArray>(text->toUtf8()) : encodeForFile(*text, offsets);
    if (!bytes)
        return failure(englishText(bytes.error()));
    const Status written = writeFileAtomically(out, *bytes);
    if (!written)
        return failure(englishText(written.error()));
    return {};
}

} // namespace

SubConvOutput runSubConv(const QStringList &arguments)
{
    // Numbers on the command line and in the listing use ".".
    QString mode;
    QString target;
    double fps = 25;
    std::optional<double> shift;
    bool repair = false;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (a == QLatin1String("--list")) {
            if (!mode.isEmpty())
                return usageError(QStringLiteral("choose one of --list and --to"));
            mode = a;
        } else if (a == QLatin1String("--to")) {
            if (!mode.isEmpty())
                return usageError(QStringLiteral("choose one of --list and --to"));
            mode = a;
            const auto v = value();
            static const QStringList targets = {QStringLiteral("subviewer"), QStringLiteral("microdvd"),
                                                QStringLiteral("subrip"), QStringLiteral("webvtt")};
            if (!v || !targets.contains(*v))
                return usageError(QStringLiteral("--to takes subviewer, microdvd, subrip or webvtt"));
            target = *v;
        } else if (a == QLatin1String("--fps")) {
            const auto v = value();
            const auto rate = v ? readFrameRate(*v, numbers) : std::nullopt;
            if (!rate)
                return usageError(QStringLiteral("--fps takes a frame rate from 1 to 1000, without group separators"));
            fps = *rate;
        } else if (a == QLatin1String("--shift")) {
            const auto v = value();
            shift = v ? TextToSeconds(*v, numbers) : std::nullopt;
            if (!shift)
                return usageError(QStringLiteral("--shift takes a number of seconds"));
        } else if (a == QLatin1String("--repair")) {
            repair = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return usageError(QStringLiteral("unknown option ") + a);
        } else {
            files << a;
        }
    }
    if (mode == QLatin1String("--list")) {
        if (files.size() != 1 || shift || repair)
            return usageError(QStringLiteral("--list takes one file and only --fps"));
        return list(files[0], fps);
    }
    if (mode == QLatin1String("--to")) {
        if (files.size() != 2)
            return usageError(QStringLiteral("--to takes an input and an output file"));
        return convert(target, files[0], files[1], fps, shift, repair);
    }
    return usageError(QStringLiteral("nothing to do"));
}

} // namespace korv
