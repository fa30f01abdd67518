// The two subtitle formats, their detection and the text encodings.
#include "document/FormatDetection.h"
#include "document/FrameRate.h"
#include "document/SubRipFormat.h"
#include "document/MicroDvdFormat.h"
#include "document/TextCodec.h"
#include "document/TimeText.h"
#include "support/QtPrinters.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace korv;
using korv::test::textOf;

namespace {

using Rows = std::vector<SubtitleEntry>;

const QString kHeader = QStringLiteral(
    "[INFORMATION]\r\n[TITLE]SubViewer 2\r\n[AUTHOR]Korvendal AltYazi v1.1\r\n[SOURCE]Korvendal Production\r\n"
    "[PRG]\r\n[FILEPATH]\r\n[DELAY]0\r\n[CD TRACK]0\r\n[COMMENT]http://www.korvendal.example/altyazi\r\n"
    "[END INFORMATION]\r\n[SUBTITLE]\r\n[COLF]&HFFFFFF,[STYLE]bd,[SIZE]18,[FONT]Arial\r\n");

class FormatTest : public ::testing::Test {
protected:
    SubtitleList list;
    NumberFormat nf = NumberFormat::dot();
    const SubtitleList &with(Rows rows)
    {
        list.replaceAll(std::move(rows));
        return list;
    }
};

} // namespace

TEST_F(FormatTest, ReadsWhatEitherFormatHolds)
{
    const std::pair<ReadOutcome, Rows> cases[] = {
        // Breaks in any case; the comma form of a time line, read by position.
        {subviewer::read(kHeader + "00:01:02.03,00:01:04.50\r\nMerhaba[BR]dünya\r\n\r\n"
                                   "00:01:05,00,00:01:06,25\r\na[br]b[Br]c[b r]d|e\r\n\r\n", nf),
         {{"0", "62.03", "64.5", "Merhaba|dünya"}, {"0", "65", "66.25", "a|b|c[b r]d|e"}}},
        // The header ends at the first time line, even after an hour.
        {subviewer::read(u"[INFORMATION]\n[TITLE]x\n01:00:00.00,01:00:02.00\nGeç\n\n", nf), {{"0", "3600", "3602", "Geç"}}},
        // LF and lone CR line ends; trailing blank lines.
        {subviewer::read(u"[INFORMATION]\n00:00:01.00,00:00:02.00\nA\n\n\n\n", nf), {{"0", "1", "2", "A"}}},
        {subviewer::read(u"[INFORMATION]\r00:00:01.00,00:00:02.00\rA\r\r00:00:03.00,00:00:04.00\rB\r", nf),
         {{"0", "1", "2", "A"}, {"0", "3", "4", "B"}}},
        // Blanks and signs inside the two-character fields; anything after 23 is ignored.
        {subviewer::read(u"[INFORMATION]\n00:00: 5.-1,00:01:00x00 trailing\nA\n", nf), {{"0", "4.99", "60", "A"}}},
        {microdvd::read(u"{37}{80}Merhaba|dünya\r\n", 25, nf), {{"0", "1.48", "3.2", "Merhaba|dünya"}}},
        // A frame-rate line is an ordinary subtitle; blank lines carry none.
        {microdvd::read(u"{1}{1}23.976\r\n\n\r\n{25}{50}A\n\n", 25, nf), {{"0", "0.04", "0.04", "23.976"}, {"0", "1", "2", "A"}}},
        // Only the digits of a frame part count; style codes after the frames are text.
        {microdvd::read(u"{1 0}{2x5}{y:i}Merhaba|dünya\r\n{12}{34", 1, nf),
         {{"0", "10", "25", "{y:i}Merhaba|dünya"}, {"0", "12", "34", ""}}},
        // Times before the film's start, as another program leaves them after a
        // shift: a minus right before the digits. A minus elsewhere is ignored.
        {microdvd::read(u"{-164}{-68}Önce\r\n{1-0}{ -5}x\r\n", 25, nf),
         {{"0", "-6.56", "-2.72", "Önce"}, {"0", "0.4", "-0.2", "x"}}},
        {subviewer::read(u"[INFORMATION]\r\n-00:00:06.84,-00:00:02.85\r\nÖnce\r\n\r\n"
                         u"-00:00:01.00,00:00:01.50\r\nAra\r\n\r\n00:00:03.00,00:00:04.00\r\nSonra\r\n", nf),
         {{"0", "-6.84", "-2.85", "Önce"}, {"0", "-1", "1.5", "Ara"}, {"0", "3", "4", "Sonra"}}},
        // A header that ends at a negative time line still ends there.
        {subviewer::read(u"-00:00:01.00,-00:00:00.50\nA\n", nf), {{"0", "-1", "-0.5", "A"}}},
    };
    for (const auto &[read, rows] : cases) {
        EXPECT_FALSE(read.error) << describe(read.error.value_or(Message())).toStdString();
        EXPECT_EQ(read.rows, rows);
    }
    EXPECT_TRUE(subviewer::read(kHeader, nf).ok());
    EXPECT_TRUE(subviewer::read(kHeader, nf).rows.empty());
}

