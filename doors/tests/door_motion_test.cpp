// The doors' write sequences and the wait that paces them.
#include "doors/door_motion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

using doors::Door;
using doors::Steps;

namespace
{

std::vector<float> writesOf(const Steps& s)
{
    std::vector<float> out;
    doors::run(
        Door::Front, s, [&](float v) { out.push_back(v); }, [] { return 0; });
    return out;
}

} // namespace

TEST(DoorMotion, SequencesForEveryDirectionAndStart)
{
    struct Row {
        const char* what;
        Steps steps;
        int count;
        float first, last;
    };
    const Row rows[] = {
        {"front closes from 70 whatever the width", doors::frontDoorSteps(false, 400.0f), 1026, 70, 1095},
        {"front opens from full width", doors::frontDoorSteps(true, 1095.0f), 1026, 1095, 70},
        {"front opens from a width already 70: one write", doors::frontDoorSteps(true, 70.0f), 1, 70, 70},
        {"front half-way, x.5 rounds to even (down)", doors::frontDoorSteps(true, 500.5f), 431, 500, 70},
        {"front half-way, x.5 rounds to even (up)", doors::frontDoorSteps(true, 501.5f), 433, 502, 70},
        {"front odd fraction rounds to nearest", doors::frontDoorSteps(true, 700.6f), 632, 701, 70},
        {"middle opens 0 .. -1100", doors::middleDoorSteps(true), 1101, 0, -1100},
        {"middle closes -1100 .. 0", doors::middleDoorSteps(false), 1101, -1100, 0},
    };
    // Narrower than open (69.4 rounds to 69) or a broken width: nothing written.
    for (float broken : {69.4f, -1e30f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_TRUE(writesOf(doors::frontDoorSteps(true, broken)).empty()) << broken;
    EXPECT_EQ(doors::frontDoorSteps(true, 69.5f).count(), 1) << "69.5 rounds to 70";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const auto w = writesOf(r.steps);
        EXPECT_EQ(static_cast<int>(w.size()), r.steps.count());
        ASSERT_EQ(static_cast<int>(w.size()), r.count);
        EXPECT_EQ(w.front(), r.first);
        EXPECT_EQ(w.back(), r.last);
        // One twip a step, always the same way.
        for (std::size_t i = 1; i < w.size(); ++i)
            ASSERT_EQ(std::abs(w[i] - w[i - 1]), 1.0f) << "at write " << i;
    }
}

TEST(DoorMotion, SpeedIsReadAfreshAfterEveryWriteAndObserverSeesIt)
{
    std::vector<std::pair<float, int>> seen;
    auto previous = doors::setWriteObserver([&](Door d, float v, std::int32_t n) {
        EXPECT_EQ(d, Door::Middle);
        seen.emplace_back(v, n);
    });
    int reads = 0;
    std::vector<float> written;
    doors::run(
        Door::Middle, {0, -3, -1}, [&](float v) { written.push_back(v); }, [&] { return ++reads; });
    doors::setWriteObserver(std::move(previous));
    EXPECT_EQ(reads, 4);
    EXPECT_EQ(written, (std::vector<float>{0, -1, -2, -3}));
    const std::vector<std::pair<float, int>> expected{{0, 1}, {-1, 2}, {-2, 3}, {-3, 4}};
    EXPECT_EQ(seen, expected);
}

TEST(DoorMotion, WaitIsProportionalToTheIterationCount)
{
    using namespace std::chrono;
    auto time = [](std::int32_t n) {
        // Best of three: a busy machine only makes a spin longer.
        double best = 1e9;
        for (int k = 0; k < 3; ++k) {
            const auto t0 = steady_clock::now();
            doors::spinIterations(n);
            best = std::min(best, duration<double, std::micro>(steady_clock::now() - t0).count());
        }
        return best;
    };
    EXPECT_LT(time(0), 50.0);
    EXPECT_LT(time(-5), 50.0);
    const double t10k = time(10000), t30k = time(30000);
    EXPECT_GE(t10k, 1000.0) << "10000 iterations last at least 1 ms";
    EXPECT_GE(t30k, 3000.0);
    EXPECT_NEAR(t30k / t10k, 3.0, 0.3);
}
