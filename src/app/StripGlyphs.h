#pragma once
// The few characters the waveform strip writes (the ruler's times, the
// boxes' row numbers, the percent while analysing), drawn once into small
// images on a worker thread. The first text a process draws loads the font
// database and the font, tens of milliseconds that would otherwise fall on
// the window's thread at the strip's first showing; afterwards a label is a
// few image copies, cheaper than laying out text each paint.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <climits>

class QPainter;

namespace korv {

class StripGlyphs {
public:
    static inline const QString kCharacters = QStringLiteral("0123456789:.%");

    // One font in one colour.
    struct Face {
        QImage image; // the characters side by side, premultiplied ARGB
        std::array<QRect, 13> cells{};
        int ascent = 0;
    };
    enum FaceId { Ruler, State, Box, SelectedBox, FaceCount };

    // Made on any thread: a 10 pixel font for the ruler and the state, 11
    // for the boxes, in the colours given in FaceId's order.
    static StripGlyphs make(const std::array<QColor, FaceCount> &colours);

    // Whether every character of `text` is one of ours.
    static bool covers(const QString &text);
    int width(FaceId face, const QString &text) const;
    // `text` with its top left at `at`, characters that would cross `right`
    // left out (as a clipped label loses its end).
    void draw(QPainter &p, FaceId face, QPoint at, const QString &text, int right = INT_MAX) const;
    int ascent(FaceId face) const { return faces_[face].ascent; }

private:
    std::array<Face, FaceCount> faces_;
};

} // namespace korv
