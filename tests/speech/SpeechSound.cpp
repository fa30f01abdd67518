#include "SpeechSound.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QCoreApplication>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cstring>
#include <cmath>
#include <random>

namespace korv::test {
namespace {

// Bump when the making changes, so caches of an older making are not used.
constexpr int makingVersion = 4;
constexpr int rate = 48000;

const char *const turkish[] = {
    "Merhaba, bugün hava çok güzel.",
    "Yarın sabah erkenden yola çıkacağız.",
    "Bu kitabı geçen yaz İstanbul'da okudum.",
    "Kapıyı kapatmayı unutma lütfen.",
    "Akşam yemeğinde balık yedik.",
    "Neden bana hiçbir şey söylemedin?",
    "Trenin kalkmasına on dakika var.",
    "Annem bahçede çiçekleri suluyor.",
    "Sonunda gerçeği öğrendim.",
    "Bu şehirde kimseyi tanımıyorum.",
    "Haydi, geç kalıyoruz!",
    "Telefonun şarjı bitmek üzere.",
    "Deniz kenarında uzun bir yürüyüş yaptık.",
    "Hiç kimse bunu beklemiyordu.",
};
const char *const english[] = {
    "I never thought we would see this place again.",
    "Close the door and sit down.",
    "Where were you last night?",
    "The train leaves in ten minutes.",
    "She told me everything about the letter.",
    "We have to go now, before it gets dark.",
    "Nobody knows what happened on the bridge.",
    "Is this the road to the old harbour?",
    "Tell them I will be there by noon.",
    "That is not what I asked you.",
    "Look, the lights are still on.",
    "He sold the house and moved to the coast.",
    "Please, listen to me for a moment.",
    "Thank you.",
};

QString toolMissing(const QString &tool) { return QStringLiteral("%1 could not be run").arg(tool); }

// Runs a program, gives its standard output; empty with `error` set on failure.
QByteArray run(const QString &program, const QStringList &args, QString &error, const QByteArray &input = {})
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        error = toolMissing(program);
        return {};
    }
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    QByteArray out;
    while (!p.waitForFinished(100))
        out += p.readAllStandardOutput();
    out += p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error = QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(p.readAllStandardError()));
        return {};
    }
    return out;
}

std::vector<float> asFloats(const QByteArray &bytes)
{
    std::vector<float> v(bytes.size() / sizeof(float));
    if (!v.empty())
        std::memcpy(v.data(), bytes.constData(), v.size() * sizeof(float));
    return v;
}

// ffmpeg reads `args` as its input and gives mono float samples at 48 kHz.
std::vector<float> ffmpegFloats(const QStringList &inputArgs, QString &error, const QByteArray &stdinBytes = {})
{
    QStringList args{QStringLiteral("-v"), QStringLiteral("error")};
    args << inputArgs
         << QStringList{QStringLiteral("-ar"), QString::number(rate), QStringLiteral("-ac"), QStringLiteral("1"),
                        QStringLiteral("-f"), QStringLiteral("f32le"), QStringLiteral("pipe:1")};
    return asFloats(run(QStringLiteral("ffmpeg"), args, error, stdinBytes));
}

double power(const std::vector<float> &x, qsizetype from, qsizetype to)
{
    double sum = 0;
    for (qsizetype i = from; i < to; ++i)
        sum += double(x[i]) * x[i];
    return to > from ? sum / double(to - from) : 0;
}

// The first and the last 10 ms frame of a clip that are within 40 dB of its
// loudest frame.
std::pair<qsizetype, qsizetype> trimmedEdges(const std::vector<float> &clip)
{
    const qsizetype frame = rate / 100;
    const qsizetype frames = qsizetype(clip.size()) / frame;
    std::vector<double> level(frames);
    double loudest = 0;
    for (qsizetype f = 0; f < frames; ++f) {
        level[f] = power(clip, f * frame, (f + 1) * frame);
        loudest = std::max(loudest, level[f]);
    }
    qsizetype first = 0, last = frames - 1;
    while (first < frames && level[first] < loudest * 1e-4)
        ++first;
    while (last > first && level[last] < loudest * 1e-4)
        --last;
    return {first * frame, (last + 1) * frame};
}

