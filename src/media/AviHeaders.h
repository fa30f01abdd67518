#pragma once
// The headers of an AVI film, read by our own RIFF walker, as the two
// information records the film panel shows: the file record and the record of
// the first video stream.
//
// Only the header list is read (a few hundred bytes, found by seeking over
// chunks), never the film's data, so a film of any size answers at once.
// Sizes that run past their list, a truncated file or garbage end the walk
// where they stand; nothing is read outside the file.
//
// How the records are filled:
//   file record, from the main header 'avih':
//     dwMaxBytesPerSecond, dwFlags, dwStreams, dwSuggestedBufferSize,
//     dwWidth, dwHeight       copied;
//     dwScale                 the frame duration in microseconds
//                             (dwMicroSecPerFrame), dwRate 1000000, so that
//                             dwRate / dwScale is frames per second;
//     dwLength                the total frames: the OpenDML 'dmlh' count when
//                             the file has one (above 0), else 'avih''s own
//                             count, which covers only the first RIFF part;
//     dwCaps                  3 (can read, can write), as for any AVI file;
//     dwEditCount             0 (a file just opened has no edits);
//     szFileType              "AVI File", or "AVI File (OpenDML)" for a file
//                             with an 'odml' list or an 'AVIX' extension.
//   stream record, from the first stream whose 'strh' type is "vids":
//     fccType ... dwSampleSize copied from 'strh';
//     rcFrame                 'strh''s rectangle (16-bit values) unless it is
//                             empty or missing; then 0, 0, width, |height| of
//                             the 'strf' bitmap header;
//     dwCaps                  3; dwEditCount and dwFormatChangeCount 0;
//     szName                  the 'strn' text up to its first NUL (63 bytes
//                             at most, as the record holds 64 with the NUL).
// Every number is kept as the signed 32- or 16-bit value of its bytes.

#include <QByteArray>
#include <QString>

class QIODevice;

namespace korv {

struct AviFileInfo {
    qint32 dwMaxBytesPerSecond = 0;
    qint32 dwFlags = 0;
    qint32 dwCaps = 0;
    qint32 dwStreams = 0;
    qint32 dwSuggestedBufferSize = 0;
    qint32 dwWidth = 0;
    qint32 dwHeight = 0;
    qint32 dwScale = 0;
    qint32 dwRate = 0;
    qint32 dwLength = 0;
    qint32 dwEditCount = 0;
    QByteArray szFileType; // without the NUL
};

struct AviStreamInfo {
    qint32 fccType = 0;
    qint32 fccHandler = 0;
    qint32 dwFlags = 0;
    qint32 dwCaps = 0;
    qint16 wPriority = 0;
    qint16 wLanguage = 0;
    qint32 dwScale = 0;
    qint32 dwRate = 0;
    qint32 dwStart = 0;
    qint32 dwLength = 0;
    qint32 dwInitialFrames = 0;
    qint32 dwSuggestedBufferSize = 0;
    qint32 dwQuality = 0;
    qint32 dwSampleSize = 0;
    qint32 rcFrameLeft = 0;
    qint32 rcFrameTop = 0;
    qint32 rcFrameRight = 0;
    qint32 rcFrameBottom = 0;
    qint32 dwEditCount = 0;
    qint32 dwFormatChangeCount = 0;
    QByteArray szName; // without the NUL
};

// A four-character code as the little-endian number the headers hold
// ("vids" is 1935960438).
constexpr qint32 fourCC(const char (&code)[5])
{
    return qint32(quint32(quint8(code[0])) | quint32(quint8(code[1])) << 8 | quint32(quint8(code[2])) << 16
                  | quint32(quint8(code[3])) << 24);
}

struct AviHeaders {
    // Where reading stopped: the film panel reports the first three and
    // passes over a stream range of -1 silently.
    enum Failure {
        None,
        CannotOpen,     // missing, unreadable, not a RIFF 'AVI ' file, no usable 'avih'
        NoVideoStream,  // no stream of type "vids" with a readable 'strh'
        StreamRange,    // the stream's start or length is -1
    };
    Failure failure = None;
    AviFileInfo file;
    AviStreamInfo stream;

    bool ok() const { return failure == None; }
};

AviHeaders readAviHeaders(const QString &path);
// The same from an open device (seekable); the device's position moves.
AviHeaders readAviHeaders(QIODevice &device);

} // namespace korv
