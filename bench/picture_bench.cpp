// The picture loader against a plain QImage load of a small BMP measured in
// the same run, printed as rows of the benchmark table (bench/bench_util.h).
#include "bench/bench_util.h"
#include "platform/picture.h"
#include "platform/tests/picture_samples.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

namespace
{

QTemporaryDir* dir;
double baselineMs = 0;

QString sample(const char* name, const QByteArray& bytes)
{
    const QString path = dir->filePath(QString::fromLatin1(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::abort();
    return path;
}

template <typename F> void timed(benchmark::State& state, F&& f, bool isBaseline = false)
{
    double total = 0;
    for (auto _ : state) {
        const auto a = std::chrono::steady_clock::now();
        f();
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count();
    }
    const double ms = total / double(state.iterations());
    if (isBaseline)
        baselineMs = ms;
    state.counters["ms"] = ms;
    state.counters["x_baseline"] = baselineMs > 0 ? ms / baselineMs : 0;
}

void BM_Baseline_QImageSmallBmp(benchmark::State& state)
{
    static const QString path = sample("small.bmp", samples::bmp(320, 240));
    timed(
        state, [&] { benchmark::DoNotOptimize(QImage(path)); }, true);
}

void BM_LoadPicture_SmallBmp(benchmark::State& state)
{
    static const QString path = sample("small2.bmp", samples::bmp(320, 240));
    timed(state,
          [&] { benchmark::DoNotOptimize(platform::loadPicture(path, nullptr, QRect(0, 0, 665, 212))); });
}

void BM_LoadPicture_Jpeg6000x4000_TopLeft(benchmark::State& state)
{
    static const QString path = sample("big.jpg", samples::jpeg(6000, 4000));
    timed(state,
          [&] { benchmark::DoNotOptimize(platform::loadPicture(path, nullptr, QRect(0, 0, 665, 212))); });
}

// A phone photo: 4000 x 3000 with the grain of a real one (a few megabytes of
// scan data, FF00 stuffing throughout) and a 3 MB video after its end.
QByteArray phonePhoto()
{
    QImage img(4000, 3000, QImage::Format_RGB32);
    std::uint32_t seed = 1;
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 27);
            line[x] = qRgb((x / 16 + grain) & 0xFF, (y / 12 + grain) & 0xFF, (x + y) / 28 & 0xFF);
        }
    }
    QByteArray video(3 << 20, Qt::Uninitialized);
    for (char& c : video) {
        seed = seed * 1664525u + 1013904223u;
        c = char(seed >> 24);
    }
    return samples::qtImage(img, "jpeg") + video;
}

void BM_LoadPicture_Phone4000x3000VideoAfter_TopLeft(benchmark::State& state)
{
    static const QString path = sample("phone.jpg", phonePhoto());
    timed(state,
          [&] { benchmark::DoNotOptimize(platform::loadPicture(path, nullptr, QRect(0, 0, 665, 212))); });
}

void BM_LoadPicture_Emf(benchmark::State& state)
{
    static const QString path = sample("a.emf", samples::emf(320, 240));
    timed(state, [&] { benchmark::DoNotOptimize(platform::loadPicture(path)); });
}

BENCHMARK(BM_Baseline_QImageSmallBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPicture_SmallBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPicture_Jpeg6000x4000_TopLeft)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPicture_Phone4000x3000VideoAfter_TopLeft)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPicture_Emf)->Unit(benchmark::kMillisecond);

// Prints each figure as a row of the table instead of Google Benchmark's own layout.
class RowReporter : public benchmark::BenchmarkReporter
{
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            const auto ms = r.counters.find("ms");
            if (ms == r.counters.end() || r.benchmark_name().find("Baseline") != std::string::npos)
                continue;
            const std::string figure = "picture: " + r.benchmark_name().substr(sizeof("BM_LoadPicture_") - 1);
            bench::row(figure.c_str(), ms->second.value, baselineMs, "ms");
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir tmp;
    dir = &tmp;
    benchmark::Initialize(&argc, argv);
    RowReporter rows;
    benchmark::RunSpecifiedBenchmarks(&rows);
    benchmark::Shutdown();
    return 0;
}