TEST_F(FormatTest, AFailedReadKeepsTheRowsSoFarAndNamesTheRow)
{
    const QString longLine = QStringLiteral("{1}{2}") + QString(100000, QLatin1Char('x'));
    const std::tuple<ReadOutcome, Rows, Message> cases[] = {
        // Records without separators (the second time line is taken for a
        // separator, its text for a time line), or text without time lines.
        {subviewer::read(u"[INFORMATION]\r\n00:00:01.00,00:00:02.00\r\nA\r\n00:00:03.00,00:00:04.00\r\nB\r\n", nf),
         {{"0", "1", "2", "A"}, {}}, Message::of(msg::NotATimeLine, {"2", "B"})},
        {subviewer::read(u"[INFORMATION]\r\nnot a subtitle\r\n", nf), {{}}, Message::of(msg::NotATimeLine, {"1", "[INFORMATION]"})},
        {subviewer::read(u"[INFORMATION]\r\n00:00:01.00,00:00:02.00", nf), {{"0", "1", "2", ""}}, // truncated
         Message::of(msg::FileEndsBeforeText, {"1"})},
        {subviewer::read(u"[INFORMATION]\n00:00:0x.00,00:00:01.00\nA\n", nf), {{}},
         Message::of(msg::NotATimeLine, {"1", "00:00:0x.00,00:00:01.00"})},
        {subviewer::read(QStringLiteral("[INFORMATION]\n00:00:01.00,00:00:02.00\n") + longLine, nf), {{"0", "1", "2", ""}},
         Message::of(msg::LineTooLong, {"1", "100006", "10000"})},
        {microdvd::read(u"{1}{2}a\r\n{}{5}b\r\n{6}{7}c\r\n", 25, nf), {{"0", "0.04", "0.08", "a"}, {}},
         Message::of(msg::NoStartFrame, {"2", "{}{5}b"})},
        {microdvd::read(u"{1}{2}a", 0, nf), {{}}, Message::of(msg::FrameRateUnusable, {"0"})},
        // One past the largest 32-bit frame is damage; the largest itself is a time.
        {microdvd::read(u"{2147483647}{-2147483647}a\r\n{1}{2147483648}b\r\n", 1, nf),
         {{"0", "2147483647", "-2147483647", "a"}, {}}, Message::of(msg::FrameNumberTooLarge, {"2"})},
        {microdvd::read(QStringLiteral("{1}{2}a\r\n") + longLine, 25, nf), {{"0", "0.04", "0.08", "a"}, {}},
         Message::of(msg::LineTooLong, {"2", "100006", "10000"})},
    };
    for (const auto &[read, rows, error] : cases) {
        EXPECT_EQ(read.error, error);
        EXPECT_EQ(read.rows, rows) << describe(error).toStdString();
    }
}

