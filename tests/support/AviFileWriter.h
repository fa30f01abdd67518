#pragma once
// AVI files for tests and benchmarks: headers with any values, MJPEG frames,
// an audio stream before the video one, OpenDML parts.

#include <QByteArray>
#include <QImage>

#include <vector>

namespace korv::test {

struct AviContents {
    // Main header.
    quint32 microSecPerFrame = 40000, maxBytesPerSec = 0, flags = 0x10, totalFrames = 0, streams = 1;
    quint32 suggestedBufferSize = 0, width = 64, height = 48;
    // The video stream ('strh' rectangle left, top, right, bottom; 'strn' when not empty).
    quint32 scale = 1, rate = 25, start = 0, length = 0, quality = 0xFFFFFFFF;
    qint16 frameRect[4] = {0, 0, 0, 0};
    QByteArray name;
    bool audioFirst = false;
    // An 'odml' list with this total and an 'AVIX' part after the first one.
    bool openDml = false;
    quint32 grandFrames = 0;
    // Encoded pictures, one '00dc' chunk each.
    std::vector<QByteArray> frames;
};

QByteArray buildAvi(const AviContents &contents);
// `count` MJPEG frames of `size`, frame i one colour of hue i * 37 (mod 360).
std::vector<QByteArray> colourFrames(int count, QSize size);

} // namespace korv::test
