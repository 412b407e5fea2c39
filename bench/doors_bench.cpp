// The doors' pacing and painting, and the door sound's duration: each beside
// the figure the design asks for, in the same run. Run on an X display.
#include "app/form1.h"
#include "assets/assets.h"
#include "bench/bench_util.h"
#include "doors/door_motion.h"
#include "doors/frmset.h"
#include "doors/play_wave_resource.h"
#include "platform/app_init.h"
#include "platform/sound.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdlib>

namespace
{

double movementMs(Form1& bus, int speed)
{
    bus.panel().HScroll1->setValue(speed);
    // Open then close: two movements of 1026 writes each; report one.
    return bench::medianMs(1,
                           [&] {
                               bus.panel().Check1->click();
                               bus.panel().Check1->click();
                           }) /
           2;
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

    // The wait alone.
    const double spin1 = bench::medianMs(21,
                                         [] {
                                             for (int i = 0; i < 10000; ++i)
                                                 doors::spinIterations(1);
                                         }) /
                         10000 * 1e6;
    bench::row("doors: wait N=1 (ns), against 100 ns", spin1, 100, "ns");
    const double spin10k = bench::medianMs(101, [] { doors::spinIterations(10000); });
    bench::row("doors: wait N=10000, against 1 ms", spin10k, 1.0, "ms");
    const double spin30k = bench::medianMs(51, [] { doors::spinIterations(30000); });
    bench::row("doors: wait N=30000, against 3 ms", spin30k, 3.0, "ms");

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

    // Whole front-door movements, with the painting, against 1026 x N x 100 ns.
    const int ns[] = {1, 1000, 10000, 30000};
    double xs[4], ys[4];
    for (int i = 0; i < 4; ++i) {
        xs[i] = ns[i];
        ys[i] = movementMs(bus, ns[i]);
        char name[64];
        std::snprintf(name, sizeof name, "doors: front movement N=%d", ns[i]);
        bench::row(name, ys[i], 1026 * ns[i] * 1e-4, "ms");
    }
    double mx = 0, my = 0;
    for (int i = 0; i < 4; ++i) {
        mx += xs[i] / 4;
        my += ys[i] / 4;
    }
    double sxy = 0, sxx = 0, syy = 0;
    for (int i = 0; i < 4; ++i) {
        sxy += (xs[i] - mx) * (ys[i] - my);
        sxx += (xs[i] - mx) * (xs[i] - mx);
        syy += (ys[i] - my) * (ys[i] - my);
    }
    bench::row("doors: movement, variance not linear in N", 1 - sxy * sxy / (sxx * syy), 0.001, "");

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
