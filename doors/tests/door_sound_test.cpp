// Door sound playback from memory: what reaches the sound output, how long
// the call blocks, and silence when there is no output.
#include "assets/assets.h"
#include "doors/play_wave_resource.h"
#include "platform/sound.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>

namespace
{

// An 8-bit mono 22050 Hz image of the given samples.
QByteArray waveImage(const QByteArray& samples)
{
    QByteArray b;
    QDataStream out(&b, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const auto n = static_cast<quint32>(samples.size());
    out.writeRawData("RIFF", 4);
    out << quint32(36 + n);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(22050) << quint32(22050) << quint16(1)
        << quint16(8);
    out.writeRawData("data", 4);
    out << n;
    out.writeRawData(samples.constData(), samples.size());
    return b;
}

QByteArray pattern(int n)
{
    QByteArray s(n, '\0');
    for (int i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 37 + i / 100) & 0xff);
    return s;
}

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

// Samples less the silence (0x80) the driver pads before and after.
QByteArray trimSilence(QByteArray b)
{
    qsizetype a = 0, z = b.size();
    while (a < z && static_cast<unsigned char>(b[a]) == 0x80)
        ++a;
    while (z > a && static_cast<unsigned char>(b[z - 1]) == 0x80)
        --z;
    return b.mid(a, z - a);
}

QByteArray played(const QString& file)
{
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return trimSilence(f.readAll());
}

class DiskSound : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath(QStringLiteral("out.raw"));
        setenv("SDL_DISKAUDIOFILE", file.toLocal8Bit().constData(), 1);
        useDriver("disk");
    }
    void TearDown() override { platform::shutdownSound(); }
    QTemporaryDir dir;
    QString file;
};

} // namespace

TEST_F(DiskSound, PlaysTheSamplesUnchangedAndReturnsWhenTheyHaveEnded)
{
    // Samples that start and end away from silence, so the padding is easy to strip.
    QByteArray samples = pattern(17640);
    samples[0] = 1;
    samples[samples.size() - 1] = 2;
    const QByteArray image = waveImage(samples);
    bool ok = false;
    const double s = secondsOf(
        [&] { ok = platform::playWaveMemory(image.constData(), static_cast<std::size_t>(image.size())); });
    EXPECT_TRUE(ok);
    EXPECT_NEAR(s, 0.8, 0.06);
    EXPECT_EQ(played(file), samples) << "format converted or samples lost";
}

TEST_F(DiskSound, DoorSoundIsTheEmbeddedOneAndLastsItsLength)
{
    const QByteArray image = assets::wave(101);
    if (image.isEmpty())
        GTEST_SKIP() << "built-in sounds not embedded in this build";
    std::int32_t result = 0;
    const double s = secondsOf([&] { result = PlayWaveResource(101); });
    EXPECT_NE(result, 0);
    EXPECT_NEAR(s, 0.8, 0.03);
    const QByteArray expected = image.mid(44); // no chunk before the data (see assets_test)
    ASSERT_EQ(expected.size(), 17640);
    EXPECT_EQ(played(file), trimSilence(expected));
}

TEST_F(DiskSound, DamagedImagesAreRefusedAtOnce)
{
    const QByteArray good = waveImage(pattern(2205));
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("RIFF"),
        good.left(30), // cut inside the fmt chunk
        QByteArray(good).replace(0, 4, "RIFX"),
        QByteArray(5000, '\xff'),
    };
    for (const QByteArray& c : cases) {
        SCOPED_TRACE(c.size());
        bool ok = true;
        const double s = secondsOf(
            [&] { ok = platform::playWaveMemory(c.constData(), static_cast<std::size_t>(c.size())); });
        EXPECT_FALSE(ok);
        EXPECT_LT(s, 0.05);
    }
    EXPECT_FALSE(platform::playWaveMemory(nullptr, 100));
    EXPECT_EQ(PlayWaveResource(999), 0) << "no such sound";
}

TEST(NoSound, WithoutOutputTheCallReturnsZeroAtOnce)
{
    const QByteArray image = waveImage(pattern(17640));
    for (const char* driver : {"no-such-driver", "dummy"}) {
        SCOPED_TRACE(driver);
        useDriver(driver);
        bool ok = true;
        const double s = secondsOf([&] {
            ok = platform::playWaveMemory(image.constData(), static_cast<std::size_t>(image.size()));
        });
        EXPECT_FALSE(ok);
        EXPECT_LT(s, 0.05);
        std::int32_t r = 1;
        EXPECT_LT(secondsOf([&] { r = PlayWaveResource(101); }), 0.05);
        EXPECT_EQ(r, 0);
    }
    platform::shutdownSound();
}
