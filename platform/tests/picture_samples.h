#pragma once
// Tiny pictures of every format and its variants, built byte by byte, through
// Qt's writers or libjpeg (CMYK). Shared by the tests, the fuzz seeds and the
// benchmark.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace samples {

inline void put16(QByteArray& b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
inline void put32(QByteArray& b, std::int64_t v)
{
    put16(b, int(v & 0xFFFF));
    put16(b, int((v >> 16) & 0xFFFF));
}

// Every raster sample draws the same picture: the top-left quarter red (ink),
// the rest white, so a flipped, mirrored or miscoloured decode shows.
inline bool inked(int x, int y, int w, int h) { return x < w / 2 && y < h / 2; }

inline QImage reference(int w, int h, QColor ink = Qt::red)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter(&img).fillRect(0, 0, w / 2, h / 2, ink);
    return img;
}

inline QByteArray qtImage(const QImage& img, const char* format, bool progressive = false)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, format);
    writer.setQuality(format == QByteArrayLiteral("jpeg") ? 80 : -1);
    writer.setProgressiveScanWrite(progressive);
    writer.write(img);
    return out;
}
inline QByteArray bmp(int w, int h) { return qtImage(reference(w, h), "bmp"); }
inline QByteArray jpeg(int w, int h) { return qtImage(reference(w, h), "jpeg"); }

// A BMP built byte by byte. bpp 1, 4 or 8 (with a palette), 16, 24 or
// 32; compression 0 plain, 1 RLE8, 2 RLE4, 3 bit fields; header 12 (OS/2 core),
// 40, 64 (OS/2 2.x) or 124; a negative h stores the rows top-down.
inline QByteArray bmpOf(int w, int h, int bpp, int compression = 0, int header = 40)
{
    const int rows = h < 0 ? -h : h;
    const bool core = header == 12;
    // Palette: 0 white, 1 red, the rest black and unused.
    const int colours = bpp > 8 ? 0 : core ? 1 << bpp : std::min(1 << bpp, 3);
    QByteArray palette;
    for (int i = 0; i < colours; ++i)
        palette.append(QByteArray(i == 0 ? "\xFF\xFF\xFF\0" : i == 1 ? "\0\0\xFF\0" : "\0\0\0\0", core ? 3 : 4));
    // Bit-field masks: 5-6-5 for 16 bits, red in the low byte for 32.
    const std::int64_t masks[3] = {bpp == 16 ? 0xF800 : 0xFF, bpp == 16 ? 0x07E0 : 0xFF00, bpp == 16 ? 0x1F : 0xFF0000};
    const auto value = [&](bool red) -> std::int64_t {
        if (bpp <= 8)
            return red ? 1 : 0;
        if (compression == 3)
            return red ? masks[0] : masks[0] | masks[1] | masks[2];
        return bpp == 16 ? (red ? 0x7C00 : 0x7FFF) : (red ? 0xFF0000 : 0xFFFFFF);
    };
    QByteArray data;
    for (int r = 0; r < rows; ++r) {
        const int y = h < 0 ? r : rows - 1 - r;
        if (compression == 1 || compression == 2) {
            // A run of the ink, then the white as literal pixels padded to a word; w must be 6 or more.
            const auto two = [](int a, int b) { return QByteArray(1, char(a)) + char(b); };
            const int ink = y < rows / 2 ? w / 2 : 0, white = w - ink;
            QByteArray row = ink ? two(ink, compression == 2 ? 0x11 : 1) : QByteArray();
            row += two(0, white) + QByteArray(compression == 2 ? (white + 1) / 2 : white, '\0');
            data += row + QByteArray(row.size() % 2, '\0') + two(0, r == rows - 1 ? 1 : 0);
            continue;
        }
        QByteArray row((w * bpp + 31) / 32 * 4, '\0');
        for (int x = 0; x < w; ++x) {
            const std::int64_t v = value(inked(x, y, w, rows));
            const int at = x * bpp / 8;
            if (bpp < 8)
                row[at] = char(row[at] | v << (8 - bpp - x * bpp % 8));
            for (int b = 0; b < bpp / 8; ++b)
                row[at + b] = char(v >> (8 * b));
        }
        data += row;
    }
    QByteArray info;
    put32(info, header);
    if (core) {
        for (int v : {w, h, 1, bpp})
            put16(info, v);
    } else {
        for (std::int64_t v : {w, h})
            put32(info, v);
        for (int v : {1, bpp})
            put16(info, v);
        for (std::int64_t v : {compression, 0, 2835, 2835, colours, 0})
            put32(info, v);
        while (info.size() < header)
            info.append('\0');
        // Bit-field masks follow a short header and sit inside a long one.
        QByteArray fields;
        for (std::int64_t m : masks)
            put32(fields, compression == 3 ? m : 0);
        if (header < 108)
            info.append(compression == 3 ? fields : QByteArray());
        else
            info.replace(40, 12, fields);
    }
    QByteArray b("BM");
    const int offBits = 14 + int(info.size() + palette.size());
    put32(b, offBits + data.size());
    put32(b, 0);
    put32(b, offBits);
    return b + info + palette + data;
}

