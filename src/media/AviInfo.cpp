#include "media/AviInfo.h"

#include "document/TextCodec.h"
#include "document/TimeText.h"

#include <cmath>

namespace korv {

namespace {

const QString kNoValue = QStringLiteral("-");

QString text(const QByteArray &bytes)
{
    return decodeValue(bytes);
}

} // namespace

bool isAviFileName(const QString &fileName)
{
    return fileName.right(3).compare(QLatin1String("AVI"), Qt::CaseInsensitive) == 0;
}

double SummarizeAvi(const AviFileInfo &fileInfo, const AviStreamInfo &streamInfo, const NumberFormat &nf,
                    FilmInformation &info)
{
    // A scale of 0 gives no frame rate, and a rate of 0 (or a negative one)
    // is none either: nothing could be counted in frames of it.
    const double computed = streamInfo.dwScale != 0 ? double(streamInfo.dwRate) / double(streamInfo.dwScale) : 0.0;
    const double rate = std::isfinite(computed) && computed > 0 ? computed : 0.0;
    const qint32 frames = fileInfo.dwLength;
    const bool timed = rate > 0;
    const double secs = timed ? double(frames) / rate : 0.0;

    const QString rateText = rate > 0 ? SecondsToText(rate, nf) : kNoValue;
    const QString resolution = QStringLiteral("%1x%2").arg(fileInfo.dwWidth).arg(fileInfo.dwHeight);
    QString clock = kNoValue;
    if (timed) {
        if (const auto c = FormatClockTime(secs))
            clock = *c;
    }

    info.rows.push_back({QStringLiteral("VIDEO STREAM :"), text(streamInfo.szName)});
    info.rows.push_back({QStringLiteral("RESOLUTION :"), resolution});
    info.rows.push_back({QStringLiteral("FRAME RATE :"), rateText});
    info.rows.push_back({QStringLiteral("TOTAL FRAME KARE :"), QString::number(frames) + QStringLiteral(" FRAME")});
    info.rows.push_back({QStringLiteral("TIME :"), clock});
    info.rows.push_back({QStringLiteral("TIME (MINUTE) :"),
                         timed ? FormatSeconds3(secs / 60, nf) + QStringLiteral(" dk") : kNoValue});
    info.rows.push_back({QStringLiteral("TIME (SECOND) :"),
                         timed ? FormatSeconds3(secs, nf) + QStringLiteral(" sn") : kNoValue});

    info.totalFrames = QString::number(frames);
    info.totalTime = clock;
    info.frameRate = rate > 0 ? rateText + QStringLiteral(" FPS") : kNoValue;
    info.resolution = resolution;
    return rate;
}

void ShowAviDetails(const AviFileInfo &f, const AviStreamInfo &s, std::vector<AviInfoRow> &rows)
{
    auto add = [&rows](const char *name, qint64 value) {
        rows.push_back({QLatin1String(name), QString::number(value)});
    };
    rows.push_back({QString(), QStringLiteral("AVI FILE DETAILS"), true});
    add("dwMaxBytesPerSecond", f.dwMaxBytesPerSecond);
    add("dwFlags", f.dwFlags);
    add("dwCaps", f.dwCaps);
    add("dwStreams", f.dwStreams);
    add("dwSuggestedBufferSize", f.dwSuggestedBufferSize);
    add("dwWidth", f.dwWidth);
    add("dwHeight", f.dwHeight);
    add("dwScale", f.dwScale);
    add("dwRate", f.dwRate);
    add("dwLength", f.dwLength);
    add("dwEditCount", f.dwEditCount);
    rows.push_back({QStringLiteral("szFileType"), text(f.szFileType)});

    rows.push_back({QString(), QStringLiteral("AVI STREAM DETAILS"), true});
    add("fccType", s.fccType);
    add("fccHandler", s.fccHandler);
    add("dwFlags", s.dwFlags);
    add("dwCaps", s.dwCaps);
    add("wPriority", s.wPriority);
    add("wLanguage", s.wLanguage);
    add("dwScale", s.dwScale);
    add("dwRate", s.dwRate);
    add("dwStart", s.dwStart);
    add("dwLength", s.dwLength);
    add("dwInitialFrames", s.dwInitialFrames);
    add("dwSuggestedBufferSize", s.dwSuggestedBufferSize);
    add("dwQuality", s.dwQuality);
    add("dwSampleSize", s.dwSampleSize);
    add("rcFrame.left", s.rcFrameLeft);
    add("rcFrame.top", s.rcFrameTop);
    add("rcFrame.right", s.rcFrameRight);
    add("rcFrame.bottom", s.rcFrameBottom);
    add("dwEditCount", s.dwEditCount);
    add("dwFormatChangeCount", s.dwFormatChangeCount);
    rows.push_back({QStringLiteral("szName"), text(s.szName)});
}

} // namespace korv