TEST_F(FormatTest, SubViewerIsWrittenByteForByteAndReadsBack)
{
    EXPECT_EQ(textOf(subviewer::write(with({{"1", "62.03", "64.5", "Merhaba|dünya"}, {"2", "1.5", "3.2", "a|b|c|d"},
                                            {"3", "4", "5", "a||c"}, {"4", "6", "7", ""}}), nf)),
              kHeader + "00:01:02.03,00:01:04.50\r\nMerhaba[br]dünya\r\n\r\n"
                        "00:00:01.50,00:00:03.20\r\na[br]b[br]c[br]d\r\n\r\n"
                        "00:00:04.00,00:00:05.00\r\na[br]c\r\n\r\n"
                        "00:00:06.00,00:00:07.00\r\n\r\n\r\n");
    EXPECT_EQ(textOf(subviewer::write(with({}), nf)), kHeader);

    nf = NumberFormat::comma();
    const ReadOutcome back = subviewer::read(
        textOf(subviewer::write(with({{"1", "0,04", "1,999", "Bir|İki|Üç"}, {"2", "3599,99", "3723,45", "x"}}), nf)), nf);
    EXPECT_TRUE(back.ok());
    EXPECT_EQ(back.rows, Rows({{"0", "0,04", "2", "Bir|İki|Üç"}, {"0", "3599,99", "3723,45", "x"}}));

    // A time that is not a number, or ten hours and more, names its row.
    EXPECT_EQ(subviewer::write(with({{"1", "abc", "2", "x"}}), nf).error(), Message::of(msg::StartNotANumber, {"1", "abc"}));
    EXPECT_EQ(subviewer::write(with({{"1", "1", "2", "x"}, {"2", "36000", "36001", "y"}}), nf).error(),
              Message::of(msg::NoClockTime, {"2", "36000"}));
    // Below zero the clock text would not read back: refused, naming the row and the time.
    EXPECT_EQ(subviewer::write(with({{"1", "1", "-0,5", "x"}}), nf).error(), Message::of(msg::EndBeforeFilm, {"1", "-0,5"}));
    EXPECT_TRUE(subviewer::write(with({{"1", "-0,004", "1", "x"}}), nf).ok()) << "rounds to 00:00:00.00";

    const SubtitleLines l = SplitSubtitleLines(QStringLiteral("a|b|c|d"));
    EXPECT_EQ(QStringList({l.line1, l.line2, l.line3}), QStringList({"a", "b", "c"}));
    const SubtitleLines two = SplitSubtitleLines(QStringLiteral("|b"));
    EXPECT_EQ(QStringList({two.line1, two.line2, two.line3}), QStringList({"", "b", ""}));
}

TEST_F(FormatTest, MicroDvdFramesTruncateButNoFrameIsLost)
{
    EXPECT_EQ(textOf(microdvd::write(with({{"1", "1.48", "3.2", "Merhaba|dünya"}}), 25, nf)), "{37}{80}Merhaba|dünya\r\n");
    EXPECT_EQ(textOf(microdvd::write(with({{"1", "1.5", "3.2", "a|b|c|d"}}), 25, nf)), "{37}{80}a|b|c|d\r\n");
    // A frame before the film's start would read back without its sign: refused, naming the row.
    EXPECT_EQ(microdvd::write(with({{"1", "1", "2", "x"}, {"2", "-1.5", "3.2", "y"}}), 25, nf).error(),
              Message::of(msg::StartBeforeFilm, {"2", "-1.5"}));
    EXPECT_TRUE(microdvd::write(with({{"1", "-0.004", "1", "x"}}), 25, nf).ok()) << "rounds to 0";
    EXPECT_EQ(textOf(microdvd::write(with({}), 25, nf)), "");
    // A frame past the 32-bit counter could not be read back (a shift of 10^8 s).
    EXPECT_EQ(microdvd::write(with({{"1", "100000000", "100000001", "x"}}), 25, nf).error(),
              Message::of(msg::NoFrameForTime, {"1", "100000000", "25", "2147483647"}));
    EXPECT_EQ(textOf(microdvd::write(with({{"1", "85899345.88", "85899345.88", "x"}}), 25, nf)),
              "{2147483647}{2147483647}x\r\n");

    // Typed times truncate: 10 s at 23.976 is frame 239.76, written 239.
    const microdvd::FrameTimes film(23.976);
    EXPECT_EQ(film.frameOf(1000), 239);
    // No tolerance beyond the half hundredth: (2543.33 + 0.005) * 23.976 is
    // 60978.99996, frame 60978 (a tolerance of a billionth of the product
    // would make it 60979).
    EXPECT_EQ(film.frameOf(254333), 60978);
    EXPECT_EQ(microdvd::FrameTimes(25).frameOf(116), 29) << "1.16 s is frame 29, not 28.999...";
    EXPECT_FALSE(film.frameOf(-1));

    // 240 at 23.976 reads as 10.01 s, a hair below the frame's time; it must
    // be written as 240 again, and so must every frame of ten hours at the
    // usual rates: an open and a save move no subtitle.
    nf = NumberFormat::comma();
    EXPECT_EQ(textOf(microdvd::write(with(microdvd::read(u"{240}{480}x\r\n", 23.976, nf).rows), 23.976, nf)),
              "{240}{480}x\r\n");
    for (double rate : {23.976, 24.0, 25.0, 29.97, 30.0, 50.0, 59.94}) {
        const microdvd::FrameTimes times(rate);
        const qint64 last = qint64(36000 * rate);
        for (qint64 frame = 0; frame <= last; ++frame) {
            const qint64 hundredths = times.hundredthsOf(frame).value_or(-1);
            ASSERT_EQ(times.frameOf(hundredths), frame) << "frame " << frame << " at " << rate;
        }
        // And through the texts, as a file is opened and saved.
        QString file;
        for (qint64 frame = last - 3000; frame <= last; frame += 3)
            file += QStringLiteral("{%1}{%2}x\r\n").arg(frame).arg(frame + 1);
        const ReadOutcome r = microdvd::read(file, rate, nf);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(textOf(microdvd::write(with(r.rows), rate, nf)), file) << rate;
    }
}

