// kururina-metafile: renders one WMF or EMF read from stdin and writes
// width, height (native 32-bit) and premultiplied ARGB32 rows to stdout.
// Both metafile libraries are old C code; they run here, in a process the
// program kills after a short time, so a fault in them costs one picture.
#include "platform/picture_format.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

extern "C" {
#include <emf2svg.h>
}
#include <libwmf/api.h>
#include <libwmf/svg.h>

namespace
{

constexpr std::size_t maxInput = std::size_t{64} * 1024 * 1024;
constexpr int maxSide = 4096;

QByteArray readStdin()
{
    QByteArray in;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(0, buf, sizeof buf);
        if (n <= 0 || in.size() + n > qsizetype(maxInput))
            return n == 0 ? in : QByteArray();
        in.append(buf, n);
    }
}

QByteArray emfToSvg(QByteArray& in)
{
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("svg");
    options.svgDelimiter = true;
    options.emfplus = true;
    char* out = nullptr;
    std::size_t outLen = 0;
    QByteArray svg;
    if (emf2svg(in.data(), std::size_t(in.size()), &out, &outLen, &options) && out)
        svg = QByteArray(out, qsizetype(outLen));
    std::free(out);
    return svg;
}

QByteArray wmfToSvg(QByteArray& in, QSize& natural)
{
    wmfAPI* api = nullptr;
    wmfAPI_Options opts{};
    opts.function = wmf_svg_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &opts) != wmf_E_None)
        return {};
    QByteArray svg;
    char* buf = nullptr;
    std::size_t len = 0;
    FILE* mem = open_memstream(&buf, &len);
    wmfD_Rect bbox{};
    unsigned int w = 0, h = 0;
    if (mem &&
        wmf_mem_open(api, reinterpret_cast<unsigned char*>(in.data()), long(in.size())) == wmf_E_None &&
        wmf_scan(api, 0, &bbox) == wmf_E_None && wmf_display_size(api, &w, &h, 96, 96) == wmf_E_None &&
        w > 0 && h > 0 && w <= 32767 && h <= 32767) {
        wmf_svg_t* ddata = WMF_SVG_GetData(api);
        ddata->out = wmf_stream_create(api, mem);
        ddata->Description = const_cast<char*>("");
        ddata->bbox = bbox;
        ddata->width = w;
        ddata->height = h;
        if (wmf_play(api, 0, &bbox) == wmf_E_None) {
            std::fflush(mem);
            svg = QByteArray(buf, qsizetype(len));
            natural = QSize(int(w), int(h));
        }
    }
    wmf_api_destroy(api);
    if (mem)
        std::fclose(mem);
    std::free(buf);
    return svg;
}

} // namespace

int main(int argc, char** argv)
{
    // Hooks for the tests of the parent's time limit and crash handling.
    if (const char* hook = std::getenv("KURURINA_METAFILE_TEST")) {
        if (std::strcmp(hook, "hang") == 0)
            for (;;)
                ::pause();
        if (std::strcmp(hook, "crash") == 0)
            std::abort();
    }
    // Bound what a runaway decoder can take: CPU seconds and address space.
    const rlimit cpu{3, 3};
    ::setrlimit(RLIMIT_CPU, &cpu);
    if (argc != 3)
        return 2;
    QSize size(std::atoi(argv[1]), std::atoi(argv[2]));

    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);

    QByteArray in = readStdin();
    const auto format = platform::sniffPictureFormat(in.left(128));
    QByteArray svg;
    if (format == platform::PictureFormat::Emf) {
        svg = emfToSvg(in);
    } else if (format == platform::PictureFormat::Wmf) {
        QSize natural;
        svg = wmfToSvg(in, natural);
        if (!size.isValid() || size.isEmpty())
            size = natural;
    }
    if (svg.isEmpty())
        return 1;
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return 1;
    if (!size.isValid() || size.isEmpty())
        size = renderer.defaultSize();
    if (size.isEmpty())
        return 1;
    size = size.boundedTo(QSize(maxSide, maxSide));
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    if (img.isNull())
        return 1;
    img.fill(Qt::white);
    {
        QPainter p(&img);
        renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    const std::uint32_t head[2] = {std::uint32_t(size.width()), std::uint32_t(size.height())};
    QByteArray out(reinterpret_cast<const char*>(head), sizeof head);
    for (int y = 0; y < img.height(); ++y)
        out.append(reinterpret_cast<const char*>(img.constScanLine(y)), qsizetype(size.width()) * 4);
    qsizetype done = 0;
    while (done < out.size()) {
        const ssize_t n = ::write(1, out.constData() + done, std::size_t(out.size() - done));
        if (n <= 0)
            return 1;
        done += n;
    }
    return 0;
}
