// The doors' write sequences and the wait that paces them.
#include "doors/door_motion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

using doors::Door;

TEST(DoorMotion, SequencesForEveryDirectionAndStart)
{
    const struct {
        const char* what;
        doors::Steps steps;
        std::vector<float> ends; // first and last write; none: nothing written
        int count;
    } rows[] = {
        {"front closes from 70 whatever the width", doors::frontDoorSteps(false, 400.0f), {70, 1095}, 1026},
        {"front opens from full width", doors::frontDoorSteps(true, 1095.0f), {1095, 70}, 1026},
        {"front opens from a width already 70: one write", doors::frontDoorSteps(true, 70.0f), {70, 70}, 1},
        {"x.5 rounds to even (down)", doors::frontDoorSteps(true, 500.5f), {500, 70}, 431},
        {"x.5 rounds to even (up)", doors::frontDoorSteps(true, 501.5f), {502, 70}, 433},
        {"69.5 rounds to 70", doors::frontDoorSteps(true, 69.5f), {70, 70}, 1},
        {"narrower than open", doors::frontDoorSteps(true, 69.4f), {}, 0},
        {"a broken width", doors::frontDoorSteps(true, -1e30f), {}, 0},
        {"not a number", doors::frontDoorSteps(true, std::numeric_limits<float>::quiet_NaN()), {}, 0},
        {"middle opens 0 .. -1100", doors::middleDoorSteps(true), {0, -1100}, 1101},
        {"middle closes -1100 .. 0", doors::middleDoorSteps(false), {-1100, 0}, 1101},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<float> w;
        int reads = 0;
        doors::run(
            Door::Front, r.steps, [&](float v) { w.push_back(v); }, [&] { return ++reads, 0; });
        ASSERT_EQ(int(w.size()), r.count);
        EXPECT_EQ(r.steps.count(), r.count);
        EXPECT_EQ(reads, r.count) << "the speed is read afresh after every write";
        EXPECT_EQ(w.empty() ? std::vector<float>() : std::vector<float>({w.front(), w.back()}), r.ends);
        for (std::size_t i = 1; i < w.size(); ++i) // one twip a step, always the same way
            ASSERT_EQ(w[i] - w[i - 1], r.ends[1] > r.ends[0] ? 1.0f : -1.0f) << "at write " << i;
    }
}

TEST(DoorMotion, ObserverSeesEveryWriteWithTheSpeedReadAfterIt)
{
    std::vector<std::pair<float, int>> seen;
    auto previous = doors::setWriteObserver([&](Door d, float v, std::int32_t n) {
        EXPECT_EQ(d, Door::Middle);
        seen.emplace_back(v, n);
    });
    int reads = 0;
    doors::run(
        Door::Middle, {0, -3, -1}, [](float) {}, [&] { return ++reads; });
    doors::setWriteObserver(std::move(previous));
    EXPECT_EQ(seen, (std::vector<std::pair<float, int>>{{0, 1}, {-1, 2}, {-2, 3}, {-3, 4}}));
}

TEST(DoorMotion, WaitLastsAtLeastItsIterations)
{
    using namespace std::chrono;
    const auto micros = [](std::int32_t n) {
        const auto t0 = steady_clock::now();
        doors::spinIterations(n);
        return duration<double, std::micro>(steady_clock::now() - t0).count();
    };
    EXPECT_GE(micros(10000), 1000.0) << "10000 iterations last at least 1 ms";
    EXPECT_GE(micros(30000), 3000.0);
    // None at all for zero or less (a busy machine only ever makes a spin longer).
    EXPECT_LT(std::max(micros(0), micros(-5)), 50.0);
}
