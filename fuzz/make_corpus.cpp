// Writes the fuzz seeds: one tiny picture of each format and raster variant, all built here.
// make_fuzz_corpus DIR
#include "platform/tests/picture_samples.h"

#include <QFile>
#include <QGuiApplication>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    using namespace samples;
    const std::pair<const char*, QByteArray> seeds[] = {
        {"tiny.bmp", bmp(3, 2)},           {"tiny.jpg", jpeg(8, 8)},
        {"tiny.gif", gif(3, 2)},           {"tiny.wmf", wmf(96, 48, 96)},
        {"tiny.emf", emf(16, 8)},          {"rle8.bmp", bmpOf(6, 3, 8, 1)},
        {"rle4.bmp", bmpOf(6, 3, 4, 2)},   {"fields-v5.bmp", bmpOf(3, 2, 32, 3, 124)},
        {"os2-core.bmp", bmpOf(3, 2, 4, 0, 12)}, {"top-down.bmp", bmpOf(3, -2, 24)},
        {"progressive.jpg", qtImage(reference(8, 8), "jpeg", true)}, {"cmyk.jpg", cmykJpeg(8, 8)},
        {"after-end.jpg", jpeg(8, 8) + "after"}, {"interlaced.gif", gifHead(3, 5) + gifImage(3, 5, true) + ';'},
        {"animated.gif", gifHead(3, 2) + gifDelay() + gifImage(3, 2) + gifDelay() + gifImage(3, 2, false, 3) + ";after"},
    };
    for (const auto& [name, bytes] : seeds) {
        QFile f(dir + QLatin1Char('/') + QLatin1String(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}
