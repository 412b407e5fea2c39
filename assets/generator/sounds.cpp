#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace gen
{

namespace
{

constexpr int rate = 22050;
constexpr double twoPi = 2.0 * std::numbers::pi;

void put32(QByteArray& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.append(static_cast<char>((v >> (8 * i)) & 0xffu));
}

void put16(QByteArray& b, std::uint16_t v)
{
    b.append(static_cast<char>(v & 0xffu));
    b.append(static_cast<char>(v >> 8));
}

// Scales the samples to the given peak and stores them as unsigned 8-bit PCM
// in a RIFF/WAVE image: fmt, then (with withFact) a fact chunk, then data.
QByteArray waveImage(const std::vector<double>& samples, double peak, bool withFact)
{
    double loudest = 0.0;
    for (double s : samples)
        loudest = std::max(loudest, std::abs(s));
    const double gain = loudest > 0.0 ? peak / loudest : 0.0;

    const auto count = static_cast<std::uint32_t>(samples.size());
    QByteArray b("RIFF");
    put32(b, 4 + (8 + 16) + (withFact ? 8 + 4 : 0) + 8 + count);
    b.append("WAVEfmt ");
    put32(b, 16);
    put16(b, 1);    // PCM
    put16(b, 1);    // mono
    put32(b, rate); // samples per second
    put32(b, rate); // bytes per second
    put16(b, 1);    // block align
    put16(b, 8);    // bits per sample
    if (withFact) {
        b.append("fact");
        put32(b, 4);
        put32(b, count);
    }
    b.append("data");
    put32(b, count);
    for (double s : samples) {
        const long v = std::lround(128.0 + 127.0 * s * gain);
        b.append(static_cast<char>(std::clamp(v, 0L, 255L)));
    }
    return b;
}

// Raised-cosine ramp from 0 to 1 over [0, length].
double ramp(double t, double length)
{
    if (t <= 0.0)
        return 0.0;
    if (t >= length)
        return 1.0;
    return 0.5 - 0.5 * std::cos(std::numbers::pi * t / length);
}

// A soft mallet note: the fundamental rings long, the fourth partial gives
// the strike and dies quickly.
double chimeNote(double frequency, double t)
{
    if (t < 0.0)
        return 0.0;
    const double attack = ramp(t, 0.004);
    return attack * (std::sin(twoPi * frequency * t) * std::exp(-t / 0.32) +
                     0.25 * std::sin(twoPi * 2.0 * frequency * t) * std::exp(-t / 0.12) +
                     0.18 * std::sin(twoPi * 4.0 * frequency * t) * std::exp(-t / 0.045));
}

// xorshift32: a fixed seed, so the hiss is the same noise every time.
class Noise
{
public:
    double next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state_ = 0x2545f491u;
};

} // namespace

QByteArray doorChime()
{
    constexpr int count = 17640;
    constexpr double length = static_cast<double>(count) / rate;
    std::vector<double> s(count);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        // "Ding" on E5, "dong" on C5; both fade out before the end.
        const double v = 0.9 * chimeNote(659.255, t) + chimeNote(523.251, t - 0.28);
        s[i] = v * (1.0 - ramp(t - (length - 0.12), 0.12));
    }
    s.front() = s.back() = 0.0;
    return waveImage(s, 0.85, false);
}

QByteArray airHiss()
{
    constexpr int count = 44100;
    constexpr double length = static_cast<double>(count) / rate;
    constexpr double dt = 1.0 / rate;
    // High-pass at 1.2 kHz, then low-pass at 7 kHz: the breathy band of escaping air.
    const double hpRc = 1.0 / (twoPi * 1200.0), hpA = hpRc / (hpRc + dt);
    const double lpRc = 1.0 / (twoPi * 7000.0), lpB = dt / (lpRc + dt);
    Noise noise;
    double x0 = 0.0, hp = 0.0, lp = 0.0;
    std::vector<double> s(count);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) * dt;
        const double x = noise.next();
        hp = hpA * (hp + x - x0);
        x0 = x;
        lp += lpB * (hp - lp);
        // A burst that settles to a steady blow, then dies away.
        const double level = ramp(t, 0.015) * (0.4 + 0.6 * std::exp(-t / 0.25)) *
                             (1.0 + 0.08 * std::sin(twoPi * 6.0 * t)) * (1.0 - ramp(t - (length - 0.6), 0.6));
        s[i] = lp * level;
    }
    s.front() = s.back() = 0.0;
    return waveImage(s, 0.6, true);
}

} // namespace gen
