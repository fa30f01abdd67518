#pragma once
// Films for the sound tests, made with ffmpeg's lavfi sources the first time
// a test asks and kept in the build folder (a name changes with its recipe).
// Each carries tone bursts at times written beside its recipe: the truth the
// peaks are held to.

#include "sound/PeakColumns.h"
#include "sound/PeakPyramid.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace korv::test {

// A 1 kHz tone of `sine`'s fixed amplitude (1/8) from start to end, in
// seconds of the film's time line.
struct Burst {
    double start, end;
};

// The lavfi graph of a mono track of `total` seconds, silent but for the
// bursts (given in seconds of the source), every piece cut to exact samples.
inline QString burstGraph(int rate, double total, const std::vector<Burst> &bursts, const QString &label = QStringLiteral("a"))
{
    QString graph, inputs;
    int piece = 0;
    qint64 at = 0; // samples so far
    auto silence = [&](qint64 samples) {
        if (samples <= 0)
            return;
        graph += QStringLiteral("anullsrc=r=%1:cl=mono,atrim=end_sample=%2[%3p%4];").arg(rate).arg(samples).arg(label).arg(piece);
        inputs += QStringLiteral("[%1p%2]").arg(label).arg(piece++);
        at += samples;
    };
    for (const Burst &b : bursts) {
        silence(qint64(b.start * rate) - at);
        const qint64 length = qint64(b.end * rate) - at;
        graph += QStringLiteral("sine=f=1000:r=%1,atrim=end_sample=%2[%3p%4];").arg(rate).arg(length).arg(label).arg(piece);
        inputs += QStringLiteral("[%1p%2]").arg(label).arg(piece++);
        at += length;
    }
    silence(qint64(total * rate) - at);
    return graph + inputs + QStringLiteral("concat=n=%1:v=0:a=1[%2]").arg(piece).arg(label);
}

inline QString mediaFolder()
{
    return QStringLiteral(KORV_SOUND_MEDIA_DIR);
}

// The film `name` in the media folder, made by `ffmpeg -v error -y ARGS FILE`
// when missing. Several test processes may make it at once: each writes its
// own file and renames it into place.
inline QString madeFilm(const QString &name, const QStringList &args)
{
    const QString path = mediaFolder() + QLatin1Char('/') + name;
    if (QFileInfo(path).size() > 0)
        return path;
    QDir().mkpath(mediaFolder());
    const QString part = QStringLiteral("%1.part%2.%3").arg(path).arg(QCoreApplication::applicationPid()).arg(QFileInfo(name).suffix());
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")} + args + QStringList{part});
    if (!ffmpeg.waitForFinished(300000) || ffmpeg.exitCode() != 0) {
        ADD_FAILURE() << "ffmpeg could not make " << name.toStdString() << ": " << ffmpeg.readAllStandardError().toStdString();
        QFile::remove(part);
        return path;
    }
    QFile::remove(path);
    QFile::rename(part, path);
    return path;
}

inline QStringList lavfi(const QString &graph)
{
    return {QStringLiteral("-filter_complex"), graph};
}

// ---- the films ----

// A 2-hour film, cheap to make and to decode: 8 kHz mono AAC at 16 kb/s,
// silent but for bursts near its start, middle and end. ffmpeg's AAC encoder
// starts 1024 samples early and the Matroska muxer moves the whole film later
// by that much, so a player plays each burst 128 ms after its source time.
inline const std::vector<Burst> kLongBursts{{5.0, 5.3}, {3600.0, 3600.3}, {7190.0, 7190.3}};
constexpr double kLongShift = 1024.0 / 8000;
inline QString longFilm()
{
    return madeFilm(QStringLiteral("long-2h-8k-v1.mkv"),
                    lavfi(burstGraph(8000, 7200, kLongBursts)) + QStringList{"-map", "[a]", "-c:a", "aac", "-b:a", "16k"});
}

inline QStringList pictureAt(const QString &rate, double seconds)
{
    return {"-f", "lavfi", "-i", QStringLiteral("testsrc=size=160x90:rate=%1:duration=%2").arg(rate).arg(seconds)};
}

// 23.976 fps MKV with 44.1 kHz stereo AAC (the muxer's shift is 1024 samples).
inline const std::vector<Burst> kMkvBursts{{2.0, 2.4}, {10.0, 10.3}, {18.5, 19.0}};
constexpr double kMkvShift = 1024.0 / 44100;
inline QString mkvFilm()
{
    return madeFilm(QStringLiteral("film-23976-44k-v1.mkv"),
                    pictureAt("24000/1001", 20) + lavfi(burstGraph(44100, 20, kMkvBursts) + ";[a]aformat=channel_layouts=stereo[s]")
                        + QStringList{"-map", "0:v", "-map", "[s]", "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p",
                                      "-c:a", "aac"});
}

