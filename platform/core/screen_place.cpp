#include "platform/core/screen_place.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace platform
{

namespace
{

// Enough to aim at beside the title's icon and buttons.
constexpr int grabWidth = 48;

std::int64_t area(const QRect& r)
{
    return r.isEmpty() ? 0 : std::int64_t{r.width()} * r.height();
}

bool reachable(const QRect& frame, int titleHeight, const std::vector<QRect>& screens)
{
    const QRect title(frame.x(), frame.y(), frame.width(), titleHeight);
    bool seen = false, grabbed = titleHeight <= 0;
    for (const QRect& s : screens) {
        seen = seen || 4 * area(frame & s) >= area(frame);
        const QRect strip = title & s;
        grabbed = grabbed ||
                  (strip.width() >= std::min(grabWidth, frame.width()) && 2 * strip.height() >= titleHeight);
    }
    return seen && grabbed;
}

// How far apart two rectangles are, squared; 0 when they overlap.
std::int64_t gap(const QRect& a, const QRect& b)
{
    const std::int64_t dx = std::max({0, b.x() - (a.x() + a.width()), a.x() - (b.x() + b.width())});
    const std::int64_t dy = std::max({0, b.y() - (a.y() + a.height()), a.y() - (b.y() + b.height())});
    return dx * dx + dy * dy;
}

// The position on [low, low + room) closest to at for a span of length size.
int fit(int at, int size, int low, int room)
{
    return size >= room ? low : std::clamp(at, low, low + room - size);
}

} // namespace

QRect reachablePlace(const QRect& frame, int titleHeight, const std::vector<QRect>& screens)
{
    if (screens.empty() || frame.isEmpty() || reachable(frame, titleHeight, screens))
        return frame;
    // The nearest screen that can hold it (any, when none can); of screens
    // it overlaps, the one holding most of it.
    const auto holds = [&frame](const QRect& s) {
        return s.width() >= frame.width() && s.height() >= frame.height();
    };
    const bool anyHolds = std::any_of(screens.begin(), screens.end(), holds);
    const auto key = [&](const QRect& s) {
        return std::tuple(anyHolds && !holds(s), gap(frame, s), -area(frame & s));
    };
    const QRect* best = &screens.front();
    for (const QRect& s : screens) {
        if (key(s) < key(*best))
            best = &s;
    }
    return {fit(frame.x(), frame.width(), best->x(), best->width()),
            fit(frame.y(), frame.height(), best->y(), best->height()), frame.width(), frame.height()};
}

} // namespace platform
