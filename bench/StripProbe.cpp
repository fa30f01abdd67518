// The waveform strip's costs as a user meets them, on a 2-hour film, one line
// per figure:
//   korvendal-strip-probe FILM paint        painting the whole strip (1280 x 120
//                                           pixels, 1,500 subtitles, speech)
//                                           at zooms from the whole film to 1 s
//   korvendal-strip-probe FILM wait         the longest wait of the event loop
//                                           while the film's sound is analysed
//                                           from scratch and the film plays
//   korvendal-strip-probe FILM floor SECONDS the same timer in an event loop
//                                           with nothing else: the machine's
//                                           own wait, the floor under the above
//   korvendal-strip-probe FILM soak SECONDS the process's memory while the strip
//                                           plays, zooms, scrolls and drags rows
// The strip is shown on the offscreen platform; the film "plays" on a clock
// (the player's own decoding is not what is measured here).
#include "app/WaveformStrip.h"
#include "commands/FilmSound.h"
#include "commands/StripCommands.h"
#include "commands/Workspace.h"
#include "locale/Language.h"
#include "media/FilmDescription.h"
#include "preview/FilmPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

using namespace korv;

namespace {

// A film that plays on the clock.
class ClockPlayer : public FilmPlayer {
public:
    void open(const QString &) override { start_.start(); }
    double position() const override { return offset_ + (playing_ ? start_.elapsed() / 1000.0 : 0); }
    void setPosition(double seconds) override
    {
        const double old = position();
        offset_ = seconds;
        start_.restart();
        emit positionChanged(old, seconds);
    }
    PlayState playState() const override { return playing_ ? PlayState::Playing : PlayState::Paused; }
    void play() override { playing_ = true; }
    void pause() override { playing_ = false; }
    void stop() override { playing_ = false; }
    void setAudioTrack(int) override {}

private:
    QElapsedTimer start_;
    double offset_ = 0;
    bool playing_ = true;
};

long residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

struct Setup {
    QTemporaryDir dir;
    SilentDialogs ui;
    Language language{QString()};
    Workspace ws{ui, language};
    ClockPlayer player;
    std::unique_ptr<FilmSound> sound;
    std::unique_ptr<WaveformStrip> strip;

    Setup(const QString &film, const QString &cacheFolder)
    {
        ws.numbers = NumberFormat::dot();
        // 1,500 subtitles over the two hours, as a feature film has.
        std::vector<SubtitleEntry> rows;
        for (int i = 0; i < 1500; ++i) {
            const double start = 4 + i * 4.75;
            rows.push_back({QString::number(i + 1), SecondsToText(start, ws.numbers), SecondsToText(start + 3, ws.numbers),
                            QStringLiteral("Satır %1").arg(i + 1)});
        }
        ws.list.replaceAll(std::move(rows));
        ws.list.select(700);
        ws.history.startNew();
        sound = std::make_unique<FilmSound>(ws, sound::SoundCache(cacheFolder));
        strip = std::make_unique<WaveformStrip>(ws, *sound, player);
        strip->resize(1280, 120);
        strip->show();
        player.open(film);
        auto described = media::describeFilm(film);
        ws.film.open(film, described ? std::optional(*described) : std::nullopt, 0);
    }
    bool waitReady()
    {
        QElapsedTimer clock;
        clock.start();
        while (sound->state() == FilmSound::State::Analysing && clock.elapsed() < 600000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return sound->state() == FilmSound::State::Ready;
    }
};

int paint(const QString &film, const QString &cache)
{
    Setup s(film, cache);
    if (!s.waitReady())
        return std::fprintf(stderr, "the film's sound was not analysed\n"), 1;
    // Speech spans all along, as a film with dialogue has.
    std::vector<sound::SpeechSpan> spans;
    for (double t = 3; t < 7190; t += 4.75)
        spans.push_back({t, t + 2.5});
    s.ws.filmSpeech.setSpans(spans);
    QImage target(s.strip->size(), QImage::Format_ARGB32_Premultiplied);
    {
        // A window paints into a backing store that is long in memory: the
        // new image's first touch is not the strip's cost.
        QPainter painter(&target);
        s.strip->render(painter);
    }
    for (double span : {7200.0, 600.0, 60.0, 10.0, 1.0}) {
        std::vector<double> ms, cpu;
        double from = 0;
        for (int i = 0; i < 200; ++i) {
            s.strip->setView(from, span);
            QElapsedTimer clock;
            timespec before{}, after{};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &before);
            clock.start();
            QPainter painter(&target);
            s.strip->render(painter);
            painter.end();
            ms.push_back(clock.nsecsElapsed() / 1e6);
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &after);
            cpu.push_back((after.tv_sec - before.tv_sec) * 1e3 + (after.tv_nsec - before.tv_nsec) / 1e6);
            from = std::fmod(from + span / 3 + 12.345, std::max(1.0, 7200 - span));
        }
        std::sort(ms.begin(), ms.end());
        std::sort(cpu.begin(), cpu.end());
        std::printf("paint %g s across: wall median %.3f ms, 99th %.3f ms, worst %.3f ms; CPU (all threads) median %.3f ms, "
                    "worst %.3f ms\n",
                    span, ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back(), cpu[cpu.size() / 2], cpu.back());
    }
    return 0;
}

