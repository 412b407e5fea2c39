// The picture loader against a plain QImage load of a small BMP measured in
// the same run, printed as rows of the benchmark table (bench/bench_util.h);
// metafiles against the helper of the previous version on the same files.
#include "bench/bench_util.h"
#include "platform/core/native_path.h"
#include "platform/files/exe_info.h"
#include "platform/pictures/metafile_decoder.h"
#include "platform/pictures/metafile_render.h"
#include "platform/pictures/picture.h"
#include "platform/pictures/picture_format.h"
#include "platform/pictures/tests/picture_samples.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

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
    timed(state, [&] { benchmark::DoNotOptimize(platform::loadPicture(path, QRect(0, 0, 665, 212))); });
}

void BM_LoadPicture_Jpeg6000x4000_TopLeft(benchmark::State& state)
{
    static const QString path = sample("big.jpg", samples::jpeg(6000, 4000));
    timed(state, [&] { benchmark::DoNotOptimize(platform::loadPicture(path, QRect(0, 0, 665, 212))); });
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
    timed(state, [&] { benchmark::DoNotOptimize(platform::loadPicture(path, QRect(0, 0, 665, 212))); });
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

// The previous version's helper: a new, unconfined process per picture with
// the program's environment, which starts Qt, draws, writes the pixels and
// ends. This program is that helper when started as "legacy-helper W H".
int legacyHelper(char** argv)
{
    int argc = 1;
    QGuiApplication app(argc, argv);
    QFile in, out;
    in.open(stdin, QIODevice::ReadOnly);
    out.open(stdout, QIODevice::WriteOnly);
    QByteArray bytes = in.readAll();
    const QImage img = platform::drawMetafile(bytes, QSize(std::atoi(argv[2]), std::atoi(argv[3])));
    if (img.isNull())
        return 1;
    const std::uint32_t head[2] = {std::uint32_t(img.width()), std::uint32_t(img.height())};
    out.write(reinterpret_cast<const char*>(head), sizeof head);
    for (int y = 0; y < img.height(); ++y)
        out.write(reinterpret_cast<const char*>(img.constScanLine(y)), qsizetype(img.width()) * 4);
    return 0;
}

// The previous version's side of it: QProcess, two seconds, the pixels read back.
QImage legacyRender(const QByteArray& bytes, QSize size)
{
    QProcess helper;
    helper.setStandardErrorFile(QProcess::nullDevice());
    helper.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("legacy-helper"), QString::number(size.width()), QString::number(size.height())});
    helper.write(bytes);
    helper.closeWriteChannel();
    if (!helper.waitForFinished(2000) || helper.exitCode() != 0)
        std::abort();
    const QByteArray out = helper.readAllStandardOutput();
    std::uint32_t head[2];
    std::memcpy(head, out.constData(), sizeof head);
    QImage img{int(head[0]), int(head[1]), QImage::Format_ARGB32_Premultiplied};
    std::memcpy(img.bits(), out.constData() + sizeof head, std::size_t(img.sizeInBytes()));
    return img;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Each metafile the first time after an idle spell (a new decoder) and a Down
// step onto it from the second metafile on (the decoder kept), against the
// previous version's helper on the same files.
void metafileRows()
{
    QByteArray text = samples::emf(320, 240);
    QFile seed(QStringLiteral("fuzz/corpus/fuzz_picture/text.emf"));
    if (seed.open(QIODevice::ReadOnly))
        text = seed.readAll();
    const std::pair<const char*, QByteArray> files[] = {
        {"EMF 320x240", samples::emf(320, 240)},
        {"EMF text", text},
        {"WMF 96x48", samples::wmf(1440, 720, 1440)},
    };
    platform::MetafileDecoder idle(platform::encodePath(platform::exeFolder() + "/kururina-metafile"), 10000);
    QStringList paths;
    double todaySum = 0;
    for (const auto& [name, bytes] : files) {
        const auto format = platform::sniffPictureFormat(bytes);
        const QSize size = platform::metafileHeaderSize(format, bytes).value_or(QSize());
        // In turns, so that both see the same load; the new decoder ended
        // beforehand, as the idle timer does.
        std::vector<double> today, first;
        for (int i = 0; i < 21; ++i) {
            today.push_back(bench::medianMs(1, [&] { benchmark::DoNotOptimize(legacyRender(bytes, size)); }));
            idle.end();
            first.push_back(bench::medianMs(1, [&] { benchmark::DoNotOptimize(idle.render(bytes, size)); }));
        }
        if (idle.render(bytes, size).value_or(QImage()) != legacyRender(bytes, size))
            std::fprintf(stderr, "warning: %s: the decoder's pixels differ from the previous helper's\n",
                         name);
        bench::row((std::string("metafile after idle, ") + name + " (vs old helper)").c_str(), median(first),
                   median(today), "ms");
        paths << sample(name, bytes);
        todaySum += median(today);
    }
    int next = 0;
    (void)platform::loadPicture(paths.last());
    const double step = bench::medianMs(60, [&] {
        benchmark::DoNotOptimize(platform::loadPicture(paths[next], QRect(0, 0, 52, 32)));
        next = (next + 1) % int(paths.size());
    });
    bench::row("Down step onto metafile, 2nd on (vs old)", step, todaySum / double(paths.size()), "ms");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "legacy-helper") == 0)
        return legacyHelper(argv);
    QGuiApplication app(argc, argv);
    QTemporaryDir tmp;
    dir = &tmp;
    benchmark::Initialize(&argc, argv);
    RowReporter rows;
    benchmark::RunSpecifiedBenchmarks(&rows);
    benchmark::Shutdown();
    metafileRows();
    return 0;
}
