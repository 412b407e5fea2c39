#include "gif_file.h"

#include <gif_lib.h>

#include <memory>
#include <vector>

namespace gen
{

namespace
{

int append(GifFileType* gif, const GifByteType* bytes, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

} // namespace

platform::Expected<QByteArray> encodeGif(const QImage& indexed)
{
    if (indexed.format() != QImage::Format_Indexed8 || indexed.colorCount() < 1 ||
        indexed.colorCount() > 256) {
        return platform::failure(QStringLiteral("not an indexed image of up to 256 colours"));
    }
    // A GIF colour map has a power-of-two size; unused entries stay black.
    int mapSize = 2;
    while (mapSize < indexed.colorCount())
        mapSize *= 2;
    std::vector<GifColorType> colours(static_cast<std::size_t>(mapSize), GifColorType{0, 0, 0});
    for (int i = 0; i < indexed.colorCount(); ++i) {
        const QRgb c = indexed.color(i);
        colours[static_cast<std::size_t>(i)] = {static_cast<GifByteType>(qRed(c)),
                                                static_cast<GifByteType>(qGreen(c)),
                                                static_cast<GifByteType>(qBlue(c))};
    }
    const std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(
        GifMakeMapObject(mapSize, colours.data()), GifFreeMapObject);
    if (!map) {
        return platform::failure(QStringLiteral("no memory for the colour map"));
    }

    QByteArray out;
    int code = 0;
    GifFileType* gif = EGifOpen(&out, append, &code);
    if (!gif) {
        return platform::failure(QString::fromUtf8(GifErrorString(code)));
    }
    EGifSetGifVersion(gif, false);
    bool ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), 8, 0, map.get()) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<std::size_t>(indexed.width()));
    for (int y = 0; ok && y < indexed.height(); ++y) {
        const uchar* row = indexed.constScanLine(y);
        line.assign(row, row + indexed.width());
        ok = EGifPutLine(gif, line.data(), indexed.width()) == GIF_OK;
    }
    code = ok ? GIF_OK : gif->Error;
    int closeCode = 0;
    if (EGifCloseFile(gif, &closeCode) != GIF_OK && ok) {
        ok = false;
        code = closeCode;
    }
    if (!ok) {
        return platform::failure(QString::fromUtf8(GifErrorString(code)));
    }
    return out;
}

} // namespace gen
