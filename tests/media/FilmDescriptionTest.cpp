// What the media library tells of films of every container, the rows the
// information panel makes of it, and the rate a film's time stamps measure.
#include "media/FilmDescription.h"
#include "media/FilmSummary.h"
#include "media/FilmTypes.h"
#include "media/MediaMessages.h"
#include "support/QtPrinters.h"
#include "support/TestFilms.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace korv;
using namespace korv::media;
using namespace korv::test;

namespace {

Result<FilmDescription> describe(TestFilm film)
{
    const QString path = testFilm(film);
    if (path.isEmpty())
        return Failure{Message::system(QStringLiteral("ffmpeg could not make the film"))};
    return describeFilm(path);
}

// "H264 160x90 24000/1001 constant 72 counted" for comparing in one line.
QString videoLine(const FilmDescription &d)
{
    if (!d.video)
        return QStringLiteral("no picture");
    const VideoStream &v = *d.video;
    return QStringLiteral("%1 %2x%3 %4/%5 %6 %7 %8")
        .arg(v.codec)
        .arg(v.width)
        .arg(v.height)
        .arg(v.rate.num)
        .arg(v.rate.den)
        .arg(v.variable ? "variable" : "constant")
        .arg(v.frames)
        .arg(v.framesCounted ? "counted" : "worked out");
}

QStringList audioLines(const FilmDescription &d)
{
    QStringList lines;
    for (const AudioTrack &t : d.audio)
        lines << QStringLiteral("%1 %2 %3 %4 %5").arg(t.number).arg(t.codec).arg(t.channels).arg(t.sampleRate).arg(t.language);
    return lines;
}

// English words for the rows, as the converter has them.
QString english(const Message &m)
{
    static const QMap<QString, QString> words = {
        {msg::RowContainer, "CONTAINER :"},   {msg::RowVideoCodec, "VIDEO CODEC :"},
        {msg::RowResolution, "RESOLUTION :"}, {msg::RowFrameRate, "FRAME RATE :"},
        {msg::RowTotalFrames, "TOTAL FRAMES :"}, {msg::RowDuration, "DURATION :"},
        {msg::RowAudioTrack, "AUDIO TRACK %1 :"}, {msg::VariableRate, "variable, on average %1"},
        {msg::AudioTrackValue, "%1, channels: %2, %3 Hz"}, {msg::AboutFrames, "about %1"},
    };
    return fillIn(words.value(m.key, m.key), m.args);
}

} // namespace

TEST(FilmDescription, EveryContainerTellsItsPictureExactRateAndSound)
{
    struct Case {
        TestFilm film;
        const char *container; // a word of the library's name for it
        const char *video;
        QStringList audio;
    };
    const Case cases[] = {
        // Films this short are read to their end, so every frame is counted.
        {TestFilm::Mkv23976, "Matroska", "H264 160x90 24000/1001 constant 72 counted", {"0 AAC 2 48000 tur"}},
        {TestFilm::Mp425, "MPEG-4 (MP4)", "H264 160x90 25/1 constant 75 counted", {"0 AAC 2 48000 "}},
        {TestFilm::WebM2997, "WebM", "VP9 160x90 30000/1001 constant 90 counted", {"0 OPUS 2 48000 "}},
        {TestFilm::Mov60, "QuickTime (MOV)", "H264 160x90 60/1 constant 120 counted", {"0 AAC 1 44100 "}},
        {TestFilm::Ts25, "MPEG-TS", "H264 160x90 25/1 constant 75 counted", {"0 MP2 2 48000 "}},
        {TestFilm::TwoTracksMkv, "Matroska", "H264 160x90 25/1 constant 100 counted",
         {"0 AAC 2 48000 tur", "1 OPUS 1 48000 eng"}},
        {TestFilm::SilentMp4, "MPEG-4 (MP4)", "H264 160x90 25/1 constant 50 counted", {}},
        {TestFilm::Dat25, "MPEG-PS", "MPEG1VIDEO 64x48 25/1 constant 75 counted", {}},
    };
    for (const Case &c : cases) {
        const auto d = describe(c.film);
        ASSERT_TRUE(d.ok()) << testFilm(c.film).toStdString() << ": " << d.error().args.join(' ').toStdString();
        EXPECT_TRUE(d->container.contains(QLatin1String(c.container))) << d->container.toStdString();
        EXPECT_EQ(videoLine(*d), c.video) << testFilm(c.film).toStdString();
        EXPECT_EQ(audioLines(*d), c.audio) << testFilm(c.film).toStdString();
        EXPECT_EQ(d->endsEarlyAt, 0) << testFilm(c.film).toStdString();
        EXPECT_GT(d->duration, 1.9);
    }
}

