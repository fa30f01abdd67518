#include "support/AviFileWriter.h"

#include <QBuffer>
#include <QColor>
#include <QtEndian>

namespace korv::test {

namespace {

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

QByteArray chunk(const char *id, const QByteArray &data)
{
    QByteArray out(id, 4);
    put32(out, quint32(data.size()));
    out += data;
    if (data.size() % 2)
        out += '\0';
    return out;
}

QByteArray list(const char *type, const QByteArray &children, const char *id = "LIST")
{
    return chunk(id, QByteArray(type, 4) + children);
}

QByteArray bitmapHeader(quint32 width, quint32 height, const char *compression)
{
    QByteArray d;
    put32(d, 40);
    put32(d, width);
    put32(d, height);
    put16(d, 1);
    put16(d, 24);
    d += QByteArray(compression, 4);
    put32(d, width * height * 3);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    return d;
}

QByteArray streamHeader(const char *type, const AviSpec &s, const QByteArray &handler)
{
    QByteArray d(type, 4);
    d += handler.leftJustified(4, '\0', true);
    put32(d, s.streamFlags);
    put16(d, s.priority);
    put16(d, s.language);
    put32(d, 0); // initial frames
    put32(d, s.scale);
    put32(d, s.rate);
    put32(d, s.start);
    put32(d, s.length);
    put32(d, 0); // suggested buffer size
    put32(d, s.quality);
    put32(d, 0); // sample size
    for (qint16 v : s.frameRect)
        put16(d, quint16(v));
    return d;
}

} // namespace

QByteArray buildAvi(const AviSpec &s)
{
    QByteArray avih;
    put32(avih, s.microSecPerFrame);
    put32(avih, s.maxBytesPerSec);
    put32(avih, 0);
    put32(avih, s.flags);
    put32(avih, s.totalFrames);
    put32(avih, 0);
    put32(avih, s.streams);
    put32(avih, s.suggestedBufferSize);
    put32(avih, s.width);
    put32(avih, s.height);
    avih += QByteArray(16, '\0');

    QByteArray hdrl = chunk("avih", avih);
    if (s.audioFirst) {
        AviSpec audio = s;
        audio.scale = 1;
        audio.rate = 44100;
        QByteArray wave;
        put16(wave, 1);
        put16(wave, 2);
        put32(wave, 44100);
        put32(wave, 44100 * 4);
        put16(wave, 4);
        put16(wave, 16);
        hdrl += list("strl", chunk("strh", streamHeader("auds", audio, QByteArray(4, '\0'))) + chunk("strf", wave));
    }
    QByteArray strl = chunk("strh", streamHeader("vids", s, s.handler))
                      + chunk("strf", bitmapHeader(s.width, s.height, s.handler.leftJustified(4, ' ').constData()));
    if (!s.name.isEmpty())
        strl += chunk("strn", s.name + '\0');
    hdrl += list("strl", strl);
    if (s.openDml) {
        QByteArray dmlh;
        put32(dmlh, s.grandFrames);
        dmlh += QByteArray(244, '\0');
        hdrl += list("odml", chunk("dmlh", dmlh));
    }

    QByteArray movi;
    QByteArray index;
    for (const QByteArray &frame : s.frames) {
        put32(index, qFromLittleEndian<quint32>("00dc"));
        put32(index, 0x10); // key frame
        put32(index, quint32(movi.size() + 4));
        put32(index, quint32(frame.size()));
        movi += chunk("00dc", frame);
    }
    QByteArray file = list("AVI ", list("hdrl", hdrl) + list("movi", movi) + chunk("idx1", index), "RIFF");
    if (s.openDml)
        file += list("AVIX", list("movi", QByteArray()), "RIFF");
    return file;
}

QByteArray jpegFrame(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

std::vector<QByteArray> colourFrames(int count, QSize size)
{
    std::vector<QByteArray> frames;
    for (int i = 0; i < count; ++i) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((i * 37) % 360, 200, 220));
        frames.push_back(jpegFrame(image));
    }
    return frames;
}

} // namespace korv::test
