#include "platform/pictures/picture_format.h"

#include <cmath>
#include <cstdint>

namespace platform
{

namespace
{

std::uint16_t u16(const QByteArray& b, int at)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                      (static_cast<std::uint8_t>(b[at + 1]) << 8));
}
std::int16_t s16(const QByteArray& b, int at)
{
    return static_cast<std::int16_t>(u16(b, at));
}
std::uint32_t u32(const QByteArray& b, int at)
{
    return u16(b, at) | (std::uint32_t{u16(b, at + 2)} << 16);
}
std::int32_t s32(const QByteArray& b, int at)
{
    return static_cast<std::int32_t>(u32(b, at));
}

bool startsWith(const QByteArray& b, const char* magic, int n)
{
    return b.size() >= n && b.startsWith(QByteArray(magic, n));
}

// A size in pixels from a length in some unit, refusing nonsense.
std::optional<int> toPixels(double length, double unitsPerInch)
{
    const double px = std::round(length * 96.0 / unitsPerInch);
    if (!(px >= 1.0 && px <= 32767.0))
        return std::nullopt;
    return static_cast<int>(px);
}

} // namespace

PictureFormat sniffPictureFormat(const QByteArray& head)
{
    if (startsWith(head, "BM", 2) && head.size() >= 26)
        return PictureFormat::Bmp;
    if (startsWith(head, "GIF87a", 6) || startsWith(head, "GIF89a", 6))
        return PictureFormat::Gif;
    if (startsWith(head, "\xFF\xD8\xFF", 3))
        return PictureFormat::Jpeg;
    if (startsWith(head, "\xD7\xCD\xC6\x9A", 4) && head.size() >= 22 + 18)
        return PictureFormat::Wmf;
    // A bare WMF header: type 1 (memory) or 2 (disk), 9 words long, version 0x0100 or 0x0300.
    if (head.size() >= 18 && (u16(head, 0) == 1 || u16(head, 0) == 2) && u16(head, 2) == 9 &&
        (u16(head, 4) == 0x0100 || u16(head, 4) == 0x0300))
        return PictureFormat::Wmf;
    if (head.size() >= 88 && u32(head, 0) == 1 && head.mid(40, 4) == " EMF")
        return PictureFormat::Emf;
    return PictureFormat::Unknown;
}

const char* qtFormatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp:
        return "bmp";
    case PictureFormat::Gif:
        return "gif";
    case PictureFormat::Jpeg:
        return "jpeg";
    default:
        return "";
    }
}

std::optional<QSize> metafileHeaderSize(PictureFormat format, const QByteArray& head)
{
    if (format == PictureFormat::Wmf && startsWith(head, "\xD7\xCD\xC6\x9A", 4) && head.size() >= 22) {
        const int inch = u16(head, 14);
        if (inch == 0)
            return std::nullopt;
        const auto w = toPixels(double(s16(head, 10)) - s16(head, 6), inch);
        const auto h = toPixels(double(s16(head, 12)) - s16(head, 8), inch);
        if (w && h)
            return QSize(*w, *h);
        return std::nullopt;
    }
    if (format == PictureFormat::Emf && head.size() >= 88) {
        // Frame is in 0.01 mm and inclusive.
        const auto fw = toPixels(double(s32(head, 32)) - s32(head, 24) + 1, 2540.0);
        const auto fh = toPixels(double(s32(head, 36)) - s32(head, 28) + 1, 2540.0);
        if (fw && fh)
            return QSize(*fw, *fh);
        const double bw = double(s32(head, 16)) - s32(head, 8) + 1;
        const double bh = double(s32(head, 20)) - s32(head, 12) + 1;
        if (bw >= 1 && bh >= 1 && bw <= 32767 && bh <= 32767)
            return QSize(int(bw), int(bh));
    }
    return std::nullopt;
}

} // namespace platform
