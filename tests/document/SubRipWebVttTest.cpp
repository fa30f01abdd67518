// SubRip and WebVTT: millisecond times, detection, reading, writing, and
// files converted by ffmpeg (kept under tests/data).
#include "document/FileIO.h"
#include "document/FormatDetection.h"
#include "document/MillisecondTime.h"
#include "document/SubRipFormat.h"
#include "document/TextCodec.h"
#include "document/TimeText.h"
#include "document/WebVttFormat.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>

using namespace korv;
using korv::test::textOf;

namespace {

using Rows = std::vector<SubtitleEntry>;

class SubRipWebVttTest : public ::testing::Test {
protected:
    SubtitleList list;
    NumberFormat nf = NumberFormat::dot();
    const SubtitleList &with(Rows rows)
    {
        list.replaceAll(std::move(rows));
        return list;
    }
};

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(KORV_SOURCE_DIR "/tests/data/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(SubRipWebVttTest, MillisecondTimesAreExactTexts)
{
    const std::pair<qint64, const char *> texts[] = {
        {0, "0"}, {1, "0.001"}, {40, "0.04"}, {12500, "12.5"}, {3723450, "3723.45"}, {-6843, "-6.843"},
        {61000, "61"}, {999999999999999, "999999999999.999"},
    };
    for (const auto &[ms, text] : texts)
        EXPECT_EQ(ThousandthsToText(ms, nf), text);
    nf = NumberFormat::comma();
    EXPECT_EQ(ThousandthsToText(-6843, nf), "-6,843");

    // Halves away from zero on the decimal value: 1.0005 is 1.000499999... in
    // binary, yet a user who typed it means a tie.
    const std::pair<double, std::optional<qint64>> rounded[] = {
        {1.0005, 1001}, {-1.0005, -1001}, {0.0004999, 0}, {2.9999999999999996, 3000}, {-0.0004, 0},
        {1e12, 1000000000000000}, {1e16, std::nullopt}, {NAN, std::nullopt}, {INFINITY, std::nullopt},
    };
    for (const auto &[seconds, ms] : rounded)
        EXPECT_EQ(ToThousandths(seconds), ms) << seconds;

    EXPECT_EQ(ThousandthsToClock(0, QLatin1Char(',')), "00:00:00,000");
    EXPECT_EQ(ThousandthsToClock(3723045, QLatin1Char('.')), "01:02:03.045");
    EXPECT_EQ(ThousandthsToClock(360000001, QLatin1Char(',')), "100:00:00,001");

    // Every millisecond of the first ten minutes and a few far ones come back
    // through their text in both number formats.
    for (const NumberFormat &format : {NumberFormat::dot(), NumberFormat::comma()}) {
        nf = format;
        for (qint64 ms = -2000; ms <= 600000; ++ms)
            ASSERT_EQ(ToThousandths(TextToSeconds(ThousandthsToText(ms, nf), nf).value_or(NAN)), ms);
        for (qint64 ms : {qint64(35999999), qint64(123456789012), kClockThousandthsLimit - 1})
            EXPECT_EQ(ToThousandths(TextToSeconds(ThousandthsToText(ms, nf), nf).value_or(NAN)), ms);
    }
}

TEST(SubtitleFormatDetection, SubRipWebVttAndHeaderlessSubViewer)
{
    const QByteArray blankLines(4100, '\n');
    const std::pair<QByteArray, SubtitleFormat> cases[] = {
        {"1\r\n00:00:01,000 --> 00:00:02,500\r\nA\r\n", SubtitleFormat::SubRip},
        {"\xEF\xBB\xBF\r\n\r\n  \r\n7\n0:00:01.000 --> 123:00:02.500 X1:10\n", SubtitleFormat::SubRip},
        {"1\r-00:00:06,843 --> -00:00:02,850\r", SubtitleFormat::SubRip},
        {"WEBVTT\n\n00:01.000 --> 00:02.000\n", SubtitleFormat::WebVtt},
        {"\xEF\xBB\xBF\n\nWEBVTT - a title\n", SubtitleFormat::WebVtt},
        {"00:00:01.00,00:00:02.00\r\nA\r\n", SubtitleFormat::SubViewer},
        {"\r\n-00:00:06,84,-00:00:02,85\r\n", SubtitleFormat::SubViewer},
        {"\n\n{1}{25}x\n", SubtitleFormat::MicroDvd},
        {"\n[INFORMATION]\n", SubtitleFormat::SubViewer},
        // Near misses stay unknown.
        {"[information]\r\n", SubtitleFormat::Unknown},
        {"1\r\nHello\r\n", SubtitleFormat::Unknown},
        {"1\r\n\r\n00:00:01,000 --> 00:00:02,000\r\n", SubtitleFormat::Unknown},
        {"1\r\n00:00:01 --> 00:00:02\r\n", SubtitleFormat::Unknown},
        {"00:00:01,000 --> 00:00:02,000\r\n", SubtitleFormat::Unknown},
        {"WEBVTTX\n", SubtitleFormat::Unknown},
        {" WEBVTT\n", SubtitleFormat::Unknown},
        {"00:00:01.00;00:00:02.00\r\n", SubtitleFormat::Unknown},
        {"\r\n \r\n", SubtitleFormat::Unknown},
        // Only the first 4096 bytes are looked at.
        {blankLines + "WEBVTT\n", SubtitleFormat::Unknown},
        {QByteArray(4090, ' ') + "\n1\r\n00:00:01,000 --> 00:00:02,000\r\n", SubtitleFormat::Unknown},
    };
    for (const auto &[bytes, format] : cases)
        EXPECT_EQ(detectFormat(bytes), format) << bytes.left(80).toStdString();
}

TEST_F(SubRipWebVttTest, SubRipReadsWhatOtherProgramsWrite)
{
    const std::pair<QString, Rows> cases[] = {
        // Numbers out of order or missing, several empty lines, no empty line at the end.
        {"3\r\n00:00:01,000 --> 00:00:02,500\r\nBir\r\n\r\n\r\n1\r\n00:00:03,040 --> 00:00:04,000\r\nİki\r\nx\r\n"
         "\r\n00:00:05,001 --> 00:00:06,000\r\nÜç",
         {{"0", "1", "2.5", "Bir"}, {"0", "3.04", "4", "İki|x"}, {"0", "5.001", "6", "Üç"}}},
        // LF and lone CR line ends, "." before the milliseconds, any hour digits,
        // coordinates after the end time, blanks on the empty lines.
        {"1\n0:00:01.000 --> 100:00:00.001  X1:100 X2:200\nA\nB\n \n2\n00:01:00,000-->00:01:01,000\nC\n",
         {{"0", "1", "360000.001", "A|B"}, {"0", "60", "61", "C"}}},
        {"1\r00:00:01,000 --> 00:00:02,000\rA\r\r2\r00:00:03,000 --> 00:00:04,000\rB\r",
         {{"0", "1", "2", "A"}, {"0", "3", "4", "B"}}},
        // Markup is text; a subtitle may have no text at all.
        {"1\n00:00:01,000 --> 00:00:02,000\n{\\an8}<i>Yukarıda</i>\n<font color=\"#ff0000\">kırmızı</font> <b>b</b>\n\n"
         "2\n00:00:03,000 --> 00:00:04,000\n\n",
         {{"0", "1", "2", "{\\an8}<i>Yukarıda</i>|<font color=\"#ff0000\">kırmızı</font> <b>b</b>"},
          {"0", "3", "4", ""}}},
        // Every digit of the usual time line in its place; a tab after it.
        {"1\r\n12:34:56,789 --> 23:59:59,999\t\r\nSaat\r\n", {{"0", "45296.789", "86399.999", "Saat"}}},
        // Times before the film's start, as a shift in another program leaves them.
        {"1\r\n-00:00:06,843 --> -00:00:02,850\r\nÖnce\r\n", {{"0", "-6.843", "-2.85", "Önce"}}},
        {"", {}},
    };
    for (const auto &[text, rows] : cases) {
        const ReadOutcome read = subrip::read(text, nf);
        EXPECT_FALSE(read.error) << describe(read.error.value_or(Message())).toStdString();
        EXPECT_EQ(read.rows, rows) << text.toStdString();
    }
}

TEST_F(SubRipWebVttTest, ABrokenTimeLineStopsTheReadWithTheRowsSoFar)
{
    const QString longLine(20000, QLatin1Char('x'));
    const std::tuple<ReadOutcome, Rows, Message> cases[] = {
        {subrip::read(u"1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:03 --> 00:00:04\nB\n", nf),
         {{"0", "1", "2", "A"}, {}}, Message::of(msg::NotASubRipTimeLine, {"2", "00:00:03 --> 00:00:04"})},
        {subrip::read(u"1\n00:00:01,000 --> 00:00:02,0001\nA\n", nf), {{}},
         Message::of(msg::NoClockInTimeLine, {"1", "00:00:01,000 --> 00:00:02,0001"})},
        {subrip::read(u"1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n", nf), {{"0", "1", "2", "A"}, {}}, // cut short
         Message::of(msg::NotASubRipTimeLine, {"2", "2"})},
        {subrip::read(u"1\n999999999:00:00,000 --> 999999999:00:01,000\nA\n", nf), {{}},
         Message::of(msg::NotASubRipTimeLine, {"1", "999999999:00:00,000 --> 999999999:00:01,000"})},
        {subrip::read(QStringLiteral("1\n00:00:01,000 --> 00:00:02,000\nA\n") + longLine, nf), {{"0", "1", "2", "A"}},
         Message::of(msg::LineTooLong, {"1", "20000", "10000"})},
        {webvtt::read(u"WEBVTT\n\n00:01.000 --> 00:02.000\nA\n\n01:00.000 -> 01:01.000\nB\n", nf).read,
         {{"0", "1", "2", "A"}, {}}, Message::of(msg::NotAWebVttTimeLine, {"2", "01:00.000 -> 01:01.000"})},
        {webvtt::read(u"WEBVTT\n\nbir\niki\n", nf).read, {{}}, Message::of(msg::NotAWebVttTimeLine, {"1", "bir"})},
        {webvtt::read(u"WEBVTT\n\nid\n1:00.000 --> 1:01.000\n", nf).read, {{}},
         Message::of(msg::NotAWebVttTimeLine, {"1", "1:00.000 --> 1:01.000"})},
        {webvtt::read(QStringLiteral("WEBVTT\n\n00:01.000 --> 00:02.000\n") + longLine, nf).read, {{"0", "1", "2", ""}},
         Message::of(msg::LineTooLong, {"1", "20000", "10000"})},
        {webvtt::read(u"1\n00:00:01,000 --> 00:00:02,000\nA\n", nf).read, {}, Message::of(msg::NotAWebVttFile, {"1"})},
        {webvtt::read(u"", nf).read, {}, Message::of(msg::NotAWebVttFile, {""})},
    };
    for (const auto &[read, rows, error] : cases) {
        EXPECT_EQ(read.error, error);
        EXPECT_EQ(read.rows, rows) << describe(error).toStdString();
    }
}

TEST_F(SubRipWebVttTest, WebVttReadsCuesAndTellsWhatItLeftOut)
{
    const std::tuple<QString, Rows, bool> cases[] = {
        {"WEBVTT\n\n00:01.000 --> 00:02.500\nBir\n\n01:00:03.040 --> 01:00:04.000\n<i>İki</i>|x\n",
         {{"0", "1", "2.5", "Bir"}, {"0", "3603.04", "3604", "<i>İki</i>|x"}}, false},
        // A header line right before the first cue, "," before the milliseconds, CR LF.
        {QChar(0xFEFF) + QStringLiteral("WEBVTT\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n"), {{"0", "1", "2", "A"}}, false},
        {"WEBVTT\n\n-00:00:06.843 --> -00:00:02.850\nÖnce\n", {{"0", "-6.843", "-2.85", "Önce"}}, false},
        {"WEBVTT\n", {}, false},
        // Everything the list has no column for is skipped and reported.
        {"WEBVTT - Başlık\n\n00:01.000 --> 00:02.000\nA\n", {{"0", "1", "2", "A"}}, true},
        {"WEBVTT\nKind: captions\nLanguage: tr\n\n00:01.000 --> 00:02.000\nA\n", {{"0", "1", "2", "A"}}, true},
        {"WEBVTT\n\nSTYLE\n::cue { color: red }\n\nREGION\nid:r1\n\nNOTE bir not\nçok satırlı\n\n"
         "00:01.000 --> 00:02.000\nA\n",
         {{"0", "1", "2", "A"}}, true},
        {"WEBVTT\n\ngiris-1\n00:01.000 --> 00:02.000\nA\n", {{"0", "1", "2", "A"}}, true},
        {"WEBVTT\n\n00:01.000 --> 00:02.000 align:start position:10%\nA\n", {{"0", "1", "2", "A"}}, true},
        {"WEBVTT\n\n10:20:30.405 --> 10:20:31.506 line:0\nA\n", {{"0", "37230.405", "37231.506", "A"}}, true},
        // A block that begins "NOTE" but has a time line under it is a cue named NOTE.
        {"WEBVTT\n\nNOTE\n00:01.000 --> 00:02.000\nA\n", {{"0", "1", "2", "A"}}, true},
    };
    for (const auto &[text, rows, dropped] : cases) {
        const webvtt::Outcome read = webvtt::read(text, nf);
        EXPECT_FALSE(read.read.error) << describe(read.read.error.value_or(Message())).toStdString();
        EXPECT_EQ(read.read.rows, rows) << text.toStdString();
        EXPECT_EQ(read.droppedParts, dropped) << text.toStdString();
    }
}

TEST_F(SubRipWebVttTest, BothAreWrittenByteForByte)
{
    const Rows rows{{"7", "62.03", "64.5", "Merhaba|dünya"}, {"8", "3723.0456", "36000.1", "a||  |c|d"},
                    {"9", "-0.0004", "1", ""}};
    EXPECT_EQ(textOf(subrip::write(with(rows), nf)),
              "1\r\n00:01:02,030 --> 00:01:04,500\r\nMerhaba\r\ndünya\r\n\r\n"
              "2\r\n01:02:03,046 --> 10:00:00,100\r\na\r\nc\r\nd\r\n\r\n"
              "3\r\n00:00:00,000 --> 00:00:01,000\r\n\r\n");
    EXPECT_EQ(textOf(webvtt::write(list, nf)),
              "WEBVTT\n\n"
              "00:01:02.030 --> 00:01:04.500\nMerhaba\ndünya\n\n"
              "01:02:03.046 --> 10:00:00.100\na\nc\nd\n\n"
              "00:00:00.000 --> 00:00:01.000\n\n");
    // Where each row starts, for a message naming the row of a character
    // the encoding cannot hold.
    std::vector<qsizetype> offsets;
    const QString text = textOf(subrip::write(list, nf, &offsets));
    ASSERT_EQ(offsets.size(), 3u);
    for (std::size_t k = 0; k < offsets.size(); ++k)
        EXPECT_EQ(text.mid(offsets[k], 3), QStringLiteral("%1\r\n").arg(k + 1));
    EXPECT_EQ(textOf(subrip::write(with({}), nf)), "");
    EXPECT_EQ(textOf(webvtt::write(list, nf)), "WEBVTT\n\n");

    // Refusals name the row: not a number, before the film once rounded, too large.
    nf = NumberFormat::comma();
    const std::pair<Rows, Message> refused[] = {
        {{{"1", "1", "2", "x"}, {"2", "abc", "3", "y"}}, Message::of(msg::StartNotANumber, {"2", "abc"})},
        {{{"1", "1", "", "x"}}, Message::of(msg::EndNotANumber, {"1", ""})},
        {{{"1", "-0,0005", "1", "x"}}, Message::of(msg::StartBeforeFilm, {"1", "-0,0005"})},
        {{{"1", "1", "-2", "x"}}, Message::of(msg::EndBeforeFilm, {"1", "-2"})},
        {{{"1", "1", "1000000000000", "x"}}, Message::of(msg::ClockTimeTooLarge, {"1", "1000000000000"})},
        {{{"1", "1e300", "1", "x"}}, Message::of(msg::ClockTimeTooLarge, {"1", "1e300"})},
    };
    for (const auto &[bad, message] : refused) {
        EXPECT_EQ(subrip::write(with(bad), nf).error(), message);
        EXPECT_EQ(webvtt::write(list, nf).error(), message);
    }
}

TEST_F(SubRipWebVttTest, RowsComeBackThroughEitherFormat)
{
    for (const NumberFormat &format : {NumberFormat::dot(), NumberFormat::comma()}) {
        nf = format;
        // Millisecond times of every shape, lines with markup and Turkish letters.
        Rows rows;
        for (int i = 0; i < 300; ++i) {
            const qint64 start = qint64(i) * 7919 % 40000000 + (i % 7 == 0 ? 360000000 : 0);
            const QString text = i % 3 == 0   ? QStringLiteral("<i>Satır %1</i>|ğüşiöç İ").arg(i)
                : i % 3 == 1 ? QStringLiteral("{\\an8}%1").arg(i)
                             : QString();
            rows.push_back({"0", ThousandthsToText(start, nf), ThousandthsToText(start + 1 + i, nf), text});
        }
        const ReadOutcome srt = subrip::read(textOf(subrip::write(with(rows), nf)), nf);
        EXPECT_TRUE(srt.ok());
        EXPECT_EQ(srt.rows, rows);
        const webvtt::Outcome vtt = webvtt::read(textOf(webvtt::write(list, nf)), nf);
        EXPECT_TRUE(vtt.read.ok());
        EXPECT_FALSE(vtt.droppedParts);
        EXPECT_EQ(vtt.read.rows, rows);
    }

    // SubRip to SubViewer 2 and back keeps the hundredths.
    nf = NumberFormat::dot();
    const QString srt = QStringLiteral("1\r\n00:00:01,234 --> 00:00:02,995\r\nA\r\n\r\n"
                                       "2\r\n00:00:05,120 --> 00:00:06,000\r\nB\r\n\r\n"
                                       "3\r\n09:59:59,980 --> 09:59:59,994\r\nC\r\n\r\n");
    const ReadOutcome asSubViewer = subviewer::read(textOf(subviewer::write(with(subrip::read(srt, nf).rows), nf)), nf);
    EXPECT_EQ(textOf(subrip::write(with(asSubViewer.rows), nf)),
              "1\r\n00:00:01,230 --> 00:00:03,000\r\nA\r\n\r\n"
              "2\r\n00:00:05,120 --> 00:00:06,000\r\nB\r\n\r\n"
              "3\r\n09:59:59,980 --> 09:59:59,990\r\nC\r\n\r\n");
}

TEST_F(SubRipWebVttTest, Windows1254SubRipIsDecodedAndRead)
{
    const DecodedText decoded = decodeText("1\r\n00:00:01,000 --> 00:00:02,000\r\n\xDE\x65ker \xE7\x61y\xFD\r\n\xDDyi\r\n");
    EXPECT_EQ(decoded.encoding, TextEncoding::Windows1254);
    EXPECT_EQ(subrip::read(decoded.text, nf).rows, Rows({{"0", "1", "2", QStringLiteral("Şeker çayı|İyi")}}));
}

// Files as they are found (tests/data/wild, see tests/data/README.md), each
// read the way the open command and the converter read it: detected,
// decoded and read, with what the user is told.
TEST_F(SubRipWebVttTest, FilesFromTheWildAreReadAsOtherProgramsReadThem)
{
    using Keys = std::vector<Message>;
    const QString line10000(10000, QLatin1Char('x'));
    const QString sweet = QStringLiteral("Şeker çayı");
    const std::tuple<const char *, SubtitleFormat, Rows, std::optional<Message>, Keys> cases[] = {
        // Cues with no blank line between them are cues all the same; a
        // number in a text without a time line under it stays text.
        {"no-blank-lines.srt", SubtitleFormat::SubRip,
         {{"0", "1", "2", "Bir"}, {"0", "3", "4", "İki|1984"}, {"0", "5", "6", "Üç"}}, {}, {}},
        {"no-blank-lines.vtt", SubtitleFormat::WebVtt,
         {{"0", "1", "2", "Bir"}, {"0", "3", "4", "İki"}, {"0", "5", "6", "Üç"}}, {},
         {Message::of(msg::WebVttPartsDropped)}},
        // Blank lines inside a text: the text goes on to the next cue, the
        // blank lines are left out and said so once, naming the first row.
        {"blank-inside.srt", SubtitleFormat::SubRip,
         {{"0", "1", "2", "Birinci satır|ikinci satır"}, {"0", "3", "4", "İki"}, {"0", "5", "6", "Üç|ve dört"}}, {},
         {Message::of(msg::BlankLinesLeftOut, {"1"})}},
        {"blank-inside.vtt", SubtitleFormat::WebVtt, {{"0", "1", "2", "Bir|bir daha"}, {"0", "3", "4", "İki"}}, {},
         {Message::of(msg::BlankLinesLeftOut, {"1"}), Message::of(msg::WebVttPartsDropped)}},
        // UTF-16 with its mark, in every format; a mark further in is skipped.
        {"utf16le.srt", SubtitleFormat::SubRip, {{"0", "1", "2", sweet}, {"0", "3.5", "4", "İyi"}}, {}, {}},
        {"utf16be.vtt", SubtitleFormat::WebVtt, {{"0", "1", "2", sweet}, {"0", "3.5", "4", "İyi"}}, {}, {}},
        {"utf16be.sub", SubtitleFormat::SubViewer, {{"0", "1", "2", sweet + "|İyi"}}, {}, {}},
        {"utf16le.txt", SubtitleFormat::MicroDvd, {{"0", "1", "2", sweet + "|İyi"}, {"0", "3", "4", "İki"}}, {}, {}},
        {"joined-marks.srt", SubtitleFormat::SubRip, {{"0", "1", "2", "Bir"}, {"0", "3", "4", "İki"}}, {}, {}},
        {"joined-marks-utf16le.srt", SubtitleFormat::SubRip, {{"0", "1", "2", "Bir"}, {"0", "3", "4", "İki"}}, {}, {}},
        // One stray byte in UTF-8 spoils one letter, not the file; a plain
        // Windows-1254 file is read as ever.
        {"stray-byte.srt", SubtitleFormat::SubRip,
         {{"0", "1", "2", sweet}, {"0", "3", "4", QStringLiteral("İyi \uFFFDgünler")}, {"0", "5", "6", "Güle güle"}}, {},
         {Message::of(msg::InvalidBytesReplaced, {"2"})}},
        {"windows-1254.srt", SubtitleFormat::SubRip, {{"0", "1", "2", sweet}, {"0", "3", "4", "İyi günler »"}}, {}, {}},
        // "|" is the list's line break: said once, with the first row.
        {"bars.srt", SubtitleFormat::SubRip,
         {{"0", "1", "2", "Bir"}, {"0", "3", "4", "A | B|C"}, {"0", "5", "6", "D|E"}}, {},
         {Message::of(msg::BarsBecomeLineBreaks, {"2"})}},
        {"bars.vtt", SubtitleFormat::WebVtt, {{"0", "1", "2", "x|y"}}, {}, {Message::of(msg::BarsBecomeLineBreaks, {"1"})}},
        // Times that are no clock are refused, naming the row.
        {"short-milliseconds.srt", SubtitleFormat::SubRip, {{}}, Message::of(msg::NoClockInTimeLine, {"1", "00:00:01,50 --> 00:00:02,000"}), {}},
        {"sixty-minutes.srt", SubtitleFormat::SubRip, {{"0", "1", "2", "Bir"}, {}},
         Message::of(msg::NoClockInTimeLine, {"2", "00:60:00,000 --> 00:60:01,000"}), {}},
        {"sixty-seconds.vtt", SubtitleFormat::WebVtt, {{"0", "1", "2", "Bir"}, {}},
         Message::of(msg::NoClockInTimeLine, {"2", "00:60.000 --> 01:01.000"}), {}},
        // An end before its start is read; the check before a save names it.
        {"end-before-start.srt", SubtitleFormat::SubRip, {{"0", "5", "4", "Geri"}}, {}, {}},
        {"positions.srt", SubtitleFormat::SubRip, {{"0", "1", "2", "Bir"}, {"0", "3", "4", "İki"}}, {},
         {Message::of(msg::SubRipPositionDropped, {"2"})}},
        {"longest-line.srt", SubtitleFormat::SubRip, {{"0", "1", "2", line10000}}, {}, {}},
    };
    for (const auto &[name, format, rows, error, notices] : cases) {
        const QByteArray bytes = fixture((std::string("wild/") + name).c_str());
        ASSERT_FALSE(bytes.isEmpty()) << name;
        EXPECT_EQ(detectFormat(bytes), format) << name;
        const ReadOutcome read = readSubtitleBytes(format, bytes, 25, nf);
        EXPECT_EQ(read.error, error) << name;
        EXPECT_EQ(read.rows, rows) << name;
        EXPECT_EQ(read.notices, notices) << name;
    }
}

// tests/data holds files ffmpeg 5.1 made from files this program wrote (see
// tests/data/README.md): ffmpeg read ours as we meant them, and we read
// what ffmpeg wrote as it meant it.
TEST_F(SubRipWebVttTest, FilesConvertedByFfmpegHoldTheSameCues)
{
    const Rows written{
        {"0", "1.5", "3.25", "Merhaba dünya!"},
        {"0", "4", "6.001", "<i>İtalik bir satır</i>|ve ikinci satır"},
        {"0", "62.999", "65.1", "Şoför çabuk gelsin."},
        {"0", "3723.45", "3725", "Bir saatten sonra|üç|satır"},
        {"0", "36000.123", "36002", "On saat sonra"},
    };
    EXPECT_EQ(fixture("ours.srt"), textOf(subrip::write(with(written), nf)).toUtf8());
    EXPECT_EQ(fixture("ours.vtt"), textOf(webvtt::write(list, nf)).toUtf8());
    for (const char *name : {"ours-ffmpeg.srt", "ours-vtt-ffmpeg.srt"}) {
        const ReadOutcome read = subrip::read(decodeText(fixture(name)).text, nf);
        EXPECT_TRUE(read.ok()) << name;
        EXPECT_EQ(read.rows, written) << name;
    }
    for (const char *name : {"ours-ffmpeg.vtt", "ours-vtt-ffmpeg.vtt"}) {
        const webvtt::Outcome read = webvtt::read(decodeText(fixture(name)).text, nf);
        EXPECT_TRUE(read.read.ok()) << name;
        EXPECT_EQ(read.read.rows, written) << name;
    }

    // Files written by hand with what other programs leave in them, and
    // ffmpeg's reading of them: our reading must agree cue by cue.
    const webvtt::Outcome styled = webvtt::read(decodeText(fixture("styled.vtt")).text, nf);
    EXPECT_TRUE(styled.read.ok());
    EXPECT_TRUE(styled.droppedParts);
    const ReadOutcome styledByFfmpeg = subrip::read(decodeText(fixture("styled-ffmpeg.srt")).text, nf);
    EXPECT_EQ(styledByFfmpeg.rows.size(), 3u);
    EXPECT_EQ(styled.read.rows, styledByFfmpeg.rows);

    const ReadOutcome messy = subrip::read(decodeText(fixture("messy.srt")).text, nf);
    EXPECT_TRUE(messy.ok());
    const ReadOutcome messyByFfmpeg = subrip::read(decodeText(fixture("messy-ffmpeg.srt")).text, nf);
    EXPECT_EQ(messyByFfmpeg.rows.size(), 4u);
    EXPECT_EQ(messy.rows, messyByFfmpeg.rows);
}