// Values at the very edge of what is taken, and the tie rule as a file
// shows it.
TEST_F(FormatTest, EdgesOfTheFrameRateAndTiesInTheWrittenTimes)
{
    for (const NumberFormat &format : {NumberFormat::dot(), NumberFormat::comma()}) {
        EXPECT_EQ(readFrameRate(QStringLiteral("1"), format), 1.0);
        EXPECT_EQ(readFrameRate(QStringLiteral("1000"), format), 1000.0);
        for (const char *refused : {"0.999", "1000.001", "0", "-25"})
            EXPECT_FALSE(readFrameRate(QString::fromLatin1(refused), NumberFormat::dot())) << refused;
    }
    // A tie rounds away from zero, though 1.005 and 4.0005 are a little less
    // in binary.
    const std::string subViewer = textOf(subviewer::write(with({{"1", "1.005", "4.0005", "x"}}), nf)).toStdString();
    EXPECT_NE(subViewer.find("\r\n00:00:01.01,00:00:04.00\r\n"), std::string::npos) << subViewer;
    EXPECT_EQ(textOf(subrip::write(list, nf)), "1\r\n00:00:01,005 --> 00:00:04,001\r\nx\r\n\r\n");
}

TEST(FormatDetection, FirstFieldDecidesPastAByteOrderMark)
{
    const std::pair<QByteArray, SubtitleFormat> cases[] = {
        {"[INFORMATION]\r\n[TITLE]x", SubtitleFormat::SubViewer}, {"[INFORMATION],extra\r\n", SubtitleFormat::SubViewer},
        {"\xEF\xBB\xBF[INFORMATION]\r\n", SubtitleFormat::SubViewer}, {"[information]\r\n", SubtitleFormat::Unknown},
        {" [INFORMATION] more\r\n", SubtitleFormat::Unknown}, {"{1}{25}Hello, world\r\n", SubtitleFormat::MicroDvd},
        {"\"{quoted\",x", SubtitleFormat::MicroDvd}, {"", SubtitleFormat::Unknown},
        {QByteArray("\x00\x01\xFF garbage", 12), SubtitleFormat::Unknown},
    };
    for (const auto &[bytes, format] : cases)
        EXPECT_EQ(detectFormat(bytes), format) << bytes.toStdString();
    EXPECT_EQ(firstCsvField(u"  \"a,b\",c"), "a,b");
}

