#include "platform/core/monotonic_wait.h"

#include <cerrno>
#include <ctime>
#include <sys/prctl.h>

namespace platform
{

namespace
{
constexpr std::int64_t nsPerSecond = 1'000'000'000;
// A sleep costs the processor more than spinning through this much.
constexpr std::int64_t spinBelowNs = 3'000;
constexpr unsigned long fineSlackNs = 1'000;
} // namespace

std::int64_t monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::int64_t{t.tv_sec} * nsPerSecond + t.tv_nsec;
}

void waitUntil(std::int64_t deadlineNs)
{
    const timespec at{static_cast<std::time_t>(deadlineNs / nsPerSecond),
                      static_cast<long>(deadlineNs % nsPerSecond)};
    for (;;) {
        const std::int64_t left = deadlineNs - monotonicNs();
        if (left <= 0)
            return;
        if (left < spinBelowNs)
            continue;
        // An absolute deadline: a wake-up after a signal sleeps only what is left.
        const int rc = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
        if (rc != 0 && rc != EINTR)
            return;
    }
}

FineTimerSlack::FineTimerSlack() : previous_(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0))
{
    prctl(PR_SET_TIMERSLACK, fineSlackNs, 0, 0, 0);
}

FineTimerSlack::~FineTimerSlack()
{
    // A value of 0 would mean the thread's default, which may differ from what it had.
    if (previous_ > 0)
        prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(previous_), 0, 0, 0);
}

} // namespace platform
