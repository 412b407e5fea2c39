#pragma once
// Tiny pictures of every format, built byte by byte (GIF, WMF, EMF: Qt cannot
// write them) or through Qt's writers. Shared by the tests and the fuzz seeds.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <vector>

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

inline QByteArray qtImage(int w, int h, const char* format)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter(&img).fillRect(0, 0, w / 2, h / 2, Qt::red);
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format, format == QByteArrayLiteral("jpeg") ? 80 : -1);
    return out;
}
inline QByteArray bmp(int w, int h) { return qtImage(w, h, "bmp"); }
inline QByteArray jpeg(int w, int h) { return qtImage(w, h, "jpeg"); }

// A two-colour GIF whose LZW stream resets before every pixel, so the codes
// stay three bits wide and no compressor is needed.
inline QByteArray gif(int w, int h)
{
    QByteArray b("GIF89a");
    put16(b, w);
    put16(b, h);
    b.append(char(0x81)); // global colour table of 4 entries
    b.append('\0');
    b.append('\0');
    b.append(QByteArray("\xFF\x00\x00\x00\x00\xFF\xFF\xFF\xFF\x00\x00\x00", 12));
    b.append(',');
    put16(b, 0);
    put16(b, 0);
    put16(b, w);
    put16(b, h);
    b.append('\0');
    b.append('\x02'); // minimum code size
    std::vector<int> codes;
    for (int i = 0; i < w * h; ++i) {
        codes.push_back(4);
        codes.push_back((i % w) < w / 2 ? 0 : 1);
    }
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
    b.append(';');
    return b;
}

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
