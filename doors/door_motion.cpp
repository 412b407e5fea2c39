#include "doors/door_motion.h"

#include "platform/core/monotonic_wait.h"

#include <cmath>
#include <limits>
#include <utility>

namespace doors
{

namespace
{
WriteObserver& observer()
{
    static WriteObserver o;
    return o;
}

// Nearest integer, halves to even, saturated to the 32-bit range.
std::int32_t roundHalfEven(float v)
{
    if (std::isnan(v))
        return 0;
    const double d = std::nearbyint(static_cast<double>(v)); // default rounding mode: to nearest even
    if (d >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (d <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(d);
}
} // namespace

std::int32_t Steps::count() const
{
    const std::int64_t span = static_cast<std::int64_t>(last) - first;
    if (step == 0 || (span != 0 && (span > 0) != (step > 0)))
        return 0;
    return static_cast<std::int32_t>(span / step + 1);
}

Steps frontDoorSteps(bool open, float currentWidth)
{
    if (!open)
        return {frontOpenWidth, frontClosedWidth, +1};
    return {roundHalfEven(currentWidth), frontOpenWidth, -1};
}

Steps middleDoorSteps(bool open)
{
    if (open)
        return {middleClosedLeft, middleOpenLeft, -1};
    return {middleOpenLeft, middleClosedLeft, +1};
}

namespace
{
std::int64_t waitNs(std::int32_t n)
{
    return n > 0 ? std::int64_t{n} * iterationSpan.count() : 0;
}
} // namespace

const Clock& monotonicClock()
{
    static const Clock c{platform::monotonicNs, platform::waitUntil};
    return c;
}

void run(Door door, const Steps& steps, const std::function<bool(float)>& write,
         const std::function<void()>& show, const std::function<std::int32_t()>& speed, const Clock& clock)
{
    const platform::FineTimerSlack slack;
    std::int64_t due = clock.now();
    const std::int32_t n = steps.count();
    for (std::int32_t i = 0; i < n; ++i) {
        const auto v = static_cast<std::int32_t>(steps.first + static_cast<std::int64_t>(i) * steps.step);
        if (write(static_cast<float>(v))) {
            clock.waitUntil(due);
            show();
        }
        const std::int32_t s = speed();
        if (observer())
            observer()(door, static_cast<float>(v), s);
        due += waitNs(s);
    }
    clock.waitUntil(due);
}

WriteObserver setWriteObserver(WriteObserver o)
{
    return std::exchange(observer(), std::move(o));
}

} // namespace doors