struct Clip {
    std::vector<float> samples;
    qsizetype head = 0, tail = 0; // the speech within the clip
    QString text;
};

Clip speak(const QString &text, const QString &voice, int speed, int pitch, const QString &cacheFolder, QString &error)
{
    Clip clip;
    clip.text = text;
    const QByteArray key = QCryptographicHash::hash((text + voice + QString::number(speed) + QString::number(pitch)).toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    const QString path = cacheFolder + QStringLiteral("/clip-") + QString::fromLatin1(key) + QStringLiteral(".f32");
    QFile cached(path);
    if (cached.open(QIODevice::ReadOnly)) {
        clip.samples = asFloats(cached.readAll());
    } else {
        const QByteArray wav = run(QStringLiteral("espeak-ng"),
                                   {QStringLiteral("-v"), voice, QStringLiteral("-s"), QString::number(speed),
                                    QStringLiteral("-p"), QString::number(pitch), QStringLiteral("--stdout"), text},
                                   error);
        if (wav.isEmpty()) {
            if (error.isEmpty())
                error = QStringLiteral("espeak-ng gave no sound");
            return clip;
        }
        clip.samples = ffmpegFloats({QStringLiteral("-f"), QStringLiteral("wav"), QStringLiteral("-i"), QStringLiteral("pipe:0")},
                                    error, wav);
        QSaveFile out(path);
        if (!clip.samples.empty() && out.open(QIODevice::WriteOnly)) {
            out.write(reinterpret_cast<const char *>(clip.samples.data()), qint64(clip.samples.size() * sizeof(float)));
            out.commit();
        }
    }
    std::tie(clip.head, clip.tail) = trimmedEdges(clip.samples);
    return clip;
}

// Chords changing every 2 s with a bass, a kick on every beat at 120 bpm, a
// hi-hat between them and a melody of eighth notes: harmonic, rhythmic and
// loud, the things a speech detector must not take for a voice.
QString musicExpression()
{
    return QStringLiteral(
        "st(0,floor(mod(t,8)/2));"
        "st(1,if(eq(ld(0),0),261.63,if(eq(ld(0),1),220,if(eq(ld(0),2),174.61,196))));"
        "st(2,if(eq(ld(0),1),1.1892,1.2599));"
        "st(3,exp(-mod(t,2)*0.6));"
        "st(4,2*PI*t);"
        "st(5,ld(1)*2*pow(2,mod(floor(t*4)*7,12)/12));"
        "0.10*ld(3)*(sin(ld(4)*ld(1))+0.5*sin(2*ld(4)*ld(1))+0.3*sin(3*ld(4)*ld(1))"
        "+sin(ld(4)*ld(1)*ld(2))+0.5*sin(2*ld(4)*ld(1)*ld(2))"
        "+sin(ld(4)*ld(1)*1.4983)+0.5*sin(2*ld(4)*ld(1)*1.4983))"
        "+0.18*exp(-mod(t,0.5)*4)*sin(ld(4)*ld(1)/2)"
        "+0.35*exp(-mod(t,0.5)*25)*sin(2*PI*(50*t+30*exp(-mod(t,0.5)*25)))"
        "+0.10*exp(-mod(t+0.25,0.5)*50)*(2*random(6)-1)"
        "+0.12*exp(-mod(t,0.25)*6)*(sin(ld(4)*ld(5)*(1+0.004*sin(2*PI*5*t)))+0.3*sin(2*ld(4)*ld(5)))");
}

std::vector<float> music(double seconds, QString &error)
{
    return ffmpegFloats({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                         QStringLiteral("aevalsrc=exprs='%1':s=%2:d=%3").arg(musicExpression()).arg(rate).arg(seconds)},
                        error);
}

std::vector<float> pinkNoise(double seconds, unsigned seed, QString &error)
{
    return ffmpegFloats({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                         QStringLiteral("anoisesrc=color=pink:seed=%1:r=%2:d=%3").arg(seed).arg(rate).arg(seconds)},
                        error);
}

// The clean speech and its lines, placed by the seed.
SpeechSound speechTrack(double seconds, unsigned seed, const QString &cacheFolder)
{
    SpeechSound sound;
    sound.samples.assign(qsizetype(seconds * rate), 0.f);
    std::mt19937 random(seed);
    auto uniform = [&random](double a, double b) { return std::uniform_real_distribution<double>(a, b)(random); };
    double at = uniform(0.8, 2.0);
    int turn = 0;
    while (true) {
        const bool tr = (turn++ + seed) % 2 == 0;
        const QString text = QString::fromUtf8(tr ? turkish[random() % std::size(turkish)] : english[random() % std::size(english)]);
        static const char *const variants[] = {"", "+f2", "+m3", "+f4", "+m7"};
        const QString voice = QString::fromLatin1(tr ? "tr" : "en-us") + QString::fromLatin1(variants[random() % 5]);
        const int speed = 140 + int(random() % 50);
        const int pitch = 30 + int(random() % 40);
        Clip clip = speak(text, voice, speed, pitch, cacheFolder, sound.error);
        if (!sound.error.isEmpty())
            return sound;
        // Each clip is scaled to its own loudness: lines differ by up to 4 dB,
        // as voices in a film do.
        const double level = std::pow(10.0, uniform(-4, 0) / 20) * 0.3 /
                             std::sqrt(std::max(1e-12, power(clip.samples, clip.head, clip.tail)));
        const qsizetype place = qsizetype(at * rate) - clip.head;
        if (place + qsizetype(clip.samples.size()) > qsizetype(sound.samples.size()) - rate)
            break;
        for (qsizetype i = 0; i < qsizetype(clip.samples.size()); ++i)
            sound.samples[place + i] += float(clip.samples[i] * level);
        sound.lines.push_back({double(place + clip.head) / rate, double(place + clip.tail) / rate, clip.text});
        // Gaps as films have them: a few short exchanges, most a second or
        // two, some long.
        const double pick = uniform(0, 1);
        const double gap = pick < 0.25 ? uniform(0.35, 0.8) : pick < 0.8 ? uniform(0.8, 2.5) : uniform(2.5, 5.0);
        at = sound.lines.back().end + gap;
    }
    return sound;
}

double speechPower(const SpeechSound &s)
{
    double sum = 0;
    qsizetype n = 0;
    for (const SpokenLine &line : s.lines) {
        const qsizetype a = qsizetype(line.start * rate), b = qsizetype(line.end * rate);
        sum += power(s.samples, a, b) * double(b - a);
        n += b - a;
    }
    return n ? sum / double(n) : 0.01;
}

// Music loud between the lines and ducked under them, fading over 300 ms
// that start a random while before a line and after it; and a loud hit now
// and then in the longer gaps.
void duckAndMix(SpeechSound &s, std::vector<float> music, double speech, unsigned seed)
{
    const double loud = std::sqrt(speech * std::pow(10.0, 1.2) / std::max(1e-12, power(music, 0, qsizetype(music.size()))));
    const double ducked = loud * std::pow(10.0, -25.0 / 20);
    std::mt19937 random(seed * 7 + 1);
    auto uniform = [&random](double a, double b) { return std::uniform_real_distribution<double>(a, b)(random); };
    std::vector<float> gain(s.samples.size(), float(loud));
    const double fade = 0.3;
    for (const SpokenLine &line : s.lines) {
        const double downEnd = line.start - uniform(0.15, 0.6), downStart = downEnd - fade;
        const double upStart = line.end + uniform(0.15, 0.6), upEnd = upStart + fade;
        for (qsizetype i = std::max<qsizetype>(0, qsizetype(downStart * rate));
             i < std::min<qsizetype>(qsizetype(gain.size()), qsizetype(upEnd * rate)); ++i) {
            const double t = double(i) / rate;
            double g = t < downEnd ? (downEnd - t) / fade : t > upStart ? (t - upStart) / fade : 0;
            g = ducked + (loud - ducked) * std::clamp(g, 0.0, 1.0);
            gain[i] = float(std::min<double>(gain[i], g));
        }
    }
    for (qsizetype i = 0; i < qsizetype(s.samples.size()) && i < qsizetype(music.size()); ++i)
        s.samples[i] += music[i] * gain[i];
    // Hits: a door, a shot; 150 ms of decaying noise well inside long gaps.
    for (size_t k = 0; k + 1 < s.lines.size(); ++k) {
        const double from = s.lines[k].end + 0.9, to = s.lines[k + 1].start - 0.9;
        if (to - from < 0.3)
            continue;
        const qsizetype at = qsizetype(uniform(from, to - 0.2) * rate);
        const double amp = std::sqrt(speech) * 6;
        for (qsizetype i = 0; i < rate * 15 / 100 && at + i < qsizetype(s.samples.size()); ++i)
            s.samples[at + i] += float(amp * std::exp(-double(i) / (rate * 0.03)) * uniform(-1, 1));
    }
}

bool load(const QString &base, SpeechSound &sound)
{
    QFile pcm(base + QStringLiteral(".f32")), truth(base + QStringLiteral(".tsv"));
    if (!pcm.open(QIODevice::ReadOnly) || !truth.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    sound.samples = asFloats(pcm.readAll());
    QTextStream in(&truth);
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char('\t'));
        if (f.size() == 3)
            sound.lines.push_back({f[0].toDouble(), f[1].toDouble(), f[2]});
    }
    return !sound.samples.empty();
}

