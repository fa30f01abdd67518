#pragma once
// The windows' design units: positions and sizes are given in twips and
// shown at 15 twips to a screen pixel.

#include <QRect>
#include <QSize>
#include <QtMath>

namespace korv::Twips {

inline constexpr int kPerPixel = 15;

inline int toPixels(double twips)
{
    return qRound(twips / kPerPixel);
}

inline QSize size(int width, int height)
{
    return QSize(toPixels(width), toPixels(height));
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace korv::Twips