TEST(FilmDescription, AVariableRateIsSaidWithItsAverage)
{
    // 45 frames 1/30 s apart, then 22 frames 2/30 s apart: 66 steps over 88/30 s.
    for (TestFilm film : {TestFilm::VfrMp4, TestFilm::VfrMkv}) {
        const auto d = describe(film);
        ASSERT_TRUE(d.ok());
        ASSERT_TRUE(d->video);
        EXPECT_TRUE(d->video->variable) << testFilm(film).toStdString();
        EXPECT_EQ(d->video->rate, (Rational{45, 2})) << testFilm(film).toStdString();
        EXPECT_EQ(d->video->frames, 67);
    }
}

TEST(FilmDescription, TheRateTheStampsMeasure)
{
    // 23.976 in Matroska's milliseconds: steps of 41 and 42.
    std::vector<qint64> ms;
    for (int i = 0; i < 300; ++i)
        ms.push_back(std::llround(i * 1001.0 / 24.0));
    EXPECT_EQ(measureRate(ms, {1, 1000}).rate, (Rational{24000, 1001}));
    EXPECT_FALSE(measureRate(ms, {1, 1000}).variable);
    // Exactly 24, in decoding order rather than showing order (B-frames).
    std::vector<qint64> shuffled;
    for (int i = 0; i < 48; i += 3)
        shuffled.insert(shuffled.end(), {qint64(i + 2) * 1000, qint64(i) * 1000, qint64(i + 1) * 1000});
    EXPECT_EQ(measureRate(shuffled, {1, 24000}).rate, (Rational{24, 1}));
    // MPEG's 90 kHz clock at 29.97: steps of 3003.
    std::vector<qint64> mpeg;
    for (int i = 0; i < 100; ++i)
        mpeg.push_back(900000 + i * 3003);
    EXPECT_EQ(measureRate(mpeg, {1, 90000}).rate, (Rational{30000, 1001}));
    // No standard rate fits: the fraction the stamps measure.
    EXPECT_EQ(measureRate({0, 7, 14, 21}, {1, 1000}).rate, (Rational{1000, 7}));
    // The container's own rate, where the stamps agree with it.
    EXPECT_EQ(measureRate({0, 7, 14, 21}, {1, 1000}, {1000, 7}).rate, (Rational{1000, 7}));
    // Steps of 40 and 80 ms again and again are a variable rate; its average
    // is given.
    const MeasuredRate variable = measureRate({0, 40, 120, 160, 240, 280, 360}, {1, 1000});
    EXPECT_TRUE(variable.variable);
    EXPECT_EQ(variable.rate, (Rational{50, 3}));
    // A lost frame and a stamp placed a frame off leave the rate constant.
    std::vector<qint64> lost;
    for (int i = 0; i < 75; ++i)
        if (i != 30)
            lost.push_back(45000 + i * 3600);
    lost[20] = lost[21];
    EXPECT_FALSE(measureRate(lost, {1, 90000}).variable);
    EXPECT_EQ(measureRate(lost, {1, 90000}).rate, (Rational{25, 1}));
    // One stamp, or none, measures nothing.
    EXPECT_FALSE(measureRate({5}, {1, 1000}).rate.valid());
    EXPECT_FALSE(measureRate({}, {1, 1000}).rate.valid());
    EXPECT_FALSE(measureRate({0, 40}, {0, 1000}).rate.valid());
}

