#include "preview/AviHeaders.h"
#include "support/AviFileWriter.h"

#include <QBuffer>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace korv;
using namespace korv::test;

namespace {

// Counts what the reader takes from the file.
class CountingBuffer : public QBuffer {
public:
    qint64 bytesRead = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = QBuffer::readData(data, maxSize);
        bytesRead += std::max<qint64>(n, 0);
        return n;
    }
};

AviHeaders read(const QByteArray &bytes, qint64 *bytesRead = nullptr)
{
    CountingBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    AviHeaders headers = readAviHeaders(buffer);
    if (bytesRead)
        *bytesRead = buffer.bytesRead;
    return headers;
}

AviSpec film()
{
    AviSpec s;
    s.width = 640;
    s.height = 480;
    s.totalFrames = 1500;
    s.length = 1500;
    s.maxBytesPerSec = 123456;
    s.suggestedBufferSize = 65536;
    s.flags = 0x910;
    s.name = "Video #1";
    return s;
}

void patch32(QByteArray &bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

} // namespace

TEST(AviHeaders, FillsBothRecordsFromTheHeaders)
{
    AviSpec s = film();
    s.frames = colourFrames(300, {64, 48});
    qint64 bytesRead = 0;
    const AviHeaders h = read(buildAvi(s), &bytesRead);
    ASSERT_TRUE(h.ok());
    EXPECT_EQ(h.file.dwMaxBytesPerSecond, 123456);
    EXPECT_EQ(h.file.dwFlags, 0x910);
    EXPECT_EQ(h.file.dwCaps, 3);
    EXPECT_EQ(h.file.dwStreams, 1);
    EXPECT_EQ(h.file.dwSuggestedBufferSize, 65536);
    EXPECT_EQ(h.file.dwWidth, 640);
    EXPECT_EQ(h.file.dwHeight, 480);
    EXPECT_EQ(h.file.dwScale, 40000); // microseconds per frame
    EXPECT_EQ(h.file.dwRate, 1000000);
    EXPECT_EQ(h.file.dwLength, 1500);
    EXPECT_EQ(h.file.dwEditCount, 0);
    EXPECT_EQ(h.file.szFileType, "AVI File");

    EXPECT_EQ(h.stream.fccType, 1935960438);
    EXPECT_EQ(h.stream.fccHandler, fourCC("MJPG"));
    EXPECT_EQ(h.stream.dwScale, 1);
    EXPECT_EQ(h.stream.dwRate, 25);
    EXPECT_EQ(h.stream.dwLength, 1500);
    EXPECT_EQ(h.stream.dwQuality, -1); // all bits set reads as a signed number
    EXPECT_EQ(h.stream.dwCaps, 3);
    // The stream header has no rectangle: the bitmap header's size gives it.
    EXPECT_EQ(QList<qint32>({h.stream.rcFrameLeft, h.stream.rcFrameTop, h.stream.rcFrameRight, h.stream.rcFrameBottom}),
              QList<qint32>({0, 0, 640, 480}));
    EXPECT_EQ(h.stream.szName, "Video #1");
    // Headers only: the 300 frames are never read.
    EXPECT_LT(bytesRead, 4096);
}

TEST(AviHeaders, TakesTheFirstVideoStreamAndItsOwnRectangle)
{
    AviSpec s = film();
    s.audioFirst = true;
    s.streams = 2;
    s.scale = 1001;
    s.rate = 30000;
    s.frameRect[0] = 8;
    s.frameRect[1] = -2;
    s.frameRect[2] = 632;
    s.frameRect[3] = 470;
    s.name = QByteArray(80, 'n');
    const AviHeaders h = read(buildAvi(s));
    ASSERT_TRUE(h.ok());
    EXPECT_EQ(h.stream.fccType, fourCC("vids"));
    EXPECT_EQ(h.stream.dwRate, 30000);
    EXPECT_EQ(h.stream.dwScale, 1001);
    EXPECT_EQ(QList<qint32>({h.stream.rcFrameLeft, h.stream.rcFrameTop, h.stream.rcFrameRight, h.stream.rcFrameBottom}),
              QList<qint32>({8, -2, 632, 470}));
    EXPECT_EQ(h.stream.szName.size(), 63); // the record holds 64 with its NUL
}

