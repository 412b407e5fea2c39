#pragma once
// Twips: 1/1440 inch, 15 to a pixel at 96 dpi. All geometry of the windows is
// held in twips; this is the one place where twips turn into pixels.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

namespace tw
{

inline constexpr float perPixel = 15.0f;

// Nearest pixel, halves away from zero (so -7.5 px and 7.5 px mirror each other).
inline int toPixels(float twips)
{
    return static_cast<int>(std::lround(twips / perPixel));
}
inline float fromPixels(int pixels)
{
    return static_cast<float>(pixels) * perPixel;
}

struct Rect {
    float left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Edges are rounded rather than the size, so neighbouring rectangles that
// share an edge in twips share it in pixels too.
inline QRect toPixels(const Rect& r)
{
    const int l = toPixels(r.left), t = toPixels(r.top);
    return {l, t, toPixels(r.left + r.width) - l, toPixels(r.top + r.height) - t};
}

inline QSize sizeToPixels(float width, float height)
{
    return {toPixels(width), toPixels(height)};
}

} // namespace tw