TEST(FilmDescription, WhatIsNoFilmIsToldWithItsReason)
{
    TestFolder folder;
    // Nothing a film holds: refused with the library's reason and the path.
    folder.write("empty.mp4", {});
    folder.write("text.mkv", "1\r\n00:00:01,000 --> 00:00:02,000\r\nMerhaba\r\n\r\n");
    folder.write("noise.mkv", QByteArray(4096, '\x5A'));
    for (const char *name : {"empty.mp4", "text.mkv", "noise.mkv"}) {
        const auto d = describeFilm(folder.filePath(name));
        ASSERT_FALSE(d.ok()) << name;
        EXPECT_TRUE(d.error().key == msg::FilmCannotBeRead || d.error().key == msg::FilmHoldsNothing) << name;
        if (d.error().key == msg::FilmCannotBeRead)
            EXPECT_FALSE(d.error().args.value(0).isEmpty()) << name;
        EXPECT_EQ(d.error().path, folder.filePath(name));
    }
    EXPECT_EQ(describeFilm(folder.filePath("missing.mkv")).error().key, msg::FilmCannotBeRead);
    // A named pipe is never opened: reading it would wait for a writer.
    ASSERT_EQ(::mkfifo(folder.filePath("pipe.mkv").toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(describeFilm(folder.filePath("pipe.mkv")).error().key, msg::NotARegularFile);

    // Sound alone is described, without a picture.
    const auto sound = describe(TestFilm::SoundOnlyMp4);
    ASSERT_TRUE(sound.ok());
    EXPECT_FALSE(sound->video);
    EXPECT_EQ(sound->audio.size(), 1u);

    // A film cut short in copying: where its pictures end.
    folder.write("cut.mkv", filmHead(TestFilm::Mkv23976, 0.4));
    const auto cut = describeFilm(folder.filePath("cut.mkv"));
    ASSERT_TRUE(cut.ok()) << cut.error().args.join(' ').toStdString();
    EXPECT_GT(cut->endsEarlyAt, 0.1);
    EXPECT_LT(cut->endsEarlyAt, cut->duration - 1.0);
}

TEST(FilmSummary, RowsAndLabelsOfADescribedFilm)
{
    const auto d = describe(TestFilm::TwoTracksMkv);
    ASSERT_TRUE(d.ok());
    FilmInformation info;
    EXPECT_DOUBLE_EQ(SummarizeFilm(*d, NumberFormat::comma(), english, info), 25.0);
    // The sound runs a few hundredths past the picture; the film lasts as long as either.
    ASSERT_GE(d->duration, 4.0);
    ASSERT_LT(d->duration, 4.1);
    const QString length = *FormatClockTime(d->duration);
    EXPECT_EQ(QStringList({info.resolution, info.totalFrames, info.totalTime, info.frameRate}),
              QStringList({"160x90", "100", length, "25 FPS"}));
    QStringList rows;
    for (const AviInfoRow &row : info.rows)
        rows << row.name + " " + row.value;
    EXPECT_EQ(rows, QStringList({"CONTAINER : " + d->container, "VIDEO CODEC : H264", "RESOLUTION : 160x90",
                                 "FRAME RATE : 25", "TOTAL FRAMES : 100", "DURATION : " + length,
                                 "AUDIO TRACK 1 : AAC, channels: 2, 48000 Hz, tur (Turkish)",
                                 "AUDIO TRACK 2 : OPUS, channels: 1, 48000 Hz, eng (English)"}));

    // An exact fraction keeps its fraction beside the decimal; a variable
    // rate says so; a film without a picture has no rate.
    FilmDescription film = *d;
    film.video->rate = {24000, 1001};
    SummarizeFilm(film, NumberFormat::comma(), english, info);
    EXPECT_EQ(info.rows[3].value, "23,976 (24000/1001)");
    EXPECT_EQ(info.frameRate, "23,976 FPS");
    film.video->framesCounted = false;
    SummarizeFilm(film, NumberFormat::comma(), english, info);
    EXPECT_EQ(info.rows[4].value, "about 100");
    EXPECT_EQ(info.totalFrames, "100");
    film.video->variable = true;
    film.video->rate = {45, 2};
    SummarizeFilm(film, NumberFormat::dot(), english, info);
    EXPECT_EQ(info.rows[3].value, "variable, on average 22.5 (45/2)");
    film.video.reset();
    EXPECT_EQ(SummarizeFilm(film, NumberFormat::dot(), english, info), 0.0);
    EXPECT_EQ(QStringList({info.resolution, info.totalFrames, info.frameRate}), QStringList({"-", "-", "-"}));
    EXPECT_EQ(info.rows.size(), 4u); // container, duration, two tracks
}

TEST(FilmTypes, EveryFilmThePlayerPlaysInEitherCase)
{
    for (const char *name : {"a.mkv", "B.MKV", "c.Mp4", "d.webm", "e.mov", "f.ts", "g.m2ts", "h.mpg", "i.mpeg",
                             "j.wmv", "k.ogv", "l.m4v", "m.avi", "n.DAT"})
        EXPECT_TRUE(isFilmFileName(name)) << name;
    for (const char *name : {"a.srt", "b.sub", "c.txt", "mkv", "d.mkv.srt"})
        EXPECT_FALSE(isFilmFileName(name)) << name;
    const QStringList patterns = filmPatterns().split(';');
    for (const char *pattern : {"*.avi", "*.dat", "*.mkv", "*.MKV", "*.mp4", "*.MP4", "*.m4v", "*.webm", "*.mov",
                                "*.ts", "*.m2ts", "*.mpg", "*.mpeg", "*.wmv", "*.ogv", "*.OGV"})
        EXPECT_TRUE(patterns.contains(pattern)) << pattern;
}