TEST(AviHeaders, OpenDmlFilesGiveTheirGrandTotal)
{
    AviSpec s = film();
    s.totalFrames = 1000; // the first RIFF part only
    s.openDml = true;
    s.grandFrames = 54000;
    AviHeaders h = read(buildAvi(s));
    ASSERT_TRUE(h.ok());
    EXPECT_EQ(h.file.dwLength, 54000);
    EXPECT_EQ(h.file.szFileType, "AVI File (OpenDML)");

    // An 'AVIX' part without an 'odml' list: the main header's total stays.
    s.openDml = false;
    h = read(buildAvi(s) + QByteArray("RIFF\x04\0\0\0AVIX", 12));
    ASSERT_TRUE(h.ok());
    EXPECT_EQ(h.file.dwLength, 1000);
    EXPECT_EQ(h.file.szFileType, "AVI File (OpenDML)");
}

TEST(AviHeaders, ReportsWhichStepFailed)
{
    EXPECT_EQ(read("").failure, AviHeaders::CannotOpen);
    EXPECT_EQ(read("[INFORMATION]\r\n[TITLE]\r\n").failure, AviHeaders::CannotOpen);
    QByteArray wave = buildAvi(film());
    wave.replace(8, 4, "WAVE");
    EXPECT_EQ(read(wave).failure, AviHeaders::CannotOpen);
    EXPECT_EQ(readAviHeaders(QStringLiteral("/no/such/film.avi")).failure, AviHeaders::CannotOpen);

    QByteArray noVideo = buildAvi(film());
    noVideo.replace(noVideo.indexOf("vids"), 4, "txts");
    EXPECT_EQ(read(noVideo).failure, AviHeaders::NoVideoStream);

    AviSpec s = film();
    s.start = 0xFFFFFFFF;
    EXPECT_EQ(read(buildAvi(s)).failure, AviHeaders::StreamRange);
    s.start = 0;
    s.length = 0xFFFFFFFF;
    EXPECT_EQ(read(buildAvi(s)).failure, AviHeaders::StreamRange);
}

TEST(AviHeaders, ReadsTruncatedFilesAsFarAsTheHeadersGo)
{
    const QByteArray whole = buildAvi(film());
    const qsizetype strhEnd = whole.indexOf("strh") + 8 + 48;
    for (qsizetype n = 0; n < whole.size(); ++n) {
        const AviHeaders h = read(whole.left(n));
        EXPECT_EQ(h.ok(), n >= strhEnd) << "cut at " << n;
        if (h.ok())
            EXPECT_EQ(h.stream.dwRate, 25) << "cut at " << n;
    }
}

TEST(AviHeaders, SurvivesLyingSizes)
{
    const QByteArray whole = buildAvi(film());
    const qsizetype hdrl = whole.indexOf("hdrl") - 8;
    for (quint32 riffSize : {0u, 4u, 0xFFFFFFF0u}) {
        QByteArray bytes = whole;
        patch32(bytes, 4, riffSize);
        // A part size of 0 or past the file: the part runs to the file's end;
        // a size that ends before the headers hides them.
        EXPECT_EQ(read(bytes).ok(), riffSize != 4) << riffSize;
    }
    QByteArray longList = whole;
    patch32(longList, hdrl + 4, 0x7FFFFFFF);
    EXPECT_TRUE(read(longList).ok());
    QByteArray longMainHeader = whole;
    patch32(longMainHeader, whole.indexOf("avih") + 4, 0xFFFFFFFF);
    EXPECT_EQ(read(longMainHeader).failure, AviHeaders::NoVideoStream); // the streams are inside its claimed size
}

TEST(AviHeaders, GarbageNeverBreaksTheReader)
{
    QRandomGenerator random(20240607);
    AviSpec s = film();
    s.audioFirst = true;
    s.openDml = true;
    const QByteArray whole = buildAvi(s);
    const qsizetype headerEnd = whole.indexOf("movi") + 4;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = whole.left(headerEnd + random.bounded(64));
        const int flips = 1 + random.bounded(8);
        for (int k = 0; k < flips; ++k)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        if (round % 3 == 0) {
            // Chunks of the right names with random sizes and contents.
            static const char *ids[] = {"LIST", "hdrl", "strl", "strh", "strf", "avih", "odml", "dmlh", "movi"};
            bytes = bytes.left(12);
            for (int k = 0; k < 40; ++k) {
                bytes += ids[random.bounded(9)];
                QByteArray noise(4 + random.bounded(80), '\0');
                for (char &c : noise)
                    c = char(random.bounded(256));
                patch32(noise, 0, random.bounded(2) ? random.generate() : quint32(random.bounded(120)));
                bytes += noise;
            }
        }
        const AviHeaders h = read(bytes);
        if (h.ok())
            EXPECT_EQ(h.stream.fccType, fourCC("vids"));
    }
}
