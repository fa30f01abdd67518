#include "FuzzTargets.h"

#include "document/FileIO.h"
#include "document/FormatDetection.h"
#include "document/MicroDvdFormat.h"
#include "document/MillisecondTime.h"
#include "document/SubRipFormat.h"
#include "document/SubtitleList.h"
#include "document/SubViewerFormat.h"
#include "document/TextCodec.h"
#include "document/TimeText.h"
#include "document/WebVttFormat.h"
#include "locale/IniFile.h"
#include "media/AviHeaders.h"
#include "media/AviInfo.h"

#include <QBuffer>

#include <array>

namespace korv::fuzz {

namespace {

// The fuzzers read and write times in one fixed number format.
const NumberFormat kNumbers = NumberFormat::dot();


// What a reader gave, as the list the editor would show.
void fill(SubtitleList &list, std::vector<SubtitleEntry> rows)
{
    list.replaceAll(std::move(rows));
    list.renumber();
}

// The SubViewer writer leaves empty lines out of a subtitle ("a||b" is
// written as two lines); nothing else may change.
QString withoutEmptyLines(const QString &text)
{
    return text.split(QLatin1Char('|'), Qt::SkipEmptyParts).join(QLatin1Char('|'));
}

// SubRip and WebVTT writers leave out lines that are empty or only blanks,
// since such a line would end the subtitle.
QString withoutBlankLines(const QString &text)
{
    QStringList kept;
    for (QStringView part : QStringView(text).tokenize(QLatin1Char('|'))) {
        if (!part.trimmed().isEmpty())
            kept << part.toString();
    }
    return kept.join(QLatin1Char('|'));
}

enum class Dropped { Nothing, EmptyLines, BlankLines };

QString firstDifference(const SubtitleList &expected, const std::vector<SubtitleEntry> &rows, Dropped dropped)
{
    if (std::size_t(expected.count()) != rows.size())
        return QStringLiteral("%1 rows written, %2 read back").arg(expected.count()).arg(rows.size());
    for (int r = 0; r < expected.count(); ++r) {
        for (int c = ColStart; c <= ColText; ++c) {
            QString want = expected.cell(r, c);
            if (c == ColText && dropped == Dropped::EmptyLines)
                want = withoutEmptyLines(want);
            if (c == ColText && dropped == Dropped::BlankLines)
                want = withoutBlankLines(want);
            if (want != rows[std::size_t(r)].cell(c))
                return QStringLiteral("row %1 column %2: wrote \"%3\", read back \"%4\"")
                    .arg(r + 1)
                    .arg(c)
                    .arg(want, rows[std::size_t(r)].cell(c));
        }
    }
    return {};
}

QString describe(const Message &m)
{
    return (m.isSystem() ? QString() : m.key + QLatin1Char(' ')) + m.args.join(QLatin1Char('|'));
}

// The file's bytes as the writer would put them on disk, read again the way
// a file is opened. Bytes that happen to form valid UTF-8 are taken as UTF-8
// by design; such a file does not come back as Windows-1254 text, so the
// byte-level check is left to the text-level one there.
template <typename Reader>
QString readBack(const SubtitleList &written, const QString &text, const std::vector<qsizetype> &offsets,
                 Dropped dropped, Reader read)
{
    const ReadOutcome again = read(text);
    if (!again.ok())
        return QStringLiteral("written text does not read back: ") + describe(*again.error);
    if (QString diff = firstDifference(written, again.rows, dropped); !diff.isEmpty())
        return diff;
    const Result<QByteArray> bytes = encodeForFile(text, offsets);
    if (!bytes)
        return {}; // refused with a message: nothing would be written
    const DecodedText decoded = decodeText(*bytes);
    if (decoded.encoding != TextEncoding::Windows1254)
        return {};
    if (decoded.text != text)
        return QStringLiteral("Windows-1254 bytes decode to other text");
    return {};
}

// A whole file may still be refused on save, but only for a row whose time
// the format cannot hold (`holds` says which), and the message names it.
template <typename Holds>
QString refusal(const SubtitleList &list, const Message &error, Holds holds)
{
    for (int r = 0; r < list.count(); ++r) {
        for (const QString *cell : {&list.cell(r, ColStart), &list.cell(r, ColEnd)}) {
            const auto seconds = TextToSeconds(*cell, kNumbers);
            const auto hundredths = seconds ? ToHundredths(*seconds) : std::nullopt;
            if (hundredths && *hundredths >= 0 && holds(*seconds))
                continue;
            if (error.args.value(0) == QString::number(r + 1))
                return {};
            return QStringLiteral("row %1 cannot be written, yet the refusal says: %2").arg(r + 1).arg(describe(error));
        }
    }
    return QStringLiteral("rows read from a file cannot be written: ") + describe(error);
}

QString subViewerRefusal(const SubtitleList &list, const Message &error)
{
    return refusal(list, error, [](double seconds) { return FormatClockTime(seconds).has_value(); });
}

// Read, write, read back (the same rows, blank lines left out), and the
// text through the UTF-8 bytes these files are saved in; a file written
// with rows is recognised as its format.
template <typename Reader, typename Writer>
QString millisecondFormat(QByteArrayView bytes, Reader read, Writer write, SubtitleFormat format)
{
    ReadOutcome outcome = read(decodeText(bytes).text);
    const bool whole = outcome.ok();
    SubtitleList list;
    fill(list, std::move(outcome.rows));
    std::vector<qsizetype> offsets;
    const Result<QString> text = write(list, &offsets);
    if (!text) {
        // A time before the film's start, or one the reader would not take.
        return whole ? refusal(list, text.error(),
                               [](double seconds) {
                                   const auto ms = ToThousandths(seconds);
                                   return ms && *ms >= 0 && *ms < kClockThousandthsLimit;
                               })
                     : QString();
    }
    if (offsets.size() != std::size_t(list.count()))
        return QStringLiteral("%1 row offsets for %2 rows").arg(offsets.size()).arg(list.count());
    const ReadOutcome again = read(*text);
    if (!again.ok())
        return QStringLiteral("written text does not read back: ") + describe(*again.error);
    if (QString diff = firstDifference(list, again.rows, Dropped::BlankLines); !diff.isEmpty())
        return diff;
    const QByteArray utf8 = text->toUtf8();
    if (decodeText(utf8).text != *text)
        return QStringLiteral("UTF-8 bytes decode to other text");
    if ((format == SubtitleFormat::WebVtt || list.count() > 0) && detectFormat(utf8) != format)
        return QStringLiteral("a written file is not recognised as its format");
    return {};
}

} // namespace

QString detection(QByteArrayView bytes)
{
    const SubtitleFormat format = detectFormat(bytes);
    const DecodedText decoded = decodeText(bytes);
    const std::vector<QStringView> lines = splitLines(decoded.text);
    for (QStringView line : lines) {
        if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
            return QStringLiteral("a split line still holds a line end");
    }
    // Only the first line past empty ones decides, and the line under it
    // (a SubRip time line under a number), within the first bytes.
    const qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    qsizetype end = start;
    auto lineEnd = [&](qsizetype from) {
        while (from < bytes.size() && bytes[from] != '\r' && bytes[from] != '\n')
            ++from;
        return from;
    };
    auto isBlank = [&](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i) {
            if (bytes[i] != ' ' && bytes[i] != '\t')
                return false;
        }
        return true;
    };
    auto nextLine = [&](qsizetype from) {
        const qsizetype e = lineEnd(from);
        return e + (e + 1 < bytes.size() && bytes[e] == '\r' && bytes[e + 1] == '\n' ? 2 : 1);
    };
    while (end < bytes.size() && isBlank(end, lineEnd(end)))
        end = nextLine(end);
    if (end < bytes.size())
        end = lineEnd(nextLine(end)); // the end of the second line
    if (end < bytes.size() && end - start < kDetectionBytes) {
        QByteArray other = bytes.first(end + 1).toByteArray();
        other += "{1}{2}x\r\n[INFORMATION]\r\nWEBVTT\r\n";
        if (detectFormat(other) != format)
            return QStringLiteral("lines after the second changed the detected format");
    }
    return {};
}

