#include "media/AviHeaders.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>

namespace korv {

namespace {

constexpr qint32 kRiff = fourCC("RIFF");
constexpr qint32 kList = fourCC("LIST");
constexpr qint32 kAvi = fourCC("AVI ");
constexpr qint32 kAvix = fourCC("AVIX");
constexpr qint32 kHdrl = fourCC("hdrl");
constexpr qint32 kStrl = fourCC("strl");
constexpr qint32 kOdml = fourCC("odml");
constexpr qint32 kMovi = fourCC("movi");
constexpr qint32 kAvih = fourCC("avih");
constexpr qint32 kStrh = fourCC("strh");
constexpr qint32 kStrf = fourCC("strf");
constexpr qint32 kStrn = fourCC("strn");
constexpr qint32 kDmlh = fourCC("dmlh");
constexpr qint32 kVids = fourCC("vids");

// Can read, can write: what the file and stream records say of any AVI file.
constexpr qint32 kCaps = 3;
// Garbage of many tiny chunks must not keep the walk going for long.
constexpr int kMaxChunksPerList = 4096;
constexpr qsizetype kMaxTextLength = 63;

constexpr qsizetype kAvihSize = 56;
constexpr qsizetype kStrhMinSize = 48; // up to dwSampleSize; rcFrame may be missing
constexpr qsizetype kStrhFullSize = 56;

struct Chunk {
    qint32 id = 0;
    qint64 dataPos = 0;
    qint64 size = 0;     // as declared
    qint64 dataEnd = 0;  // the declared end, cut at the parent's end
    qint64 next = 0;     // where the following chunk starts (sizes are padded to even)
};

class RiffReader {
public:
    explicit RiffReader(QIODevice &device) : device_(device), fileSize_(device.size()) {}

    qint64 fileSize() const { return fileSize_; }

    // Reads up to `count` bytes at `pos` (fewer at the file's end).
    QByteArray read(qint64 pos, qint64 count)
    {
        if (pos < 0 || pos >= fileSize_ || count <= 0 || !device_.seek(pos))
            return {};
        return device_.read(std::min(count, fileSize_ - pos));
    }

    std::optional<Chunk> chunkAt(qint64 pos, qint64 parentEnd)
    {
        if (pos + 8 > parentEnd)
            return std::nullopt;
        const QByteArray head = read(pos, 8);
        if (head.size() < 8)
            return std::nullopt;
        Chunk chunk;
        chunk.id = qFromLittleEndian<qint32>(head.constData());
        chunk.size = qFromLittleEndian<quint32>(head.constData() + 4);
        chunk.dataPos = pos + 8;
        chunk.dataEnd = std::min(chunk.dataPos + chunk.size, parentEnd);
        chunk.next = chunk.dataPos + chunk.size + (chunk.size & 1);
        return chunk;
    }

    // The form type of a RIFF or LIST chunk (its first four data bytes).
    std::optional<qint32> listType(const Chunk &chunk)
    {
        if (chunk.dataEnd - chunk.dataPos < 4)
            return std::nullopt;
        const QByteArray type = read(chunk.dataPos, 4);
        if (type.size() < 4)
            return std::nullopt;
        return qFromLittleEndian<qint32>(type.constData());
    }

    // The data of a small chunk, at most `limit` bytes, never past its end.
    QByteArray data(const Chunk &chunk, qint64 limit) { return read(chunk.dataPos, std::min(limit, chunk.dataEnd - chunk.dataPos)); }

