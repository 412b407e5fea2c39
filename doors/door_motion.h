#pragma once
// The doors' write sequences and the busy-wait that paces them. No window
// here: the bus window supplies how a value is written and where the speed
// is read, tests record the writes through the observer.
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

// One empty iteration of the wait: a fixed span of the steady clock, so a
// speed value means the same delay on any machine.
inline constexpr std::chrono::nanoseconds iterationSpan{100};
// Spins for n iterations (nothing for n <= 0). Never sleeps or yields.
void spinIterations(std::int32_t n);

// Runs a movement: for every value, write(value), then the wait with the
// speed read afresh. The observer, if set, sees every write after it is made.
void run(Door door, const Steps& steps, const std::function<void(float)>& write,
         const std::function<std::int32_t()>& speed);

using WriteObserver = std::function<void(Door door, float value, std::int32_t speed)>;
// Test hook; returns the previous observer.
WriteObserver setWriteObserver(WriteObserver observer);

} // namespace doors
