#include "support/AviFileWriter.h"

#include <QBuffer>
#include <QColor>

#include <initializer_list>

namespace korv::test {

namespace {

// Little-endian 32-bit values, or 16-bit ones with `half`.
QByteArray le(std::initializer_list<quint32> values, bool half = false)
{
    QByteArray out;
    for (quint32 v : values) {
        for (int i = 0; i < (half ? 2 : 4); ++i)
            out += char((v >> (8 * i)) & 0xFF);
    }
    return out;
}

QByteArray chunk(const char *id, const QByteArray &data)
{
    QByteArray out = QByteArray(id, 4) + le({quint32(data.size())}) + data;
    return data.size() % 2 ? out + '\0' : out;
}

QByteArray list(const char *type, const QByteArray &children, const char *id = "LIST")
{
    return chunk(id, QByteArray(type, 4) + children);
}

QByteArray streamHeader(const char *type, const char *handler, const AviContents &s, quint32 scale, quint32 rate)
{
    QByteArray d = QByteArray(type, 4) + QByteArray(handler, 4) + le({0, 0, 0, scale, rate, s.start, s.length, 0});
    d += le({s.quality, 0});
    for (qint16 v : s.frameRect)
        d += le({quint32(quint16(v))}, true);
    return d;
}

} // namespace

QByteArray buildAvi(const AviContents &s)
{
    QByteArray hdrl = chunk("avih", le({s.microSecPerFrame, s.maxBytesPerSec, 0, s.flags, s.totalFrames, 0, s.streams,
                                        s.suggestedBufferSize, s.width, s.height, 0, 0, 0, 0}));
    if (s.audioFirst) {
        const QByteArray wave = le({1, 2}, true) + le({44100, 176400}) + le({4, 16}, true);
        hdrl += list("strl", chunk("strh", streamHeader("auds", "\0\0\0\0", s, 1, 44100)) + chunk("strf", wave));
    }
    const QByteArray bitmap = le({40, s.width, s.height}) + le({1, 24}, true) + "MJPG" + le({s.width * s.height * 3, 0, 0, 0, 0});
    QByteArray strl = chunk("strh", streamHeader("vids", "MJPG", s, s.scale, s.rate)) + chunk("strf", bitmap);
    if (!s.name.isEmpty())
        strl += chunk("strn", s.name + '\0');
    hdrl += list("strl", strl);
    if (s.openDml)
        hdrl += list("odml", chunk("dmlh", le({s.grandFrames}) + QByteArray(244, '\0')));

    QByteArray movi;
    QByteArray index;
    for (const QByteArray &frame : s.frames) {
        index += "00dc" + le({0x10, quint32(movi.size() + 4), quint32(frame.size())});
        movi += chunk("00dc", frame);
    }
    QByteArray file = list("AVI ", list("hdrl", hdrl) + list("movi", movi) + chunk("idx1", index), "RIFF");
    return s.openDml ? file + list("AVIX", list("movi", {}), "RIFF") : file;
}

std::vector<QByteArray> colourFrames(int count, QSize size)
{
    std::vector<QByteArray> frames;
    for (int i = 0; i < count; ++i) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(i * 37 % 360, 200, 220));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG", 90);
        frames.push_back(buffer.data());
    }
    return frames;
}

} // namespace korv::test