    // Calls visit(chunk) for each child of a list whose children run from
    // `from` to `end`; visit returns false to stop.
    template <typename Visit>
    void forEachChild(qint64 from, qint64 end, Visit visit)
    {
        qint64 pos = from;
        for (int n = 0; n < kMaxChunksPerList; ++n) {
            const std::optional<Chunk> chunk = chunkAt(pos, end);
            if (!chunk || !visit(*chunk))
                return;
            pos = chunk->next;
        }
    }

private:
    QIODevice &device_;
    qint64 fileSize_;
};

qint32 le32(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

qint16 le16(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<qint16>(bytes.constData() + offset);
}

QByteArray upToNul(const QByteArray &bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return (nul < 0 ? bytes : bytes.left(nul)).left(kMaxTextLength);
}

struct MainHeader {
    qint32 microSecPerFrame = 0;
    qint32 maxBytesPerSec = 0;
    qint32 flags = 0;
    qint32 totalFrames = 0;
    qint32 streams = 0;
    qint32 suggestedBufferSize = 0;
    qint32 width = 0;
    qint32 height = 0;
};

MainHeader parseMainHeader(const QByteArray &d)
{
    MainHeader h;
    h.microSecPerFrame = le32(d, 0);
    h.maxBytesPerSec = le32(d, 4);
    // 8: padding granularity
    h.flags = le32(d, 12);
    h.totalFrames = le32(d, 16);
    // 20: initial frames
    h.streams = le32(d, 24);
    h.suggestedBufferSize = le32(d, 28);
    h.width = le32(d, 32);
    h.height = le32(d, 36);
    return h;
}

// The stream record from 'strh', with the frame size of 'strf' where 'strh'
// has no rectangle.
std::optional<AviStreamInfo> parseStreamList(RiffReader &riff, const Chunk &strl)
{
    QByteArray strh;
    QByteArray strf;
    QByteArray strn;
    bool haveStrh = false;
    riff.forEachChild(strl.dataPos + 4, strl.dataEnd, [&](const Chunk &c) {
        if (c.id == kStrh && !haveStrh) {
            strh = riff.data(c, kStrhFullSize);
            haveStrh = true;
        } else if (c.id == kStrf && strf.isEmpty()) {
            strf = riff.data(c, 12);
        } else if (c.id == kStrn && strn.isEmpty()) {
            strn = riff.data(c, 256);
        }
        return true;
    });
    if (strh.size() < kStrhMinSize)
        return std::nullopt;

    AviStreamInfo s;
    s.fccType = le32(strh, 0);
    s.fccHandler = le32(strh, 4);
    s.dwFlags = le32(strh, 8);
    s.wPriority = le16(strh, 12);
    s.wLanguage = le16(strh, 14);
    s.dwInitialFrames = le32(strh, 16);
    s.dwScale = le32(strh, 20);
    s.dwRate = le32(strh, 24);
    s.dwStart = le32(strh, 28);
    s.dwLength = le32(strh, 32);
    s.dwSuggestedBufferSize = le32(strh, 36);
    s.dwQuality = le32(strh, 40);
    s.dwSampleSize = le32(strh, 44);
    if (strh.size() >= kStrhFullSize) {
        s.rcFrameLeft = le16(strh, 48);
        s.rcFrameTop = le16(strh, 50);
        s.rcFrameRight = le16(strh, 52);
        s.rcFrameBottom = le16(strh, 54);
    }
    const bool emptyFrame = s.rcFrameRight <= s.rcFrameLeft || s.rcFrameBottom <= s.rcFrameTop;
    if (emptyFrame && strf.size() >= 12) {
        // BITMAPINFOHEADER: biSize, biWidth, biHeight (negative for top-down).
        const qint32 height = le32(strf, 8);
        s.rcFrameLeft = 0;
        s.rcFrameTop = 0;
        s.rcFrameRight = le32(strf, 4);
        s.rcFrameBottom = height == std::numeric_limits<qint32>::min() ? height : std::abs(height);
    }
    s.dwCaps = kCaps;
    s.szName = upToNul(strn);
    return s;
}

} // namespace

AviHeaders readAviHeaders(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        AviHeaders headers;
        headers.failure = AviHeaders::CannotOpen;
        return headers;
    }
    return readAviHeaders(file);
}

AviHeaders readAviHeaders(QIODevice &device)
{
    AviHeaders result;
    result.failure = AviHeaders::CannotOpen;
    if (!device.isOpen() || device.isSequential())
        return result;
    RiffReader riff(device);

    const QByteArray head = riff.read(0, 12);
    if (head.size() < 12 || le32(head, 0) != kRiff || le32(head, 8) != kAvi)
        return result;
    const qint64 declaredSize = qFromLittleEndian<quint32>(head.constData() + 4);
    const qint64 declaredEnd = 8 + declaredSize + (declaredSize & 1);
    // A size of 0 (a capture that never finished) or one past the file's end:
    // the part runs to the end of the file.
    const qint64 riffEnd = declaredSize == 0 ? riff.fileSize() : std::min(8 + declaredSize, riff.fileSize());

    std::optional<MainHeader> main;
    std::optional<AviStreamInfo> video;
    std::optional<qint32> grandFrames;
    bool openDml = false;

    auto readOdml = [&](const Chunk &odml) {
        openDml = true;
        riff.forEachChild(odml.dataPos + 4, odml.dataEnd, [&](const Chunk &c) {
            if (c.id == kDmlh) {
                const QByteArray d = riff.data(c, 4);
                if (d.size() == 4)
                    grandFrames = le32(d, 0);
                return false;
            }
            return true;
        });
    };

    bool headerListSeen = false;
    riff.forEachChild(12, riffEnd, [&](const Chunk &top) {
        if (top.id != kList)
            return true;
        const std::optional<qint32> type = riff.listType(top);
        if (type == kMovi)
            return false; // the headers come before the film's data
        if (type == kOdml) {
            readOdml(top);
        } else if (type == kHdrl && !headerListSeen) {
            headerListSeen = true;
            riff.forEachChild(top.dataPos + 4, top.dataEnd, [&](const Chunk &c) {
                if (c.id == kAvih && !main) {
                    const QByteArray d = riff.data(c, kAvihSize);
                    if (d.size() == kAvihSize)
                        main = parseMainHeader(d);
                } else if (c.id == kList) {
                    const std::optional<qint32> childType = riff.listType(c);
                    if (childType == kStrl && !video) {
                        std::optional<AviStreamInfo> stream = parseStreamList(riff, c);
                        if (stream && stream->fccType == kVids)
                            video = std::move(stream);
                    } else if (childType == kOdml) {
                        readOdml(c);
                    }
                }
                return true;
            });
        }
        return true;
    });

    if (!main)
        return result;

    // An OpenDML film goes on in 'AVIX' parts after the first one.
    if (!openDml && declaredSize != 0 && declaredEnd + 12 <= riff.fileSize()) {
        const QByteArray next = riff.read(declaredEnd, 12);
        openDml = next.size() == 12 && le32(next, 0) == kRiff && le32(next, 8) == kAvix;
    }

    AviFileInfo &f = result.file;
    f.dwMaxBytesPerSecond = main->maxBytesPerSec;
    f.dwFlags = main->flags;
    f.dwCaps = kCaps;
    f.dwStreams = main->streams;
    f.dwSuggestedBufferSize = main->suggestedBufferSize;
    f.dwWidth = main->width;
    f.dwHeight = main->height;
    f.dwScale = main->microSecPerFrame;
    f.dwRate = 1000000;
    f.dwLength = grandFrames && *grandFrames > 0 ? *grandFrames : main->totalFrames;
    f.dwEditCount = 0;
    f.szFileType = openDml ? QByteArrayLiteral("AVI File (OpenDML)") : QByteArrayLiteral("AVI File");

    if (!video) {
        result.failure = AviHeaders::NoVideoStream;
        return result;
    }
    result.stream = *video;
    result.failure = video->dwStart == -1 || video->dwLength == -1 ? AviHeaders::StreamRange : AviHeaders::None;
    return result;
}

} // namespace korv