void save(const QString &base, const SpeechSound &sound)
{
    QSaveFile truth(base + QStringLiteral(".tsv"));
    if (truth.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&truth);
        for (const SpokenLine &l : sound.lines)
            out << QString::number(l.start, 'f', 6) << '\t' << QString::number(l.end, 'f', 6) << '\t' << l.text << '\n';
        out.flush();
        truth.commit();
    }
    // The samples last: their presence says the pair is whole.
    QSaveFile pcm(base + QStringLiteral(".f32"));
    if (pcm.open(QIODevice::WriteOnly)) {
        pcm.write(reinterpret_cast<const char *>(sound.samples.data()), qint64(sound.samples.size() * sizeof(float)));
        pcm.commit();
    }
}

} // namespace

QString conditionName(SpeechCondition condition)
{
    switch (condition) {
    case SpeechCondition::Clean: return QStringLiteral("clean");
    case SpeechCondition::Pink15: return QStringLiteral("pink-15dB");
    case SpeechCondition::Pink6: return QStringLiteral("pink-6dB");
    case SpeechCondition::MusicBed: return QStringLiteral("music-bed-10dB");
    case SpeechCondition::LoudMusicBetween: return QStringLiteral("loud-music-between");
    case SpeechCondition::Silence: return QStringLiteral("silence");
    case SpeechCondition::MusicOnly: return QStringLiteral("music-only");
    case SpeechCondition::NoiseOnly: return QStringLiteral("noise-only");
    }
    return {};
}

