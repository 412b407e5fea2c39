#pragma once
// Waiting for a moment of the monotonic clock without keeping the processor
// busy: the doors pace their steps with it.
#include <cstdint>

namespace platform
{

// Nanoseconds of the monotonic clock (CLOCK_MONOTONIC).
std::int64_t monotonicNs();

// Returns once the monotonic clock has reached deadlineNs: asleep until then,
// spinning only through a remainder too short to be worth a sleep. Signals do
// not cut the wait short.
void waitUntil(std::int64_t deadlineNs);

// While it lives, the calling thread's timer slack is small, so its sleeps end
// close to their deadlines (by default the kernel may add 50 us to each).
class FineTimerSlack
{
public:
    FineTimerSlack();
    ~FineTimerSlack();
    FineTimerSlack(const FineTimerSlack&) = delete;
    FineTimerSlack& operator=(const FineTimerSlack&) = delete;

private:
    int previous_;
};

} // namespace platform