// 29.97 fps MP4 with 48 kHz stereo AAC; MP4's edit list hides the encoder's
// early start, so the bursts play at their source times.
inline const std::vector<Burst> kMp4Bursts{{1.5, 1.8}, {9.0, 9.2}, {17.25, 17.75}};
inline QString mp4Film()
{
    return madeFilm(QStringLiteral("film-2997-48k-v1.mp4"),
                    pictureAt("30000/1001", 20) + lavfi(burstGraph(48000, 20, kMp4Bursts) + ";[a]aformat=channel_layouts=stereo[s]")
                        + QStringList{"-map", "0:v", "-map", "[s]", "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p",
                                      "-c:a", "aac"});
}

// The same with the index at the front, as films made for streaming are: cut
// short, it still opens and its sound ends early.
inline QString mp4FaststartFilm()
{
    return madeFilm(QStringLiteral("film-2997-48k-faststart-v1.mp4"),
                    pictureAt("30000/1001", 20) + lavfi(burstGraph(48000, 20, kMp4Bursts) + ";[a]aformat=channel_layouts=stereo[s]")
                        + QStringList{"-map", "0:v", "-map", "[s]", "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p",
                                      "-c:a", "aac", "-movflags", "+faststart"});
}

// Its timestamps jump 3 s forward at 2 s: a burst at 2.5 s of the source
// plays at 5.5 s. PCM, so that nothing but the timestamps places the sound.
inline const std::vector<Burst> kGapSourceBursts{{1.0, 1.3}, {2.5, 2.8}};
inline const std::vector<Burst> kGapBursts{{1.0, 1.3}, {5.5, 5.8}};
inline QString gapFilm()
{
    return madeFilm(QStringLiteral("gap-3s-v1.mkv"),
                    lavfi(burstGraph(48000, 4, kGapSourceBursts) + ";[a]asetnsamples=n=1000,asetpts='PTS+if(gte(T\\,2)\\,3/TB\\,0)'[g]")
                        + QStringList{"-map", "[g]", "-c:a", "pcm_s16le"});
}

// Two audio streams: the first silent, the second stereo with the tone in the
// right channel only (from 1 to 2 s), so the mono mix holds it at half level.
inline QString twoTrackFilm()
{
    return madeFilm(QStringLiteral("two-tracks-v1.mkv"),
                    lavfi(QStringLiteral("anullsrc=r=22050:cl=stereo,atrim=end_sample=66150[q];") + burstGraph(22050, 3, {{1.0, 2.0}})
                          + ";anullsrc=r=22050:cl=mono,atrim=end_sample=66150[z];[z][a]join=inputs=2:channel_layout=stereo[r]")
                        + QStringList{"-map", "[q]", "-map", "[r]", "-c:a", "pcm_s16le"});
}

inline QString pictureOnlyFilm()
{
    return madeFilm(QStringLiteral("picture-only-v1.mkv"),
                    pictureAt("25", 2) + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"});
}

// ---- reading the peaks ----

constexpr float kToneFloor = 0.05f; // well under the tone's 0.125, well over AAC's noise

// The bursts as the peaks show them: runs of 10 ms bins reaching over the floor.
inline std::vector<Burst> burstsIn(const sound::PeakPyramid &peaks, float floor = kToneFloor)
{
    std::vector<Burst> found;
    const qint64 bins = peaks.filledBins();
    qint64 start = -1;
    for (qint64 i = 0; i <= bins; ++i) {
        const bool loud = i < bins && peaks.bin(0, i).max / sound::PeakPyramid::kScale > floor;
        if (loud && start < 0)
            start = i;
        if (!loud && start >= 0) {
            found.push_back({start * 0.01, i * 0.01});
            start = -1;
        }
    }
    return found;
}

// Each burst's edges within `tolerance` seconds, and no other burst.
inline ::testing::AssertionResult burstsMatch(const std::vector<Burst> &found, const std::vector<Burst> &truth, double shift,
                                              double tolerance = 0.010)
{
    auto text = [](const std::vector<Burst> &bursts) {
        std::string s;
        for (const Burst &b : bursts)
            s += " [" + std::to_string(b.start) + ", " + std::to_string(b.end) + ")";
        return s;
    };
    bool ok = found.size() == truth.size();
    for (size_t i = 0; ok && i < truth.size(); ++i)
        ok = std::abs(found[i].start - (truth[i].start + shift)) <= tolerance && std::abs(found[i].end - (truth[i].end + shift)) <= tolerance;
    if (ok)
        return ::testing::AssertionSuccess();
    std::vector<Burst> expected;
    for (const Burst &b : truth)
        expected.push_back({b.start + shift, b.end + shift});
    return ::testing::AssertionFailure() << "found" << text(found) << ", expected" << text(expected);
}

} // namespace korv::test
