#pragma once
// Tiny pictures of every format and its variants, built byte by byte, through
// Qt's writers or by common tools. Shared by the tests and the benchmark.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

namespace samples
{

// Little-endian values of the given width in bytes.
inline QByteArray le(int bytes, std::initializer_list<std::int64_t> values)
{
    QByteArray b;
    for (std::int64_t v : values)
        for (int i = 0; i < bytes; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    return b;
}

// Every raster sample draws the same picture: the top-left quarter red (ink),
// the rest white, so a flipped, mirrored or miscoloured decode shows.
inline bool inked(int x, int y, int w, int h)
{
    return x < w / 2 && y < h / 2;
}

inline QImage reference(int w, int h, QColor ink = Qt::red)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter(&img).fillRect(0, 0, w / 2, h / 2, ink);
    return img;
}

inline QByteArray qtImage(const QImage& img, const char* format)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, format);
    writer.setQuality(format == QByteArrayLiteral("jpeg") ? 80 : -1);
    writer.write(img);
    return out;
}
inline QByteArray bmp(int w, int h)
{
    return qtImage(reference(w, h), "bmp");
}
inline QByteArray jpeg(int w, int h)
{
    return qtImage(reference(w, h), "jpeg");
}

// A BMP built byte by byte. bpp 1, 4 or 8 (with a palette), 16, 24 or
// 32; compression 0 plain, 1 RLE8, 2 RLE4, 3 bit fields; header 12 (OS/2 core),
// 40, 64 (OS/2 2.x) or 124; a negative h stores the rows top-down.
inline QByteArray bmpOf(int w, int h, int bpp, int compression = 0, int header = 40)
{
    const int rows = std::abs(h);
    const bool core = header == 12;
    // Palette: 0 white, 1 red, the rest black and unused.
    const int colours = bpp > 8 ? 0 : core ? 1 << bpp : std::min(1 << bpp, 3);
    QByteArray palette;
    const char* const entries[] = {"\xFF\xFF\xFF\0", "\0\0\xFF\0", "\0\0\0\0"};
    for (int i = 0; i < colours; ++i)
        palette.append(entries[std::min(i, 2)], core ? 3 : 4);
    // Red, green and blue: 5-5-5 or 8-8-8 plain; as bit fields 5-6-5, and red in the low byte for 32.
    const std::int64_t maskSets[4][3] = {
        {0x7C00, 0x03E0, 0x1F}, {0xFF0000, 0xFF00, 0xFF}, {0xF800, 0x07E0, 0x1F}, {0xFF, 0xFF00, 0xFF0000}};
    const auto& masks = maskSets[(compression == 3 ? 2 : 0) + (bpp == 16 ? 0 : 1)];
    const std::int64_t inkValue = bpp <= 8 ? 1 : masks[0];
    const std::int64_t whiteValue = bpp <= 8 ? 0 : masks[0] | masks[1] | masks[2];
    QByteArray data;
    for (int r = 0; r < rows; ++r) {
        const int y = h < 0 ? r : rows - 1 - r;
        if (compression == 1 || compression == 2) {
            // A run of the ink, then the white as literal pixels padded to a word; w must be 6 or more.
            const int ink = y < rows / 2 ? w / 2 : 0, white = w - ink;
            QByteArray row = ink ? le(1, {ink, compression == 2 ? 0x11 : 1}) : QByteArray();
            row += le(1, {0, white}) + QByteArray(compression == 2 ? (white + 1) / 2 : white, '\0');
            data += row + QByteArray(row.size() % 2, '\0') + le(1, {0, r == rows - 1 ? 1 : 0});
            continue;
        }
        QByteArray row((w * bpp + 31) / 32 * 4, '\0');
        for (int x = 0; x < w; ++x) {
            const std::int64_t v = inked(x, y, w, rows) ? inkValue : whiteValue;
            const int at = x * bpp / 8;
            if (bpp < 8)
                row[at] = char(row[at] | v << (8 - bpp - x * bpp % 8));
            for (int b = 0; b < bpp / 8; ++b)
                row[at + b] = char(v >> (8 * b));
        }
        data += row;
    }
    QByteArray info =
        core ? le(4, {12}) + le(2, {w, h, 1, bpp})
             : le(4, {header, w, h}) + le(2, {1, bpp}) + le(4, {compression, 0, 2835, 2835, colours, 0});
    info.resize(std::max<qsizetype>(info.size(), header), '\0');
    // Bit-field masks follow a short header and sit inside a long one.
    const QByteArray fields = compression == 3 ? le(4, {masks[0], masks[1], masks[2]}) : QByteArray();
    info.replace(header >= 108 ? 40 : info.size(), fields.size(), fields);
    const std::int64_t offBits = 14 + info.size() + palette.size();
    return "BM" + le(4, {offBits + data.size(), 0, offBits}) + info + palette + data;
}

// The reference picture as common tools write it: ImageMagick's convert with
// these options and output (to standard output), which may go on through a
// pipe (to jpegtran, say). Empty when the tools are missing.
inline QByteArray drawn(int w, int h, const QString& output)
{
    const QString command =
        QString::asprintf("convert -size %dx%d xc:white -fill red -draw 'rectangle 0,0 %d,%d' ", w, h,
                          w / 2 - 1, h / 2 - 1) +
        output;
    QProcess p;
    p.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    p.waitForFinished();
    return p.readAllStandardOutput();
}

// A placeable WMF with one rectangle; its box in units of 1/inch inch.
inline QByteArray wmf(int right, int bottom, int inch)
{
    const QByteArray b = QByteArray("\xD7\xCD\xC6\x9A", 4) + le(2, {0, 0, 0, right, bottom, inch, 0, 0});
    // The checksum: the first ten words exclusive-ored.
    const int sum = 0xCDD7 ^ 0x9AC6 ^ right ^ bottom ^ inch;
    // SETWINDOWORG, SETWINDOWEXT, RECTANGLE, EOF: size in words, function, parameters.
    const QByteArray recs = le(4, {5}) + le(2, {0x020B, 0, 0}) + le(4, {5}) + le(2, {0x020C, bottom, right}) +
                            le(4, {7}) + le(2, {0x041B, bottom / 2, right / 2, 0, 0}) + le(4, {3}) +
                            le(2, {0});
    return b + le(2, {sum, 1, 9, 0x0300}) + le(4, {(18 + recs.size()) / 2}) + le(2, {0}) + le(4, {7}) +
           le(2, {0}) + recs;
}

// An EMF with one rectangle, framed to w x h pixels at 96 dpi.
inline QByteArray emf(int w, int h)
{
    const QByteArray recs = le(4, {43, 24, 0, 0, w / 2, h / 2, 14, 20, 0, 16, 20}); // RECTANGLE, EOF
    return le(4, {1, 88, 0, 0, w - 1, h - 1, 0, 0, (w * 2540 + 48) / 96 - 1, (h * 2540 + 48) / 96 - 1,
                  0x464D4520, 0x10000, 88 + recs.size(), 3}) +
           le(2, {1, 0}) + le(4, {0, 0, 0, 1024, 768, 271, 203}) + recs;
}

} // namespace samples
