#include "BenchData.h"

#include "document/MicroDvdFormat.h"
#include "document/SubRipFormat.h"
#include "document/SubViewerFormat.h"
#include "document/TextCodec.h"
#include "document/TimeText.h"
#include "document/WebVttFormat.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace korv::bench {

std::vector<SubtitleEntry> makeRows(int count)
{
    static const char16_t *lines[] = {u"Bunu gerçekten yapmak istiyor musun?", u"Işıklar söndüğünde buluşalım.",
                                      u"Çabuk ol, şoför bekliyor!", u"Göründüğü kadar kolay değil|ama deneyeceğim.",
                                      u"İstanbul'a yarın sabah varırız.", u"Ne dediğini duymadım|tekrar söyler misin?"};
    std::vector<SubtitleEntry> rows;
    rows.reserve(std::size_t(count));
    // 100,000 subtitles fit the ten hours a SubViewer file can hold only when
    // they follow each other quickly.
    double t = 5.0;
    for (int i = 0; i < count; ++i) {
        const double length = 0.2 + (i % 5) * 0.01;
        rows.push_back({QString::number(i + 1), SecondsToText(RoundToHundredths(t), kNumbers),
                        SecondsToText(RoundToHundredths(t + length), kNumbers),
                        QString::fromUtf16(lines[i % 6])});
        t += length + 0.1 + (i % 3) * 0.01;
    }
    return rows;
}

QByteArray subViewerFile(int count)
{
    SubtitleList list;
    list.replaceAll(makeRows(count));
    return encodeWindows1254(*subviewer::write(list, kNumbers)).bytes;
}

QByteArray microDvdFile(int count)
{
    SubtitleList list;
    list.replaceAll(makeRows(count));
    return encodeWindows1254(*microdvd::write(list, 25, kNumbers)).bytes;
}

Language &languages()
{
    static Language none{QString()};
    return none;
}

QByteArray subRipFile(int count)
{
    SubtitleList list;
    list.replaceAll(makeRows(count));
    return subrip::write(list, kNumbers)->toUtf8();
}

QByteArray webVttFile(int count)
{
    SubtitleList list;
    list.replaceAll(makeRows(count));
    return webvtt::write(list, kNumbers)->toUtf8();
}

int runBenchmarks(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace korv::bench
