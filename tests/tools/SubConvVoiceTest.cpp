// The converter laying a file's times on its film's speech: a film made
// from spoken sentences (tests/speech's generator) with a small picture,
// kept in the build folder, and subtitle files timed late or shifted.
#include "SubConv.h"
#include "SpeechSound.h"
#include "support/TestFilms.h"
#include "support/TestFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace korv;

namespace {

// The sound as a 16-bit WAV file.
QByteArray wavBytes(const test::SpeechSound &sound)
{
    QByteArray pcm;
    pcm.reserve(qsizetype(sound.samples.size()) * 2);
    for (float x : sound.samples) {
        const qint16 v = qint16(std::lround(std::clamp(x, -1.f, 1.f) * 32767));
        pcm.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
    }
    QByteArray wav = "RIFF";
    auto u32 = [&wav](quint32 v) {
        for (int i = 0; i < 4; ++i)
            wav.append(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&wav](quint16 v) { wav.append(char(v & 0xFF)).append(char(v >> 8)); };
    u32(quint32(36 + pcm.size()));
    wav += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(quint32(sound.sampleRate));
    u32(quint32(sound.sampleRate * 2));
    u16(2);
    u16(16);
    wav += "data";
    u32(quint32(pcm.size()));
    return wav + pcm;
}

struct SpeechFilm {
    QString path; // empty when it could not be made
    std::vector<test::SpokenLine> lines;
    QString error;
};

// A minute of `condition` under a 160x90 picture at 25 fps, in Matroska.
SpeechFilm speechFilm(test::SpeechCondition condition)
{
    const QString folder = QStringLiteral(KORV_TEST_MEDIA_DIR);
    QDir().mkpath(folder);
    const test::SpeechSound sound = test::makeSpeechSound(condition, 60, 11, folder);
    SpeechFilm film{{}, sound.lines, sound.error};
    if (!sound.error.isEmpty())
        return film;
    const QString path = folder + QStringLiteral("/film-%1-v1.mkv").arg(test::conditionName(condition));
    if (!QFile::exists(path)) {
        // Made under names of this process's own, so tests made at once do not meet.
        const QString part = path + QStringLiteral(".%1").arg(QCoreApplication::applicationPid());
        QFile out(part + QStringLiteral(".wav"));
        if (!out.open(QIODevice::WriteOnly) || out.write(wavBytes(sound)) < 0) {
            film.error = QStringLiteral("cannot write ") + out.fileName();
            return film;
        }
        out.close();
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=gray:s=160x90:r=25:d=60",
                                                "-i", out.fileName(), "-c:v", "libx264", "-preset", "ultrafast", "-c:a",
                                                "aac", "-b:a", "128k", "-shortest", "-f", "matroska", part});
        const bool made = ffmpeg.waitForFinished(120000) && ffmpeg.exitStatus() == QProcess::NormalExit
            && ffmpeg.exitCode() == 0;
        out.remove();
        if (!made) {
            film.error = QStringLiteral("ffmpeg failed: ") + QString::fromLocal8Bit(ffmpeg.readAllStandardError());
            return film;
        }
        if (!QFile::rename(part, path))
            QFile::remove(part); // another test made it meanwhile
    }
    film.path = path;
    return film;
}

// The silent film's sound as audio track 1 and the spoken one's as track 2,
// under the spoken film's picture: a film whose first track is no dialogue.
SpeechFilm speechOnSecondTrack()
{
    const SpeechFilm silent = speechFilm(test::SpeechCondition::Silence);
    SpeechFilm spoken = speechFilm(test::SpeechCondition::Clean);
    if (silent.path.isEmpty() || spoken.path.isEmpty()) {
        spoken.error += silent.error;
        spoken.path.clear();
        return spoken;
    }
    const QString path = QStringLiteral(KORV_TEST_MEDIA_DIR "/film-speech-on-track-2-v1.mkv");
    if (!QFile::exists(path)) {
        const QString part = path + QStringLiteral(".%1").arg(QCoreApplication::applicationPid());
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-i", spoken.path, "-i", silent.path, "-map", "0:v",
                                                "-map", "1:a", "-map", "0:a", "-c", "copy", "-f", "matroska", part});
        if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
            spoken.error = QStringLiteral("ffmpeg failed: ") + QString::fromLocal8Bit(ffmpeg.readAllStandardError());
            spoken.path.clear();
            return spoken;
        }
        if (!QFile::rename(part, path))
            QFile::remove(part); // another test made it meanwhile
    }
    spoken.path = path;
    return spoken;
}

