#include "support/TestFilms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace korv::test {

namespace {

struct Recipe {
    const char *name;
    QStringList arguments; // between "ffmpeg -y" and the output file
};

QStringList picture(const char *rate, int seconds)
{
    return {"-f", "lavfi", "-i", QStringLiteral("testsrc=size=160x90:rate=%1:duration=%2").arg(rate).arg(seconds)};
}

QStringList tone(int frequency, int seconds, int sampleRate = 48000)
{
    return {"-f", "lavfi", "-i",
            QStringLiteral("sine=frequency=%1:duration=%2:sample_rate=%3").arg(frequency).arg(seconds).arg(sampleRate)};
}

const QStringList kH264 = {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"};
// Every second frame after 1.5 s: 30 frames a second, then 15.
const QStringList kVariable = {"-vf", "select='lt(t,1.5)+not(mod(n,2))'", "-fps_mode", "vfr"};

Recipe recipe(TestFilm film)
{
    switch (film) {
    case TestFilm::Mkv23976:
        return {"h264-aac-23976.mkv", picture("24000/1001", 3) + tone(440, 3) + kH264
                                          + QStringList{"-c:a", "aac", "-ac", "2", "-metadata:s:a:0", "language=tur"}};
    case TestFilm::Mp425:
        return {"h264-aac-25.mp4", picture("25", 3) + tone(440, 3) + kH264 + QStringList{"-c:a", "aac", "-ac", "2"}};
    case TestFilm::WebM2997:
        return {"vp9-opus-2997.webm",
                picture("30000/1001", 3) + tone(440, 3)
                    + QStringList{"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-c:a", "libopus",
                                  "-ac", "2"}};
    case TestFilm::Mov60:
        return {"h264-aac-60.mov",
                picture("60", 2) + tone(440, 2, 44100) + kH264 + QStringList{"-c:a", "aac", "-ac", "1"}};
    case TestFilm::Ts25:
        return {"h264-mp2-25.ts", picture("25", 3) + tone(440, 3) + kH264 + QStringList{"-c:a", "mp2", "-ac", "2"}};
    case TestFilm::TwoTracksMkv:
        return {"two-tracks.mkv",
                picture("25", 4) + tone(440, 4) + tone(880, 4) + kH264
                    + QStringList{"-map", "0:v", "-map", "1:a", "-map", "2:a", "-c:a:0", "aac", "-ac:a:0", "2",
                                  "-c:a:1", "libopus", "-ac:a:1", "1", "-metadata:s:a:0", "language=tur",
                                  "-metadata:s:a:1", "language=eng"}};
    case TestFilm::SilentMp4:
        return {"silent-25.mp4", picture("25", 2) + kH264};
    case TestFilm::VfrMp4:
        return {"variable.mp4", picture("30", 3) + kVariable + kH264};
    case TestFilm::VfrMkv:
        return {"variable.mkv", picture("30", 3) + kVariable + kH264};
    case TestFilm::SoundOnlyMp4:
        return {"sound-only.mp4", tone(440, 2) + QStringList{"-c:a", "aac"}};
    case TestFilm::Dat25:
        return {"mpeg1-25.dat", QStringList{"-f", "lavfi", "-i", "color=c=red:size=64x48:rate=25:duration=3", "-c:v",
                                            "mpeg1video", "-g", "1", "-f", "mpeg"}};
    }
    return {};
}

} // namespace

QString testFilm(TestFilm film)
{
    const Recipe r = recipe(film);
    const QString folder = QStringLiteral(KORV_FILM_CACHE);
    const QString path = QDir(folder).filePath(QString::fromLatin1(r.name));
    if (QFileInfo(path).size() > 0)
        return path;
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty() || !QDir().mkpath(folder))
        return QString();
    // Tests run side by side: each makes its own copy and moves it into
    // place in one step, so no test ever reads half a film.
    const QString suffix = QFileInfo(path).suffix();
    const QString part = QStringLiteral("%1.%2.part.%3").arg(path).arg(QCoreApplication::applicationPid()).arg(suffix);
    QProcess maker;
    maker.start(ffmpeg, QStringList{"-v", "error", "-nostdin", "-y"} + r.arguments + QStringList{part});
    if (!maker.waitForFinished(120000) || maker.exitStatus() != QProcess::NormalExit || maker.exitCode() != 0) {
        QFile::remove(part);
        return QString();
    }
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(part);
        return QFileInfo(path).size() > 0 ? path : QString();
    }
    return path;
}

QByteArray filmHead(TestFilm film, double fraction)
{
    QFile file(testFilm(film));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(qint64(double(file.size()) * fraction));
}

QByteArray waveOfUnknownCodec()
{
    QByteArray wav("RIFF");
    auto u32 = [&](quint32 v) { wav.append(reinterpret_cast<const char *>(&v), 4); };
    auto u16 = [&](quint16 v) { wav.append(reinterpret_cast<const char *>(&v), 2); };
    const QByteArray data(8000, '\x55');
    u32(36 + data.size());
    wav += "WAVEfmt ";
    u32(16);
    u16(0x7777), u16(1), u32(8000), u32(8000), u16(1), u16(8);
    wav += "data";
    u32(data.size());
    wav += data;
    return wav;
}

} // namespace korv::test