// A JPEG in CMYK as common tools write it: an Adobe marker and inverted values.
inline QByteArray cmykJpeg(int w, int h)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    c.restart_in_rows = 1; // restart markers, as many cameras write them
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(std::size_t(w) * 4);
    for (int y = 0; y < h; ++y) {
        // Stored 255 minus the ink: red is no cyan, full magenta and yellow, no black.
        std::fill(row.begin(), row.end(), 255);
        for (int x = 0; x < w; ++x)
            if (inked(x, y, w, h))
                row[std::size_t(x) * 4 + 1] = row[std::size_t(x) * 4 + 2] = 0;
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray out(reinterpret_cast<const char*>(mem), qsizetype(size));
    std::free(mem);
    return out;
}

// GIF pieces, built byte by byte. The LZW stream resets before every pixel, so
// the codes stay three bits wide and no compressor is needed. Palette: 0 red,
// 1 blue, 2 white, 3 black.
inline QByteArray gifHead(int w, int h, bool gif87 = false)
{
    QByteArray b(gif87 ? "GIF87a" : "GIF89a");
    for (int v : {w, h})
        put16(b, v);
    // A global colour table of 4 entries.
    return b + QByteArray("\x81\0\0\xFF\0\0\0\0\xFF\xFF\xFF\xFF\0\0\0", 15);
}
// One image of the reference picture, or of one colour when fill >= 0.
inline QByteArray gifImage(int w, int h, bool interlaced = false, int fill = -1)
{
    QByteArray b(",");
    for (int v : {0, 0, w, h})
        put16(b, v);
    b.append(interlaced ? '\x40' : '\0');
    b.append('\x02'); // minimum code size
    std::vector<int> codes;
    for (const auto& [start, step] : interlaced ? std::vector<std::pair<int, int>>{{0, 8}, {4, 8}, {2, 4}, {1, 2}}
                                                : std::vector<std::pair<int, int>>{{0, 1}})
        for (int y = start; y < h; y += step)
            for (int x = 0; x < w; ++x)
                codes.insert(codes.end(), {4, fill >= 0 ? fill : inked(x, y, w, h) ? 0 : 2});
    codes.push_back(5);
    QByteArray data;
    std::uint32_t acc = 0;
    int bits = 0;
    for (int c : codes) {
        acc |= std::uint32_t(c) << bits;
        bits += 3;
        while (bits >= 8) {
            data.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0)
        data.append(char(acc & 0xFF));
    for (int at = 0; at < data.size(); at += 255) {
        const QByteArray chunk = data.mid(at, 255);
        b.append(char(chunk.size()));
        b.append(chunk);
    }
    b.append('\0');
    return b;
}
// A graphic control extension: the frame shows for a tenth of a second.
inline QByteArray gifDelay() { return QByteArray("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8); }
inline QByteArray gif(int w, int h) { return gifHead(w, h) + gifImage(w, h) + ';'; }

// A placeable WMF with one rectangle; bbox in units of 1/inch inch.
inline QByteArray wmf(int right, int bottom, int inch)
{
    QByteArray b("\xD7\xCD\xC6\x9A", 4);
    put16(b, 0);
    put16(b, 0);
    put16(b, 0);
    put16(b, right);
    put16(b, bottom);
    put16(b, inch);
    put32(b, 0);
    int sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= std::uint8_t(b[i]) | (std::uint8_t(b[i + 1]) << 8);
    put16(b, sum);
    QByteArray recs;
    const auto rec = [&](int fn, std::vector<int> params) {
        put32(recs, 3 + std::int64_t(params.size()));
        put16(recs, fn);
        for (int p : params)
            put16(recs, p);
    };
    rec(0x020B, {0, 0});                        // SETWINDOWORG
    rec(0x020C, {bottom, right});               // SETWINDOWEXT
    rec(0x041B, {bottom / 2, right / 2, 0, 0}); // RECTANGLE
    rec(0x0000, {});                            // EOF
    const int words = (18 + int(recs.size())) / 2;
    put16(b, 1);
    put16(b, 9);
    put16(b, 0x0300);
    put32(b, words);
    put16(b, 0);
    put32(b, 7);
    put16(b, 0);
    b.append(recs);
    return b;
}

// An EMF with one rectangle, framed to w x h pixels at 96 dpi.
inline QByteArray emf(int w, int h)
{
    QByteArray recs;
    put32(recs, 43); // RECTANGLE
    put32(recs, 24);
    put32(recs, 0);
    put32(recs, 0);
    put32(recs, w / 2);
    put32(recs, h / 2);
    put32(recs, 14); // EOF
    put32(recs, 20);
    put32(recs, 0);
    put32(recs, 16);
    put32(recs, 20);
    QByteArray b;
    put32(b, 1);
    put32(b, 88);
    for (int v : {0, 0, w - 1, h - 1})
        put32(b, v);
    put32(b, 0);
    put32(b, 0);
    put32(b, (w * 2540 + 48) / 96 - 1);
    put32(b, (h * 2540 + 48) / 96 - 1);
    put32(b, 0x464D4520); // " EMF"
    put32(b, 0x10000);
    put32(b, 88 + recs.size());
    put32(b, 3);
    put16(b, 1);
    put16(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 1024);
    put32(b, 768);
    put32(b, 271);
    put32(b, 203);
    b.append(recs);
    return b;
}

} // namespace samples