// SubRip rows of the lines, row i timed at times(i).
QByteArray subRip(const std::vector<test::SpokenLine> &lines, const std::function<std::pair<double, double>(int)> &times)
{
    const auto clock = [](double t) {
        const qint64 ms = std::llround(t * 1000);
        return QStringLiteral("%1:%2:%3,%4")
            .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
            .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
            .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
            .arg(ms % 1000, 3, 10, QLatin1Char('0'));
    };
    QString text;
    for (int i = 0; i < int(lines.size()); ++i) {
        const auto [start, end] = times(i);
        text += QStringLiteral("%1\r\n%2 --> %3\r\nline %1\r\n\r\n").arg(i + 1).arg(clock(start), clock(end));
    }
    return text.toUtf8();
}

class SubConvVoiceTest : public ::testing::Test {
protected:
    test::TestFolder folder;
    QString path(const char *name) { return folder.filePath(QString::fromLatin1(name)); }
    QStringList run(const QStringList &args)
    {
        const SubConvOutput o = runSubConv(args);
        return {QString::number(o.exitCode), QString::fromUtf8(o.out), QString::fromUtf8(o.err)};
    }
    // The listing's starts and ends.
    std::vector<std::pair<double, double>> times(const QString &file)
    {
        std::vector<std::pair<double, double>> out;
        for (const QString &line : QString::fromUtf8(runSubConv({"--list", file}).out).split('\n', Qt::SkipEmptyParts)) {
            const QStringList cells = line.split('\t');
            out.push_back({cells[0].toDouble(), cells[1].toDouble()});
        }
        return out;
    }
};

} // namespace

TEST_F(SubConvVoiceTest, SnapMovesLateCapturesOntoTheSpeechAndSaysSo)
{
    const SpeechFilm film = speechFilm(test::SpeechCondition::Clean);
    if (film.path.isEmpty())
        GTEST_SKIP() << film.error.toStdString();
    ASSERT_GE(film.lines.size(), 6u);
    // Late as keypad captures are: 120 to 450 ms.
    const auto late = [](int i) { return 0.12 + 0.33 * ((i * 7) % 10) / 9.0; };
    folder.write("late.srt", subRip(film.lines, [&](int i) {
        return std::pair{film.lines[std::size_t(i)].start + late(i), film.lines[std::size_t(i)].end + late(i + 3)};
    }));
    const QStringList o = run({"--film", film.path, "--snap", "--to", "subrip", path("late.srt"), path("out.srt")});
    ASSERT_EQ(o[0], "0") << o[2].toStdString();
    EXPECT_TRUE(o[2].startsWith("korvendal-subconv: snapped to the film's speech: ")) << o[2].toStdString();
    const auto snapped = times(path("out.srt"));
    ASSERT_EQ(snapped.size(), film.lines.size());
    int startsNear = 0, endsNear = 0;
    for (std::size_t i = 0; i < snapped.size(); ++i) {
        startsNear += std::abs(snapped[i].first - film.lines[i].start) <= 0.1;
        endsNear += std::abs(snapped[i].second - film.lines[i].end) <= 0.15;
    }
    EXPECT_GE(startsNear, int(snapped.size()) - 1);
    EXPECT_GE(endsNear, int(snapped.size()) - 1);
    // What it said is what it did.
    const auto before = times(path("late.srt"));
    int startsMoved = 0, endsMoved = 0;
    for (std::size_t i = 0; i < snapped.size(); ++i) {
        startsMoved += snapped[i].first != before[i].first;
        endsMoved += snapped[i].second != before[i].second;
    }
    EXPECT_TRUE(o[2].contains(QStringLiteral(": %1 starts and %2 ends moved;").arg(startsMoved).arg(endsMoved)))
        << o[2].toStdString();
}

TEST_F(SubConvVoiceTest, FitFindsAShiftedFileAndNamesTheShift)
{
    const SpeechFilm film = speechFilm(test::SpeechCondition::Clean);
    if (film.path.isEmpty())
        GTEST_SKIP() << film.error.toStdString();
    folder.write("early.srt", subRip(film.lines, [&](int i) {
        return std::pair{film.lines[std::size_t(i)].start + 20 - 3.217, film.lines[std::size_t(i)].end + 20 - 3.217};
    }));
    // Shifted 16.783 s late: found within 20 ms.
    const QStringList o = run({"--film", film.path, "--fit", "--to", "webvtt", path("early.srt"), path("out.vtt")});
    ASSERT_EQ(o[0], "0") << o[2].toStdString();
    EXPECT_TRUE(o[2].startsWith("korvendal-subconv: fitted to the film's speech: -16.7")) << o[2].toStdString();
    EXPECT_TRUE(o[2].contains("rate unchanged")) << o[2].toStdString();
    const auto fitted = times(path("out.vtt"));
    ASSERT_EQ(fitted.size(), film.lines.size());
    for (std::size_t i = 0; i < fitted.size(); ++i)
        EXPECT_NEAR(fitted[i].first, film.lines[i].start, 0.02) << i;
}