// The calling thread's processor time and its time waiting for a processor
// (ready to run but not running), in ns, from the scheduler's own count.
struct ThreadTimes {
    qint64 cpu = 0;
    qint64 queued = 0;
};

ThreadTimes threadTimes()
{
    ThreadTimes t;
    const int fd = ::open("/proc/thread-self/schedstat", O_RDONLY);
    if (fd < 0)
        return t;
    char text[128] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n > 0)
        std::sscanf(text, "%lld %lld", &t.cpu, &t.queued);
    return t;
}

// How late a 4 ms timer fires, all along, and for the worst gap how much of
// it the window's thread ran (our code) and how much it sat ready but
// without a processor (the machine).
class WaitProbe {
public:
    WaitProbe()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 gap = tick_.nsecsElapsed();
            const ThreadTimes now = threadTimes();
            const qint64 ran = now.cpu - last_.cpu, queued = now.queued - last_.queued;
            if (gap > worst_) {
                worst_ = gap;
                worstRan_ = ran;
                worstQueued_ = queued;
            }
            if (ran > longestRun_) {
                longestRun_ = ran;
                longestRunAt_ = since_.elapsed();
            }
            if (gap > 16000000)
                ++late_;
            tick_.restart();
            last_ = now;
            ++ticks_;
        });
    }
    void start()
    {
        last_ = threadTimes();
        since_.start();
        tick_.start();
        timer_.start(4);
    }
    QString report() const
    {
        return QString::asprintf("longest wait %.1f ms over %lld ticks of 4 ms (%lld over 16 ms); in the longest the "
                                 "window's thread ran %.1f ms and waited for a processor %.1f ms; its longest run "
                                 "between two ticks %.1f ms (at %.1f s)",
                                 worst_ / 1e6, ticks_, late_, worstRan_ / 1e6, worstQueued_ / 1e6, longestRun_ / 1e6,
                                 longestRunAt_ / 1000.0);
    }

private:
    QTimer timer_;
    QElapsedTimer tick_, since_;
    ThreadTimes last_;
    qint64 longestRunAt_ = 0;
    qint64 worst_ = 0, worstRan_ = 0, worstQueued_ = 0, longestRun_ = 0, ticks_ = 0, late_ = 0;
};

int emptyLoop(int seconds)
{
    WaitProbe probe;
    probe.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    std::printf("an empty event loop for %d s: %s\n", seconds, qPrintable(probe.report()));
    return 0;
}

int wait(const QString &film)
{
    QTemporaryDir fresh; // nothing cached: the whole analysis runs
    QElapsedTimer total;
    total.start();
    Setup s(film, fresh.path());
    s.strip->setView(0, 20);
    WaitProbe probe;
    probe.start();
    // A real event loop, sleeping between events as the program's does.
    QEventLoop loop;
    QObject::connect(s.sound.get(), &FilmSound::changed, &loop, [&] {
        if (s.sound->state() != FilmSound::State::Analysing)
            loop.quit();
    });
    if (s.sound->state() == FilmSound::State::Analysing)
        loop.exec();
    std::printf("analysed while playing in %.1f s; %s\n", total.elapsed() / 1000.0, qPrintable(probe.report()));
    return s.sound->state() == FilmSound::State::Ready ? 0 : 1;
}

int soak(const QString &film, const QString &cache, int seconds)
{
    Setup s(film, cache);
    if (!s.waitReady())
        return 1;
    QElapsedTimer clock;
    clock.start();
    long first = 0, highest = 0, last = 0;
    int step = 0;
    QTimer work;
    QObject::connect(&work, &QTimer::timeout, [&] {
        // Zoom, scroll, drag a row and take it back, now and then seek.
        const double span = std::array{1.0, 10.0, 60.0, 600.0, 7200.0}[std::size_t(step % 5)];
        s.strip->setView(s.player.position() - span / 4, span);
        const int row = step % 1500;
        dragRow(s.ws, row, DragPart(step % 3), (step % 7 - 3) * 0.1);
        if (step % 2)
            s.ws.history.undo();
        if (step % 50 == 0)
            s.player.setPosition(std::fmod(step * 37.0, 7000));
        ++step;
    });
    work.start(20);
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        last = residentKb();
        if (clock.elapsed() >= 10000 && first == 0)
            first = last; // after a warm-up
        highest = std::max(highest, last);
        std::printf("  %3lld s: %ld kB\n", clock.elapsed() / 1000, last);
        std::fflush(stdout);
    });
    sample.start(5000);
    while (clock.elapsed() < seconds * 1000LL)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    std::printf("soak of %d s, %d steps: %ld kB after 10 s, %ld kB at the end, %ld kB at most\n", seconds, step, first,
                last, highest);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: korvendal-strip-probe FILM paint|wait|floor|soak [SECONDS]\n");
        return 2;
    }
    QTemporaryDir cache;
    const QString film = args[1], what = args[2];
    if (what == QLatin1String("paint"))
        return paint(film, cache.path());
    if (what == QLatin1String("wait"))
        return wait(film);
    if (what == QLatin1String("floor"))
        return emptyLoop(args.value(3, QStringLiteral("15")).toInt());
    if (what == QLatin1String("soak"))
        return soak(film, cache.path(), args.value(3, QStringLiteral("60")).toInt());
    return 2;
}
