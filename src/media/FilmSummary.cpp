#include "media/FilmSummary.h"

#include "media/MediaMessages.h"

#include <QLocale>

namespace korv::media {

namespace {

const QString kNoValue = QStringLiteral("-");

// "tur (Turkish)": the code the file gives and the language's name as the
// standard names it, as codec names are given.
QString languageText(const QString &code)
{
    const QLocale::Language language = QLocale::codeToLanguage(code, QLocale::ISO639Part2);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return code;
    return QStringLiteral("%1 (%2)").arg(code, QLocale::languageToString(language));
}

} // namespace

QString rateDecimal(double rate, const NumberFormat &nf)
{
    // "#0.###" without the separator a whole rate would end in: "25", "23,976".
    QString text = FormatSeconds3(rate, nf);
    if (text.endsWith(nf.decimal))
        text.chop(1);
    return text;
}

QString rateText(Rational rate, const NumberFormat &nf)
{
    if (!rate.valid())
        return kNoValue;
    const QString decimal = rateDecimal(rate.value(), nf);
    return rate.den == 1 ? decimal : QStringLiteral("%1 (%2/%3)").arg(decimal).arg(rate.num).arg(rate.den);
}

QString audioTrackText(const AudioTrack &track, const TextOf &text)
{
    QString value = text(Message::of(msg::AudioTrackValue, {track.codec, QString::number(track.channels),
                                                            QString::number(track.sampleRate)}));
    if (!track.language.isEmpty())
        value += QStringLiteral(", ") + languageText(track.language);
    if (!track.title.isEmpty())
        value += QStringLiteral(", \"%1\"").arg(track.title);
    return value;
}

double SummarizeFilm(const FilmDescription &film, const NumberFormat &nf, const TextOf &text, FilmInformation &info)
{
    auto name = [&text](const QString &key, const QStringList &args = {}) { return text(Message::of(key, args)); };
    QString clock = kNoValue;
    if (film.duration > 0) {
        if (const auto c = FormatClockTime(film.duration))
            clock = *c;
    }
    info = FilmInformation{};
    info.totalTime = clock;
    info.rows.push_back({name(msg::RowContainer), film.container});
    double rate = 0;
    if (film.video) {
        const VideoStream &v = *film.video;
        rate = v.rate.value();
        const QString resolution = QStringLiteral("%1x%2").arg(v.width).arg(v.height);
        QString rateRow = rateText(v.rate, nf);
        if (v.variable)
            rateRow = name(msg::VariableRate, {rateRow});
        const QString frames = v.frames > 0 ? QString::number(v.frames) : kNoValue;
        info.rows.push_back({name(msg::RowVideoCodec), v.codec});
        info.rows.push_back({name(msg::RowResolution), resolution});
        info.rows.push_back({name(msg::RowFrameRate), rateRow});
        info.rows.push_back({name(msg::RowTotalFrames),
                             v.framesCounted || v.frames <= 0 ? frames : name(msg::AboutFrames, {frames})});
        info.resolution = resolution;
        info.totalFrames = frames;
        info.frameRate = rate > 0 ? rateDecimal(rate, nf) + QStringLiteral(" FPS") : kNoValue;
    }
    info.rows.push_back({name(msg::RowDuration), clock});
    for (const AudioTrack &track : film.audio)
        info.rows.push_back({name(msg::RowAudioTrack, {QString::number(track.number + 1)}), audioTrackText(track, text)});
    return rate;
}

} // namespace korv::media
