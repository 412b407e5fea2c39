#include "platform/pictures/metafile_render.h"

#include "platform/pictures/picture_format.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

extern "C" {
#include <emf2svg.h>
}
#include <libwmf/api.h>
#include <libwmf/svg.h>

namespace platform
{

namespace
{

constexpr int maxSide = 4096;

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

QImage drawMetafile(QByteArray& bytes, QSize size)
{
    const auto format = sniffPictureFormat(bytes.left(128));
    QByteArray svg;
    if (format == PictureFormat::Emf) {
        svg = emfToSvg(bytes);
    } else if (format == PictureFormat::Wmf) {
        QSize natural;
        svg = wmfToSvg(bytes, natural);
        if (size.isEmpty())
            size = natural;
    }
    if (svg.isEmpty())
        return {};
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    if (size.isEmpty())
        size = renderer.defaultSize();
    if (size.isEmpty())
        return {};
    QImage img(size.boundedTo(QSize(maxSide, maxSide)), QImage::Format_ARGB32_Premultiplied);
    if (img.isNull())
        return {};
    img.fill(Qt::white);
    {
        QPainter p(&img);
        renderer.render(&p, QRectF(img.rect()));
    }
    return img;
}

} // namespace platform