QString subViewer(QByteArrayView bytes)
{
    const DecodedText decoded = decodeText(bytes);
    ReadOutcome outcome = subviewer::read(decoded.text, kNumbers);
    const bool whole = outcome.ok();
    SubtitleList list;
    fill(list, std::move(outcome.rows));
    std::vector<qsizetype> offsets;
    const Result<QString> text = subviewer::write(list, kNumbers, &offsets);
    // After a failed read the failing row may have no times; saving that is
    // refused with a message naming the row.
    if (!text)
        return whole ? subViewerRefusal(list, text.error()) : QString();
    return readBack(list, *text, offsets, Dropped::EmptyLines, [](const QString &t) { return subviewer::read(t, kNumbers); });
}

QString microDvd(QByteArrayView bytes)
{
    const DecodedText decoded = decodeText(bytes);
    // Rates a user may type into the frame-rate window, the odd ones included.
    constexpr std::array rates{23.976, 25.0, 29.97, 0.001, 1e9};
    for (double rate : rates) {
        const ReadOutcome outcome = microdvd::read(decoded.text, rate, kNumbers);
        SubtitleList list;
        fill(list, outcome.rows);
        (void)microdvd::write(list, rate, kNumbers);
        // Whatever the rate made of the times, the SubViewer writer's output
        // reads back; only a time of ten hours or more, or the empty times of
        // a failed read's last row, are refused.
        const Result<QString> asSubViewer = subviewer::write(list, kNumbers);
        if (!asSubViewer)
            continue;
        const ReadOutcome again = subviewer::read(*asSubViewer, kNumbers);
        if (!again.ok() || again.rows.size() != std::size_t(list.count()))
            return QStringLiteral("SubViewer output of a MicroDVD file does not read back: ")
                + (again.error ? describe(*again.error) : QStringLiteral("another row count"));
    }

    ReadOutcome outcome = microdvd::read(decoded.text, 25.0, kNumbers);
    const bool whole = outcome.ok();
    SubtitleList list;
    fill(list, std::move(outcome.rows));
    std::vector<qsizetype> offsets;
    const Result<QString> text = microdvd::write(list, 25.0, kNumbers, &offsets);
    // Frames before the film's start (a minus before the digits) read as
    // negative times, which a file cannot hold: saving refuses them by row.
    if (!text)
        return whole ? refusal(list, text.error(), [](double) { return true; }) : QString();
    return readBack(list, *text, offsets, Dropped::Nothing, [](const QString &t) { return microdvd::read(t, 25.0, kNumbers); });
}

