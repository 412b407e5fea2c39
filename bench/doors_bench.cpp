// The doors' pace, processor time and painting, and the door sound's
// duration: each beside the figure the design asks for, or the old busy-wait,
// in the same run. Run on an X display.
#include "app/form1.h"
#include "app/layout_fonts.h"
#include "assets/assets.h"
#include "bench/bench_util.h"
#include "doors/door_motion.h"
#include "doors/frmset.h"
#include "doors/play_wave_resource.h"
#include "platform/files/app_init.h"
#include "platform/sound/sound.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

namespace
{

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

// One door opened and closed at speed n, from its first write to the end of
// the click, on the clock and in the processor time of the whole process.
struct Movement {
    double ms = 0, cpuMs = 0;
};
Movement openAndCloseOnce(Form1& bus, doors::Door door, int n)
{
    frmSet& p = bus.panel();
    const bool front = door == doors::Door::Front;
    (front ? p.HScroll1 : p.HScroll2)->setValue(n);
    Movement m;
    std::chrono::steady_clock::time_point start;
    double cpuStart = 0;
    doors::setWriteObserver([&](doors::Door, float, std::int32_t) {
        if (start == std::chrono::steady_clock::time_point()) {
            start = std::chrono::steady_clock::now();
            cpuStart = cpuMs();
        }
    });
    for (int i = 0; i < 2; ++i) {
        start = {};
        (front ? p.Check1 : p.Check2)->click();
        m.ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        m.cpuMs += cpuMs() - cpuStart;
    }
    doors::setWriteObserver(nullptr);
    return m;
}
// The median of reps, for each figure.
Movement openAndClose(Form1& bus, doors::Door door, int n, int reps)
{
    std::vector<double> ms, cpu;
    for (int i = 0; i < reps; ++i) {
        const Movement m = openAndCloseOnce(bus, door, n);
        ms.push_back(m.ms);
        cpu.push_back(m.cpuMs);
    }
    return {median(ms), median(cpu)};
}

// The front door's movement as it was paced before: each write, then a spin
// of n x 100 ns on the clock.
double busyWaitedMs(Form1& bus, int n)
{
    platform::TwipImage* door = bus.Image1[2];
    const auto moveTo = [&](int w) {
        const QRect before = door->geometry();
        door->setTwWidth(float(w));
        if (door->geometry() != before)
            bus.repaint(before.united(door->geometry()));
        const auto end = std::chrono::steady_clock::now() + doors::iterationSpan * n;
        while (std::chrono::steady_clock::now() < end) {
        }
    };
    return bench::medianMs(1, [&] {
        for (int w = doors::frontClosedWidth; w >= doors::frontOpenWidth; --w)
            moveTo(w);
        for (int w = doors::frontOpenWidth; w <= doors::frontClosedWidth; ++w)
            moveTo(w);
    });
}

// A 0.8 s, 8-bit mono 22050 Hz image, for when the built-in sounds are absent.
QByteArray standInWave()
{
    const int n = 17640;
    QByteArray b("RIFF");
    auto put = [&b](quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.append(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    put(36 + n, 4);
    b.append("WAVEfmt ");
    for (quint32 v : {16u, 0x10001u, 22050u, 22050u, 0x80001u})
        put(v, 4);
    b.append("data");
    put(n, 4);
    b.append(QByteArray(n, '\x80'));
    return b;
}

} // namespace

int main(int argc, char** argv)
{
    platform::prepareApplication();
    QApplication app(argc, argv);
    platform::initInterface();
    substituteLayoutFonts();

    Form1 bus;
    bus.move(0, 0);
    bus.show();
    QElapsedTimer t;
    t.start();
    while (!(bus.windowHandle() && bus.windowHandle()->isExposed()) && t.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();

    // Painting one visible step: the strip that changed against the whole window.
    const QRect strip = bus.Image1[2]->geometry().adjusted(0, 0, 1, 0);
    const double region = bench::medianMs(301, [&] { bus.repaint(strip); }) * 1000;
    const double whole = bench::medianMs(301, [&] { bus.repaint(); }) * 1000;
    bench::row("doors: repaint changed strip, against window", region, whole, "us");

    // Whole movements, open and closed, with the painting: at speed 1 against
    // the busy-wait the doors used before; their pace against count x N x 100 ns,
    // and the processor time they take against 15 % (speed 1000) or 5 % of it.
    setenv("SDL_AUDIODRIVER", "dummy", 1); // the middle door's chime returns at once
    std::vector<double> now, before;       // taken in turns, so that neither gets the quieter moments
    for (int i = 0; i < 7; ++i) {
        now.push_back(openAndClose(bus, doors::Door::Front, 1, 1).ms);
        before.push_back(busyWaitedMs(bus, 1));
    }
    bench::row("doors: front movements N=1, against busy-wait", median(now), median(before), "ms");
    const int ns[] = {1000, 10000, 30000};
    for (const doors::Door door : {doors::Door::Front, doors::Door::Middle}) {
        const bool front = door == doors::Door::Front;
        const double writes = front ? 2 * 1026 : 2 * 1101;
        double sxy = 0, sxx = 0, syy = 0, mx = 0, my = 0;
        Movement ms[3];
        for (int i = 0; i < 3; ++i) {
            ms[i] = openAndClose(bus, door, ns[i], ns[i] == 1000 ? 5 : 1);
            char name[64];
            std::snprintf(name, sizeof name, "doors: %s movements N=%d", front ? "front" : "middle", ns[i]);
            bench::row(name, ms[i].ms, writes * ns[i] * 1e-4, "ms");
            std::snprintf(name, sizeof name, "doors: %s processor N=%d, against %d %%",
                          front ? "front" : "middle", ns[i], ns[i] == 1000 ? 15 : 5);
            bench::row(name, ms[i].cpuMs, ms[i].ms * (ns[i] == 1000 ? 0.15 : 0.05), "ms");
            mx += ns[i] / 3.0;
            my += ms[i].ms / 3;
        }
        for (int i = 0; i < 3; ++i) {
            sxy += (ns[i] - mx) * (ms[i].ms - my);
            sxx += (ns[i] - mx) * (ns[i] - mx);
            syy += (ms[i].ms - my) * (ms[i].ms - my);
        }
        bench::row(front ? "doors: front, variance not linear in N"
                         : "doors: middle, variance not linear in N",
                   1 - sxy * sxy / (sxx * syy), 0.001, "");
    }

    // The door sound through SDL's disk driver (paced like a device), and
    // with no output at all.
    QTemporaryDir dir;
    setenv("SDL_DISKAUDIOFILE", dir.filePath(QStringLiteral("out.raw")).toLocal8Bit().constData(), 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    platform::shutdownSound();
    QByteArray wave = assets::wave(101);
    const bool builtIn = !wave.isEmpty();
    if (!builtIn)
        wave = standInWave();
    auto play = [&] {
        if (builtIn)
            PlayWaveResource(101);
        else
            platform::playWaveMemory(wave.constData(), static_cast<std::size_t>(wave.size()));
    };
    const double sound = bench::medianMs(3, play);
    bench::row(builtIn ? "doors: PlayWaveResource(101), against 0.8 s"
                       : "doors: 0.8 s stand-in sound, against 0.8 s",
               sound / 1000, 0.8, "s");
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    platform::shutdownSound();
    const double silent = bench::medianMs(3, play);
    bench::row("doors: sound without output, against 50 ms", silent, 50, "ms");
    platform::shutdownSound();
    return 0;
}
