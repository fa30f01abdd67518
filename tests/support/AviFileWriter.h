#pragma once
// Builds AVI files for tests and benchmarks: the headers with any values,
// MJPEG frames from pictures, OpenDML extensions.

#include <QByteArray>
#include <QImage>

#include <vector>

namespace korv::test {

struct AviSpec {
    // Main header.
    quint32 microSecPerFrame = 40000;
    quint32 maxBytesPerSec = 0;
    quint32 flags = 0x10; // has an index
    quint32 totalFrames = 0;
    quint32 streams = 1;
    quint32 suggestedBufferSize = 0;
    quint32 width = 64;
    quint32 height = 48;
    // The video stream.
    QByteArray handler = "MJPG";
    quint32 streamFlags = 0;
    quint16 priority = 0;
    quint16 language = 0;
    quint32 scale = 1;
    quint32 rate = 25;
    quint32 start = 0;
    quint32 length = 0;
    quint32 quality = 0xFFFFFFFF;
    qint16 frameRect[4] = {0, 0, 0, 0};
    QByteArray name;        // 'strn', written when not empty
    bool audioFirst = false; // an audio stream before the video one
    // OpenDML: the 'odml' list with this total, and an 'AVIX' part.
    bool openDml = false;
    quint32 grandFrames = 0;
    // Frames: encoded pictures, each a '00dc' chunk.
    std::vector<QByteArray> frames;
};

QByteArray buildAvi(const AviSpec &spec);
// A picture encoded as one MJPEG frame.
QByteArray jpegFrame(const QImage &image);
// `count` frames of `size`, each a different colour (frame i's hue i * 37).
std::vector<QByteArray> colourFrames(int count, QSize size);

} // namespace korv::test