TEST_F(SubConvVoiceTest, AFilmWithoutSoundOrSpeechIsAnErrorAndWritesNothing)
{
    folder.write("a.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nx\r\n\r\n");
    const QString silent = test::testFilm(test::TestFilm::SilentMp4);
    if (silent.isEmpty())
        GTEST_SKIP() << "ffmpeg made no film";
    QStringList o = run({"--film", silent, "--snap", "--to", "subrip", path("a.srt"), path("out.srt")});
    EXPECT_EQ(o, QStringList({"1", "", "korvendal-subconv: " + silent + ": the film has no sound to find speech in\n"}));
    EXPECT_FALSE(QFile::exists(path("out.srt")));

    const SpeechFilm noise = speechFilm(test::SpeechCondition::Silence);
    if (noise.path.isEmpty())
        GTEST_SKIP() << noise.error.toStdString();
    o = run({"--film", noise.path, "--fit", "--to", "subrip", path("a.srt"), path("out.srt")});
    EXPECT_EQ(o, QStringList({"1", "", "korvendal-subconv: " + noise.path + ": no speech was found in the film's sound\n"}));
    EXPECT_FALSE(QFile::exists(path("out.srt")));

    o = run({"--film", path("missing.mkv"), "--fit", "--to", "subrip", path("a.srt"), path("out.srt")});
    EXPECT_EQ(o[0], "1");
    EXPECT_TRUE(o[2].contains("missing.mkv: the film cannot be read")) << o[2].toStdString();

    // Each without the other is a usage error.
    EXPECT_EQ(run({"--snap", "--to", "subrip", path("a.srt"), path("out.srt")})[0], "2");
    EXPECT_EQ(run({"--film", silent, "--to", "subrip", path("a.srt"), path("out.srt")})[0], "2");
    EXPECT_EQ(run({"--film", silent, "--snap", "--list", path("a.srt")})[0], "2");
    EXPECT_FALSE(QFile::exists(path("out.srt")));
}

TEST_F(SubConvVoiceTest, AudioTrackChoosesWhichSoundIsListenedToAndATrackTheFilmLacksIsAnError)
{
    const SpeechFilm film = speechOnSecondTrack();
    if (film.path.isEmpty())
        GTEST_SKIP() << film.error.toStdString();
    folder.write("late.srt", subRip(film.lines, [&](int i) {
        return std::pair{film.lines[std::size_t(i)].start + 0.3, film.lines[std::size_t(i)].end + 0.2};
    }));
    // The first track, given or not, is the silent one.
    for (const QStringList &track : {QStringList{}, QStringList{"--audio-track", "1"}}) {
        const QStringList o =
            run(QStringList{"--film", film.path} + track + QStringList{"--snap", "--to", "subrip", path("late.srt"), path("out.srt")});
        EXPECT_EQ(o, QStringList({"1", "", "korvendal-subconv: " + film.path + ": no speech was found in the film's sound\n"}));
        EXPECT_FALSE(QFile::exists(path("out.srt")));
    }

    QStringList o = run({"--film", film.path, "--audio-track", "2", "--snap", "--to", "subrip", path("late.srt"), path("out.srt")});
    ASSERT_EQ(o[0], "0") << o[2].toStdString();
    EXPECT_TRUE(o[2].startsWith("korvendal-subconv: snapped to the film's speech: ")) << o[2].toStdString();
    const auto snapped = times(path("out.srt"));
    ASSERT_EQ(snapped.size(), film.lines.size());
    int startsNear = 0;
    for (std::size_t i = 0; i < snapped.size(); ++i)
        startsNear += std::abs(snapped[i].first - film.lines[i].start) <= 0.1;
    EXPECT_GE(startsNear, int(snapped.size()) - 1);
    QFile::remove(path("out.srt"));

    o = run({"--film", film.path, "--audio-track", "3", "--fit", "--to", "subrip", path("late.srt"), path("out.srt")});
    EXPECT_EQ(o, QStringList({"1", "",
                              "korvendal-subconv: " + film.path + ": the film has no audio track 3; its audio tracks are "
                                                                  "1 to 2, as --film-info lists them\n"}));
    EXPECT_FALSE(QFile::exists(path("out.srt")));

    // Not a track number, or without a film: usage errors.
    for (const char *wrong : {"0", "-1", "two", ""}) {
        o = run({"--film", film.path, "--audio-track", wrong, "--snap", "--to", "subrip", path("late.srt"), path("out.srt")});
        EXPECT_EQ(o[0], "2") << wrong;
        EXPECT_TRUE(o[2].startsWith("korvendal-subconv: --audio-track takes a track number from 1\n")) << o[2].toStdString();
    }
    o = run({"--audio-track", "2", "--to", "subrip", path("late.srt"), path("out.srt")});
    EXPECT_EQ(o[0], "2");
    EXPECT_TRUE(o[2].contains("--audio-track chooses among the audio tracks of --film FILM")) << o[2].toStdString();
    EXPECT_FALSE(QFile::exists(path("out.srt")));
}
