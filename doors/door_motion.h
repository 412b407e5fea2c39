#pragma once
// The doors' write sequences and the wait that paces them. No window here:
// the bus window supplies how a value is written and where the speed is read,
// tests record the writes through the observer.
#include <chrono>
#include <cstdint>
#include <functional>

namespace doors
{

enum class Door { Front, Middle };

// The values one movement writes: first, first + step, ..., last. Empty when
// step points away from last.
struct Steps {
    std::int32_t first = 0;
    std::int32_t last = 0;
    std::int32_t step = 1;
    std::int32_t count() const;
    friend bool operator==(const Steps&, const Steps&) = default;
};

inline constexpr std::int32_t frontClosedWidth = 1095;
inline constexpr std::int32_t frontOpenWidth = 70;
inline constexpr std::int32_t middleClosedLeft = 0;
inline constexpr std::int32_t middleOpenLeft = -1100;

// Closing always runs 70 .. 1095. Opening runs from the current width, rounded
// to the nearest integer with halves to even, down to 70 (nothing when it is
// already narrower).
Steps frontDoorSteps(bool open, float currentWidth);
// Both directions start from their fixed end, whatever the current Left.
Steps middleDoorSteps(bool open);

// One iteration of the wait: a fixed span of the monotonic clock, so a speed
// value means the same delay on any machine.
inline constexpr std::chrono::nanoseconds iterationSpan{100};

// What a movement's waits are measured by, in nanoseconds: the monotonic
// clock, or a test's.
struct Clock {
    std::function<std::int64_t()> now;
    std::function<void(std::int64_t deadline)> waitUntil;
};
const Clock& monotonicClock();

// Runs a movement: for every value, write(value), then the wait with the
// speed read afresh. Each wait ends at a deadline counted from the movement's
// start, so the time a write takes, or a late wake-up, is made up by the next
// waits instead of adding up. write() returns true when the value changes what
// the screen shows, and show() then puts it there, once every wait before it
// has passed. The process sleeps only for those: a write that shows nothing new
// goes ahead at once, its wait folded into the next, and the movement ends
// when the last wait does. The observer, if set, sees every write after it is
// made (and shown).
void run(Door door, const Steps& steps, const std::function<bool(float)>& write,
         const std::function<void()>& show, const std::function<std::int32_t()>& speed,
         const Clock& clock = monotonicClock());

using WriteObserver = std::function<void(Door door, float value, std::int32_t speed)>;
// Test hook; returns the previous observer.
WriteObserver setWriteObserver(WriteObserver observer);

} // namespace doors
