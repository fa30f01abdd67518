#pragma once
// MicroDVD files: one line per subtitle, "{start frame}{end frame}text",
// the text's lines separated by "|". Frames need the film's frame rate.

#include "document/Result.h"
#include "document/SubViewerFormat.h"

#include <QString>
#include <QStringView>

namespace korv {

struct MicroDvdLine {
    QString startFrame; // digits only
    QString endFrame;   // digits only
    QString text;
};

// Up to the first "}" is the start frame, up to the next "}" the end frame,
// the rest is the text unchanged. Only the digits of the frame parts count.
MicroDvdLine ParseMicroDVDLine(QStringView line);

namespace microdvd {

ReadOutcome read(QStringView text, double framesPerSecond);

// Frame number of a time: truncated toward zero, without losing a frame to
// binary floating point (1.16 s at 25 fps is frame 29).
std::optional<qint64> frameOf(double seconds, double framesPerSecond);

Result<QString> write(const SubtitleList &list, double framesPerSecond,
                      std::vector<qsizetype> *rowOffsets = nullptr);

} // namespace microdvd
} // namespace korv
