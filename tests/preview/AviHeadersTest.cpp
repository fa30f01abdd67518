#include "media/AviHeaders.h"
#include "support/AviFileWriter.h"
#include "support/QtPrinters.h"

#include <QBuffer>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace korv;
using namespace korv::test;

namespace {

AviHeaders read(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readAviHeaders(buffer);
}

AviContents film()
{
    return {.maxBytesPerSec = 123456, .flags = 0x910, .totalFrames = 1500, .suggestedBufferSize = 65536, .width = 640,
            .height = 480, .length = 1500, .name = "Video #1"};
}

// The stream header's type, handler, scale, rate, length, quality and frame rectangle.
QList<qint64> fieldsOf(const AviStreamInfo &s)
{
    return {s.fccType, s.fccHandler, s.dwScale, s.dwRate, s.dwLength, s.dwQuality,
            s.rcFrameLeft, s.rcFrameTop, s.rcFrameRight, s.rcFrameBottom};
}

void patch32(QByteArray &bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

} // namespace

TEST(AviHeaders, FillsBothRecordsFromTheHeaders)
{
    AviContents s = film();
    const AviHeaders h = read(buildAvi(s));
    ASSERT_TRUE(h.ok());
    const AviFileInfo &f = h.file;
    EXPECT_EQ(QList<qint32>({f.dwMaxBytesPerSecond, f.dwFlags, f.dwCaps, f.dwStreams, f.dwSuggestedBufferSize, f.dwWidth,
                             f.dwHeight, f.dwScale, f.dwRate, f.dwLength, f.dwEditCount}),
              QList<qint32>({123456, 0x910, 3, 1, 65536, 640, 480, 40000, 1000000, 1500, 0}));
    EXPECT_EQ(f.szFileType, "AVI File");
    // A quality with all bits set reads as a signed number; 'strh' has no
    // rectangle: the bitmap header's size gives it.
    EXPECT_EQ(fieldsOf(h.stream), QList<qint64>({1935960438, fourCC("MJPG"), 1, 25, 1500, -1, 0, 0, 640, 480}));
    EXPECT_EQ(h.stream.szName, "Video #1");

    // The first video stream, after an audio one, with its own rectangle.
    s.audioFirst = true;
    s.scale = 1001;
    s.rate = 30000;
    std::ranges::copy(std::array<qint16, 4>{8, -2, 632, 470}, s.frameRect);
    s.name = QByteArray(80, 'n');
    const AviHeaders second = read(buildAvi(s));
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(fieldsOf(second.stream),
              QList<qint64>({fourCC("vids"), fourCC("MJPG"), 1001, 30000, 1500, -1, 8, -2, 632, 470}));
    EXPECT_EQ(second.stream.szName.size(), 63); // the record holds 64 with its NUL
}

TEST(AviHeaders, OpenDmlFilesGiveTheirGrandTotal)
{
    AviContents s = film();
    s.totalFrames = 1000; // the first RIFF part only
    s.openDml = true;
    s.grandFrames = 54000;
    AviHeaders h = read(buildAvi(s));
    EXPECT_EQ(h.file.dwLength, 54000);
    EXPECT_EQ(h.file.szFileType, "AVI File (OpenDML)");

    // An 'AVIX' part without an 'odml' list: the main header's total stays.
    s.openDml = false;
    h = read(buildAvi(s) + QByteArray("RIFF\x04\0\0\0AVIX", 12));
    EXPECT_EQ(h.file.dwLength, 1000);
    EXPECT_EQ(h.file.szFileType, "AVI File (OpenDML)");
}

TEST(AviHeaders, ReportsWhichStepFailed)
{
    EXPECT_EQ(read("").failure, AviHeaders::CannotOpen);
    EXPECT_EQ(read("[INFORMATION]\r\n[TITLE]\r\n").failure, AviHeaders::CannotOpen);
    EXPECT_EQ(read(buildAvi(film()).replace("AVI LIST", "WAVELIST")).failure, AviHeaders::CannotOpen);
    EXPECT_EQ(readAviHeaders(QStringLiteral("/no/such/film.avi")).failure, AviHeaders::CannotOpen);
    EXPECT_EQ(read(buildAvi(film()).replace("vids", "txts")).failure, AviHeaders::NoVideoStream);
    AviContents s = film();
    s.start = 0xFFFFFFFF;
    EXPECT_EQ(read(buildAvi(s)).failure, AviHeaders::StreamRange);
    s.start = 0;
    s.length = 0xFFFFFFFF;
    EXPECT_EQ(read(buildAvi(s)).failure, AviHeaders::StreamRange);
}

TEST(AviHeaders, TruncatedAndLyingFiles)
{
    const QByteArray whole = buildAvi(film());
    const qsizetype strhEnd = whole.indexOf("strh") + 8 + 48;
    for (qsizetype n = 0; n < whole.size(); ++n)
        EXPECT_EQ(read(whole.left(n)).ok(), n >= strhEnd) << "cut at " << n;

    // A part size of 0 or past the file's end: the part runs to the end; a
    // size that ends before the headers hides them.
    for (quint32 riffSize : {0u, 4u, 0xFFFFFFF0u}) {
        QByteArray bytes = whole;
        patch32(bytes, 4, riffSize);
        EXPECT_EQ(read(bytes).ok(), riffSize != 4) << riffSize;
    }
    QByteArray longList = whole;
    patch32(longList, whole.indexOf("hdrl") - 4, 0x7FFFFFFF);
    EXPECT_TRUE(read(longList).ok());
    QByteArray longMainHeader = whole;
    patch32(longMainHeader, whole.indexOf("avih") + 4, 0xFFFFFFFF);
    EXPECT_EQ(read(longMainHeader).failure, AviHeaders::NoVideoStream); // the streams lie inside its claim
}

TEST(AviHeaders, GarbageNeverBreaksTheReader)
{
    QRandomGenerator random(20240607);
    AviContents s = film();
    s.audioFirst = s.openDml = true;
    const QByteArray whole = buildAvi(s);
    const qsizetype headerEnd = whole.indexOf("movi") + 4;
    static const char *ids[] = {"LIST", "hdrl", "strl", "strh", "strf", "avih", "odml", "dmlh", "movi"};
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = whole.left(headerEnd + random.bounded(64));
        for (int k = 1 + random.bounded(8); k > 0; --k)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        // Every third round: chunks of the right names, random sizes and contents.
        for (int k = 0; round % 3 == 0 && k < 40; ++k) {
            QByteArray noise(4 + random.bounded(80), char(random.bounded(256)));
            patch32(noise, 0, random.bounded(2) ? random.generate() : quint32(random.bounded(120)));
            bytes.insert(12, ids[random.bounded(9)] + noise);
        }
        const AviHeaders h = read(bytes);
        if (h.ok())
            EXPECT_EQ(h.stream.fccType, fourCC("vids"));
    }
}
