// Door sound playback from memory: what reaches the sound output, how long
// the call blocks, and silence when there is no output.
#include "assets/assets.h"
#include "doors/play_wave_resource.h"
#include "platform/sound.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <chrono>
#include <cstdlib>

namespace
{

void put32(QByteArray& b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(static_cast<char>((v >> (8 * i)) & 0xff));
}
void put16(QByteArray& b, quint16 v)
{
    b.append(static_cast<char>(v & 0xff));
    b.append(static_cast<char>(v >> 8));
}

// An 8-bit mono 22050 Hz image of the given samples.
QByteArray waveImage(const QByteArray& samples)
{
    QByteArray b("RIFF");
    put32(b, static_cast<quint32>(36 + samples.size()));
    b.append("WAVEfmt ");
    put32(b, 16);
    put16(b, 1);
    put16(b, 1);
    put32(b, 22050);
    put32(b, 22050);
    put16(b, 1);
    put16(b, 8);
    b.append("data");
    put32(b, static_cast<quint32>(samples.size()));
    b.append(samples);
    return b;
}

QByteArray pattern(int n)
{
    QByteArray s(n, '\0');
    for (int i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 37 + i / 100) & 0xff);
    return s;
}

// The samples of a RIFF/WAVE image's data chunk.
QByteArray dataChunk(const QByteArray& image)
{
    for (qsizetype at = 12; at + 8 <= image.size();) {
        const auto size = static_cast<qsizetype>(qFromLittleEndian<quint32>(image.constData() + at + 4));
        if (image.mid(at, 4) == "data")
            return image.mid(at + 8, size);
        at += 8 + size + (size & 1);
    }
    return {};
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
    const QByteArray expected = dataChunk(image);
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