SpeechSound makeSpeechSound(SpeechCondition condition, double seconds, unsigned seed, const QString &cacheFolder)
{
    QDir().mkpath(cacheFolder);
    const QString base = QStringLiteral("%1/speech-v%2-%3-%4s-seed%5")
                             .arg(cacheFolder)
                             .arg(makingVersion)
                             .arg(conditionName(condition))
                             .arg(seconds)
                             .arg(seed);
    SpeechSound sound;
    if (load(base, sound))
        return sound;

    const bool speaks = condition != SpeechCondition::Silence && condition != SpeechCondition::MusicOnly &&
                        condition != SpeechCondition::NoiseOnly;
    if (speaks) {
        sound = speechTrack(seconds, seed, cacheFolder);
        if (!sound.error.isEmpty())
            return sound;
    } else {
        sound.samples.assign(qsizetype(seconds * rate), 0.f);
    }
    // Levels of the noise and the music are set against the speech's own
    // power over its lines; without speech, against a typical dialogue level.
    const double speech = speaks ? speechPower(sound) : 0.3 * 0.3 * 0.35;
    QString error;
    auto addScaled = [&](const std::vector<float> &other, double dbUnder) {
        const double gain = std::sqrt(speech / std::pow(10.0, dbUnder / 10) / std::max(1e-12, power(other, 0, qsizetype(other.size()))));
        for (qsizetype i = 0; i < qsizetype(sound.samples.size()) && i < qsizetype(other.size()); ++i)
            sound.samples[i] += float(other[i] * gain);
    };
    switch (condition) {
    case SpeechCondition::Clean:
    case SpeechCondition::Silence: break;
    case SpeechCondition::Pink15: addScaled(pinkNoise(seconds, seed, error), 15); break;
    case SpeechCondition::Pink6:
    case SpeechCondition::NoiseOnly: addScaled(pinkNoise(seconds, seed, error), 6); break;
    case SpeechCondition::MusicBed: addScaled(music(seconds, error), 10); break;
    case SpeechCondition::MusicOnly: addScaled(music(seconds, error), -6); break;
    case SpeechCondition::LoudMusicBetween: duckAndMix(sound, music(seconds, error), speech, seed); break;
    }
    if (!error.isEmpty()) {
        sound.error = error;
        return sound;
    }
    // Through AAC and back, as a film's sound arrives.
    float peak = 0;
    for (float v : sound.samples)
        peak = std::max(peak, std::abs(v));
    if (peak > 0.99f)
        for (float &v : sound.samples)
            v *= 0.99f / peak;
    // Named for this process: tests run side by side may make the same sound
    // at once, and one must not read or delete the other's file.
    const QString aac = QStringLiteral("%1.%2.m4a").arg(base).arg(QCoreApplication::applicationPid());
    run(QStringLiteral("ffmpeg"),
        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("f32le"),
         QStringLiteral("-ar"), QString::number(rate), QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-i"),
         QStringLiteral("pipe:0"), QStringLiteral("-c:a"), QStringLiteral("aac"), QStringLiteral("-b:a"),
         QStringLiteral("128k"), aac},
        error,
        QByteArray(reinterpret_cast<const char *>(sound.samples.data()), qsizetype(sound.samples.size() * sizeof(float))));
    std::vector<float> decoded = error.isEmpty() ? ffmpegFloats({QStringLiteral("-i"), aac}, error) : std::vector<float>{};
    QFile::remove(aac);
    if (!error.isEmpty()) {
        sound.error = error;
        return sound;
    }
    decoded.resize(sound.samples.size(), 0.f);
    sound.samples = std::move(decoded);
    save(base, sound);
    return sound;
}

void feedSound(sound::MonoSink &sink, const SpeechSound &s, qsizetype blockSamples, qint64 startUs)
{
    for (qsizetype at = 0; at < qsizetype(s.samples.size()); at += blockSamples) {
        sound::MonoBlock block;
        block.samples = s.samples.data() + at;
        block.count = std::min<qsizetype>(blockSamples, qsizetype(s.samples.size()) - at);
        block.sampleRate = s.sampleRate;
        block.startUs = startUs + at * 1000000 / s.sampleRate;
        sink.consume(block);
    }
    sink.finish(startUs + qint64(s.samples.size()) * 1000000 / s.sampleRate);
}

} // namespace korv::test