QString subRip(QByteArrayView bytes)
{
    return millisecondFormat(
        bytes, [](QStringView t) { return subrip::read(t, kNumbers); },
        [](const SubtitleList &l, std::vector<qsizetype> *o) { return subrip::write(l, kNumbers, o); },
        SubtitleFormat::SubRip);
}

QString webVtt(QByteArrayView bytes)
{
    // What is written carries nothing the reader would leave out.
    const QString text = decodeText(bytes).text;
    SubtitleList list;
    fill(list, webvtt::read(text, kNumbers).read.rows);
    if (const Result<QString> written = webvtt::write(list, kNumbers); written && webvtt::read(*written, kNumbers).droppedParts)
        return QStringLiteral("a written file has parts the reader leaves out");
    return millisecondFormat(
        bytes, [](QStringView t) { return webvtt::read(t, kNumbers).read; },
        [](const SubtitleList &l, std::vector<qsizetype> *o) { return webvtt::write(l, kNumbers, o); },
        SubtitleFormat::WebVtt);
}

QString languageFile(QByteArrayView bytes)
{
    static const std::array<std::pair<const char *, const char *>, 6> asked{{
        {"AUTHOR", "Name"},
        {"Form1", "Label1(0)"},
        {"Form1", "Cubuk2-5"},
        {"frmSecenekler", "Check1(0)"},
        {"Msg", "001"},
        {"Msg", "021"},
    }};
    const QString fallback = QStringLiteral("built-in");
    for (const auto &[section, key] : asked) {
        const QString value =
            readIniValue(bytes, QString::fromLatin1(section), QString::fromLatin1(key), fallback);
        if (value.size() > 1023)
            return QStringLiteral("a value of %1 characters").arg(value.size());
        if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
            return QStringLiteral("a value holds a line end");
    }
    // The language menu's test of whether a file is a language file at all.
    for (const QString &name : iniSectionNames(bytes)) {
        if (name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char(']')))
            return QStringLiteral("a section name holds a line end or \"]\"");
    }
    return {};
}

QString aviHeaders(QByteArrayView bytes)
{
    QByteArray copy = bytes.toByteArray();
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    const AviHeaders headers = readAviHeaders(device);
    FilmInformation info;
    SummarizeAvi(headers.file, headers.stream, kNumbers, info);
    ShowAviDetails(headers.file, headers.stream, info.rows);
    if (headers.stream.szName.size() > 63)
        return QStringLiteral("a stream name of %1 bytes").arg(headers.stream.szName.size());
    return {};
}

} // namespace korv::fuzz
