// The door sound played from memory: through SDL's disk driver, what reaches
// the output and how long the call blocks; without a way to play it, zero at
// once.
#include "assets/assets.h"
#include "doors/play_wave_resource.h"
#include "platform/sound.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace
{

void useDriver(const char* driver)
{
    platform::shutdownSound();
    setenv("SDL_AUDIODRIVER", driver, 1);
}

template <typename F> double secondsOf(F f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Samples less the silence (0x80) at either end, where the driver pads.
QByteArray trimSilence(QByteArray b)
{
    while (!b.isEmpty() && b.front() == '\x80')
        b.remove(0, 1);
    while (!b.isEmpty() && b.back() == '\x80')
        b.chop(1);
    return b;
}

} // namespace

TEST(DoorSound, PlaysTheEmbeddedChimeUnchangedAndReturnsAtItsEnd)
{
    QTemporaryDir dir;
    QFile out(dir.filePath(QStringLiteral("out.raw")));
    setenv("SDL_DISKAUDIOFILE", out.fileName().toLocal8Bit().constData(), 1);
    useDriver("disk");
    std::int32_t result = 0;
    EXPECT_NEAR(secondsOf([&] { result = PlayWaveResource(101); }), 0.8, 0.06);
    EXPECT_NE(result, 0);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(trimSilence(out.readAll()), trimSilence(assets::wave(101).mid(44))) << "converted or lost";
    platform::shutdownSound();
}

TEST(DoorSound, NothingPlayableReturnsZeroAtOnce)
{
    const QByteArray good = assets::wave(101);
    const QByteArray damaged[] = {QByteArray(), "RIFF", good.left(30), QByteArray(good).replace(0, 4, "RIFX"),
                                  QByteArray(5000, '\xff')};
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    useDriver("disk");
    for (const QByteArray& image : damaged) {
        bool ok = true;
        EXPECT_LT(secondsOf([&] { ok = platform::playWaveMemory(image.constData(), std::size_t(image.size())); }),
                  0.05);
        EXPECT_FALSE(ok) << image.size();
    }
    EXPECT_FALSE(platform::playWaveMemory(nullptr, 100));
    EXPECT_EQ(PlayWaveResource(999), 0) << "no such sound";
    for (const char* driver : {"no-such-driver", "dummy"}) { // no output at all
        useDriver(driver);
        std::int32_t r = 1;
        EXPECT_LT(secondsOf([&] { r = PlayWaveResource(101); }), 0.05) << driver;
        EXPECT_EQ(r, 0) << driver;
    }
    platform::shutdownSound();
}
