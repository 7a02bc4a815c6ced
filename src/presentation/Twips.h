#pragma once

#include <QRect>

// The windows are designed in twips; 15 of them make a pixel at the design resolution. Every
// window converts with these, so one place decides the rounding.
namespace Twips {

constexpr int PerPixel = 15;

// The nearest whole pixel, halves away from zero.
constexpr int toPixels(int twips)
{
    return twips >= 0 ? (twips + PerPixel / 2) / PerPixel : -((-twips + PerPixel / 2) / PerPixel);
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace Twips
