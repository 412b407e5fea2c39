#include "platform/pictures/picture_scan.h"

#include <QList>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace platform
{

namespace
{

std::uint32_t u16(const QByteArray& b, int at)
{
    return static_cast<std::uint8_t>(b[at]) | (std::uint32_t{static_cast<std::uint8_t>(b[at + 1])} << 8);
}
std::uint32_t u32(const QByteArray& b, int at)
{
    return u16(b, at) | (u16(b, at + 2) << 16);
}
std::int32_t s32(const QByteArray& b, int at)
{
    return static_cast<std::int32_t>(u32(b, at));
}

// Reads a device front to back in large blocks, so a scan through megabytes of
// JPEG data costs a few memchr calls rather than a call per byte.
class Cursor
{
public:
    Cursor(QIODevice& in, qint64 from) : in_(in), base_(from), ok_(from <= in.size() && in.seek(from)) {}

    // The next byte, or -1 at the end.
    int next()
    {
        if (at_ == buf_.size() && !fill())
            return -1;
        return static_cast<std::uint8_t>(buf_[at_++]);
    }

    // False when the device ends first.
    bool skip(qint64 n)
    {
        if (n <= buf_.size() - at_) {
            at_ += n;
            return true;
        }
        const qint64 to = base_ + at_ + n;
        base_ = to;
        buf_.clear();
        at_ = 0;
        ok_ = to <= in_.size() && in_.seek(to);
        return ok_;
    }

    // Moves to the next 0xFF byte without taking it; false when there is none.
    bool toNextFF()
    {
        for (;;) {
            const void* hit = std::memchr(buf_.constData() + at_, 0xFF, std::size_t(buf_.size() - at_));
            if (hit) {
                at_ = static_cast<const char*>(hit) - buf_.constData();
                return true;
            }
            at_ = buf_.size();
            if (!fill())
                return false;
        }
    }

private:
    bool fill()
    {
        base_ += buf_.size();
        at_ = 0;
        buf_ = ok_ ? in_.read(qint64{64} * 1024) : QByteArray();
        return !buf_.isEmpty();
    }

    QIODevice& in_;
    QByteArray buf_;
    qint64 base_;
    qsizetype at_ = 0;
    bool ok_;
};

// Segments up to the end-of-image marker. Entropy-coded data after a
// start-of-scan holds no 0xFF but stuffed FF00 and restart markers, so the
// walk finds the next segment by looking for a marker; stray bytes between
// segments are passed over the same way, as libjpeg does.
bool jpegComplete(Cursor& c)
{
    if (c.next() != 0xFF || c.next() != 0xD8)
        return false;
    while (c.toNextFF()) {
        int marker = c.next();
        while (marker == 0xFF) // fill bytes
            marker = c.next();
        if (marker == 0xD9)
            return true;
        if (marker < 0 || marker == 0xD8)
            return false;
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // stuffed byte, TEM, restart: no length follows
        const int hi = c.next(), lo = c.next();
        const int length = (hi << 8) | lo;
        if (lo < 0 || length < 2 || !c.skip(length - 2))
            return false;
    }
    return false;
}

// Blocks through the first image's data: the first frame is what shows, so a
// later frame cut short does no harm.
bool gifComplete(Cursor& c)
{
    const auto colourTable = [](int flags) { return (flags & 0x80) ? 3 << ((flags & 7) + 1) : 0; };
    const auto subBlocks = [&] {
        for (int n = c.next(); n != 0; n = c.next())
            if (n < 0 || !c.skip(n))
                return false;
        return true;
    };
    if (!c.skip(10))
        return false;
    const int screenFlags = c.next();
    if (screenFlags < 0 || !c.skip(2 + colourTable(screenFlags)))
        return false;
    for (;;) {
        switch (c.next()) {
        case 0x21: // extension: label, then sub-blocks
            if (c.next() < 0 || !subBlocks())
                return false;
            break;
        case 0x2C: { // image: position and size, flags, local colour table, LZW code size, data
            if (!c.skip(8))
                return false;
            const int flags = c.next();
            return flags >= 0 && c.skip(colourTable(flags) + 1) && subBlocks();
        }
        default: // the trailer before any image, or junk
            return false;
        }
    }
}

struct BmpLayout {
    qint64 width = 0;
    qint64 height = 0; // negative: rows stored top-down
    int bpp = 0;
    std::uint32_t compression = 0;
    qint64 palette = 0; // where the colour table starts
    int colours = 0;
    int entrySize = 4;
    qint64 data = 0; // where the rows start
    bool rle() const { return compression == 1 || compression == 2; }
};

// The layout as Qt's reader takes it, nullopt for one it refuses.
std::optional<BmpLayout> bmpLayout(const QByteArray& head)
{
    if (head.size() < 26)
        return std::nullopt;
    const std::uint32_t infoSize = u32(head, 14);
    BmpLayout l;
    std::uint32_t planes = 0, colourCount = 0;
    if (infoSize == 12) { // OS/2 core header: 16-bit sizes, 3-byte colours, no compression
        l.width = static_cast<std::int16_t>(u16(head, 18));
        l.height = static_cast<std::int16_t>(u16(head, 20));
        planes = u16(head, 22);
        l.bpp = int(u16(head, 24));
        l.entrySize = 3;
    } else if ((infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124) &&
               head.size() >= 50) {
        l.width = s32(head, 18);
        l.height = s32(head, 22);
        planes = u16(head, 26);
        l.bpp = int(u16(head, 28));
        l.compression = u32(head, 30);
        colourCount = u32(head, 46);
    } else {
        return std::nullopt;
    }
    const bool rle = (l.compression == 1 && l.bpp == 8) || (l.compression == 2 && l.bpp == 4);
    const bool fields = l.compression == 3 && (l.bpp == 16 || l.bpp == 32);
    const bool depthOk = l.bpp == 1 || l.bpp == 4 || l.bpp == 8 || l.bpp == 16 || l.bpp == 24 || l.bpp == 32;
    if (planes != 1 || !depthOk || !(l.compression == 0 || rle || fields))
        return std::nullopt;
    if (l.width <= 0 || l.height == 0 || l.height == INT32_MIN ||
        l.width * std::abs(l.height) > qint64{16384} * 16384)
        return std::nullopt;
    if (l.bpp <= 8) {
        if (colourCount > 256)
            return std::nullopt;
        l.colours = colourCount ? int(colourCount) : 1 << l.bpp;
    }
    // Bit-field masks follow a short header; longer ones hold them.
    l.palette = 14 + qint64{infoSize} + (fields && infoSize < 108 ? 12 : 0);
    // An offset pointing into the headers is ignored, as Qt does.
    l.data = std::max<qint64>(s32(head, 10), l.palette + qint64{l.colours} * l.entrySize);
    return l;
}

QByteArray bmpHead(QIODevice& in)
{
    return in.seek(0) ? in.read(64) : QByteArray();
}

// Walks RLE8 or RLE4 data, painting into out when given. True when the stream
// reaches its end mark or moves past the last row before the data ends.
bool walkRle(Cursor& c, const BmpLayout& l, QImage* out)
{
    const bool four = l.bpp == 4;
    const qint64 w = l.width, h = std::abs(l.height);
    qint64 x = 0, y = 0; // y counts rows in the order stored
    const auto paint = [&](int index, qint64 n) {
        if (out && x < w)
            std::memset(out->scanLine(int(l.height < 0 ? y : h - 1 - y)) + x, index,
                        std::size_t(std::min(n, w - x)));
        x = std::min(x + n, w);
    };
    const auto nibble = [](int byte, int i) { return i % 2 ? byte & 15 : byte >> 4; };
    while (y < h) {
        const int count = c.next(), code = c.next();
        if (code < 0)
            return false;
        if (count > 0) { // a run of one index, or in RLE4 of two alternating ones
            if (four)
                for (int i = 0; i < count && x < w; ++i)
                    paint(nibble(code, i), 1);
            else
                paint(code, count);
        } else if (code == 0) { // end of line
            x = 0;
            ++y;
        } else if (code == 1) { // end of bitmap
            return true;
        } else if (code == 2) { // delta
            const int dx = c.next(), dy = c.next();
            if (dy < 0)
                return false;
            x = std::min(x + dx, w);
            y += dy;
        } else { // code literal pixels, padded to a 16-bit boundary
            int byte = 0;
            for (int i = 0; i < code; ++i) {
                if (!four || i % 2 == 0)
                    byte = c.next();
                if (byte < 0)
                    return false;
                paint(four ? nibble(byte, i) : byte, 1);
            }
            if ((four ? (code + 1) / 2 : code) % 2)
                c.next(); // padding; if missing, the next code finds the end
        }
    }
    return true;
}

bool bmpComplete(QIODevice& in)
{
    const auto l = bmpLayout(bmpHead(in));
    if (!l)
        return false;
    if (l->rle()) {
        Cursor c(in, l->data);
        return walkRle(c, *l, nullptr);
    }
    // Every row the header declares, each padded to four bytes. Divided rather
    // than multiplied: hostile headers overflow a product.
    const qint64 stride = (l->width * l->bpp + 31) / 32 * 4;
    const qint64 room = in.size() - l->data;
    return room >= 0 && std::abs(l->height) <= room / stride;
}

} // namespace

bool pictureDataComplete(PictureFormat format, QIODevice& in)
{
    switch (format) {
    case PictureFormat::Bmp:
        return bmpComplete(in);
    case PictureFormat::Gif: {
        Cursor c(in, 0);
        return gifComplete(c);
    }
    case PictureFormat::Jpeg: {
        Cursor c(in, 0);
        return jpegComplete(c);
    }
    default:
        return false;
    }
}

bool isRleBitmap(const QByteArray& head)
{
    const auto l = bmpLayout(head);
    return l && l->rle();
}

QImage decodeRleBitmap(QIODevice& in, qint64 maxPixels)
{
    const auto l = bmpLayout(bmpHead(in));
    if (!l || !l->rle() || l->width * std::abs(l->height) > maxPixels)
        return {};
    QImage img(int(l->width), int(std::abs(l->height)), QImage::Format_Indexed8);
    if (img.isNull())
        return {};
    img.fill(0);
    // A full table, so a stray index shows black.
    QList<QRgb> table(256, qRgb(0, 0, 0));
    Cursor colours(in, l->palette);
    for (int i = 0; i < l->colours; ++i) {
        const int b = colours.next(), g = colours.next(), r = colours.next();
        if (r < 0 || (l->entrySize == 4 && colours.next() < 0))
            return {};
        table[i] = qRgb(r, g, b);
    }
    img.setColorTable(table);
    Cursor rows(in, l->data);
    if (!walkRle(rows, *l, &img))
        return {};
    return img;
}

} // namespace platform