TEST(TextCodec, Utf8WithOrWithoutMarkElseWindows1254)
{
    const QString turkish = QStringLiteral("Şeker çayı Ğüzel İyi");
    const std::tuple<QByteArray, TextEncoding, QString> cases[] = {
        {"\xDE\x65ker \xE7\x61y\xFD \xD0\xFCzel \xDDyi", TextEncoding::Windows1254, turkish},
        {turkish.toUtf8(), TextEncoding::Utf8, turkish},
        {"\xEF\xBB\xBF" + turkish.toUtf8(), TextEncoding::Utf8, turkish}, // the mark is not text
        {"plain ascii", TextEncoding::Windows1254, "plain ascii"},
        {"\xF0\x9F\x98\x80", TextEncoding::Utf8, QStringLiteral("😀")},
        {"\xC0\xAF", TextEncoding::Windows1254, QStringLiteral("À¯")},   // overlong "/"
        {"\xED\xA0\x80", TextEncoding::Windows1254, QStringLiteral("í\u00A0€")}, // a surrogate
        {"ok \xC3", TextEncoding::Windows1254, QStringLiteral("ok Ã")},     // cut short
        {"\xE3", TextEncoding::Windows1254, QStringLiteral("ã")},
        // The evidence decides: sequences at least twice the stray bytes.
        {turkish.toUtf8() + "\xFF", TextEncoding::Utf8, turkish + QChar::ReplacementCharacter},
        {"\xC3\xBC\xC3\xA7 \xFC", TextEncoding::Utf8, QStringLiteral("üç \uFFFD")},
        {"\xC3\xBC \xFC", TextEncoding::Windows1254, QStringLiteral("Ã¼ ü")},
        // UTF-16 by its mark; a mark further in is no text, in any encoding.
        {QByteArray("\xFF\xFE\x5F\x01x\0", 6), TextEncoding::Utf16LE, QStringLiteral("şx")},
        {QByteArray("\xFE\xFF\x01\x5F\xFE\xFF\0x", 8), TextEncoding::Utf16BE, QStringLiteral("şx")},
        {"a\xEF\xBB\xBF\xC3\xBC", TextEncoding::Utf8, QStringLiteral("aü")},
    };
    // Bytes expected in UTF-8 (SubRip) are decoded in another order, to
    // the same text.
    for (const ExpectedEncoding expected : {ExpectedEncoding::Windows1254, ExpectedEncoding::Utf8}) {
        for (const auto &[bytes, encoding, text] : cases) {
            const DecodedText decoded = decodeText(bytes, expected);
            EXPECT_EQ(decoded.encoding, encoding) << bytes.toStdString();
            EXPECT_EQ(decoded.text, text) << bytes.toStdString();
            EXPECT_EQ(decoded.replaced, text.contains(QChar::ReplacementCharacter)) << bytes.toStdString();
        }
    }
    // Every byte, in every neighbourhood, as the system's own decoder reads it.
    // (After a letter: a file that begins FF FE is UTF-16.)
    QByteArray everyByte = "x";
    for (int i = 255; i >= 0; --i)
        everyByte += char(i);
    everyByte += everyByte.right(128) + '\0' + everyByte;
    EXPECT_EQ(decodeText(everyByte).text, QStringDecoder("windows-1254")(everyByte).operator QString());
}

TEST(TextCodec, LinesEndAtCrLfCrOrLfAndEncodingFindsWhatHasNoByte)
{
    QStringList lines;
    for (QStringView line : splitLines(u"a\r\nb\rc\nd\r\n\r\ne"))
        lines << line.toString();
    EXPECT_EQ(lines, QStringList({"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(splitLines(u"x\r\n").size(), 1u);
    EXPECT_EQ(splitLines(u"").size(), 0u);
    // Lines of every length up to past two blocks of eight characters, each
    // line end at every place in a block, a CR LF split between blocks.
    QString text;
    QStringList expected;
    const QStringView ends[] = {u"\r\n", u"\n", u"\r"};
    for (int length = 0; length < 20; ++length) {
        for (int e = 0; e < 3; ++e) {
            const QString line = QString(length, QChar(u'a' + e)) + QChar(0x015F);
            expected << line;
            text += line;
            text += ends[e];
        }
    }
    text += QStringLiteral("last line without an end");
    expected << QStringLiteral("last line without an end");
    lines.clear();
    for (QStringView line : splitLines(text))
        lines << line.toString();
    EXPECT_EQ(lines, expected);

    const EncodedText ok = encodeWindows1254(u"Işık ğüşöç €");
    EXPECT_EQ(ok.unencodable, -1);
    EXPECT_EQ(ok.bytes, QByteArray("I\xFE\xFDk \xF0\xFC\xFE\xF6\xE7 \x80"));
    EXPECT_EQ(encodeWindows1254(u"ab\u4E2Dc").unencodable, 2);
    EXPECT_EQ(encodeWindows1254(QStringLiteral("a😀")).unencodable, 1);
}
