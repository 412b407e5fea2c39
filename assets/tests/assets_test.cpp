// The built-in pictures and sounds as generated at build time: the sizes the
// layouts need at both resolutions, the icon's palette, the door-switch GIFs,
// the link pointer, where the bus body puts its doorways and sign box, and the
// exact byte layout of the two sound images.
#include "assets/assets.h"
#include "platform/twips.h"

#include <QImageReader>
#include <QPixmap>
#include <QSet>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using assets::Resolution;

namespace
{

struct Rgb {
    int r, g, b;
};

Rgb at(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return {qRed(c), qGreen(c), qBlue(c)};
}

Rgb mean(const QImage& img, const QRect& area)
{
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x, ++n) {
            const Rgb c = at(img, x, y);
            r += c.r;
            g += c.g;
            b += c.b;
        }
    return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
}

double distance(Rgb a, Rgb b)
{
    return std::hypot(a.r - b.r, a.g - b.g, a.b - b.b);
}
int luminance(Rgb c)
{
    return (c.r * 3 + c.g * 6 + c.b) / 10;
}
bool isOrange(Rgb c)
{
    return c.r > 200 && c.g > 100 && c.g < 185 && c.b < 100;
}
bool isDark(Rgb c)
{
    return luminance(c) < 70;
}

// The average difference per channel between the 2x rendering brought down to
// 1x and the 1x rendering: small when both show the same artwork.
double meanDifference(const QImage& normal, const QImage& doubled)
{
    const QImage down = doubled.scaled(normal.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int y = 0; y < normal.height(); ++y)
        for (int x = 0; x < normal.width(); ++x) {
            const Rgb a = at(normal, x, y), b = at(down, x, y);
            sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        }
    return sum / (3.0 * normal.width() * normal.height());
}

QSet<QRgb> colours(const QImage& img)
{
    QSet<QRgb> s;
    const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb c = argb.pixel(x, y);
            s.insert(qAlpha(c) == 0 ? 0u : c);
        }
    return s;
}

// Pixel rectangle of a layout rectangle in twips.
QRect px(float l, float t, float w, float h)
{
    return tw::toPixels(tw::Rect{l, t, w, h});
}

} // namespace

TEST(BuiltInPictures, LayoutSizesAt1xAnd2x)
{
    const struct {
        const char* name;
        std::function<QImage(Resolution)> picture;
        QSize size;
    } rows[] = {
        {"bus body", assets::busBody, {665, 212}},       {"front door", assets::frontDoor, {73, 148}},
        {"middle door", assets::middleDoor, {76, 150}},  {"doorway view", assets::doorwayView, {76, 151}},
        {"default sign", assets::defaultSign, {52, 32}}, {"grey panel", assets::greyPanel, {42, 137}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QImage normal = row.picture(Resolution::Normal);
        EXPECT_EQ(normal.size(), row.size);
        EXPECT_EQ(normal.devicePixelRatio(), 1.0);
        EXPECT_FALSE(normal.hasAlphaChannel()) << "24-bit colour, opaque";

        const QImage doubled = row.picture(Resolution::Double);
        EXPECT_EQ(doubled.size(), row.size * 2);
        EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
        EXPECT_EQ(doubled.deviceIndependentSize().toSize(), row.size) << "draws at the layout size";
        EXPECT_FALSE(doubled.hasAlphaChannel());
        EXPECT_LT(meanDifference(normal, doubled), 2.0) << "the 2x rendering shows the same artwork";

        // The offscreen test platform has device pixel ratio 1.
        EXPECT_EQ(row.picture(Resolution::ForScreens), normal);
    }
}

TEST(BuiltInPictures, IconHasAtMostSixteenColours)
{
    const QImage icon = assets::appIconImage(Resolution::Normal);
    ASSERT_EQ(icon.size(), QSize(32, 32));
    const QSet<QRgb> used = colours(icon);
    EXPECT_LE(used.size(), 16);
    EXPECT_GE(used.size(), 6) << "a picture, not a blot";
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "the bus stands on a transparent ground";

    const QImage big = assets::appIconImage(Resolution::Double);
    EXPECT_LE((used + colours(big)).size(), 16) << "both sizes share one palette";

    // The user install copies these files into the icon theme.
    for (int size : {32, 64}) {
        SCOPED_TRACE(size);
        const QImage file(QStringLiteral(ASSET_DIR "/icon-%1.png").arg(size));
        EXPECT_EQ(file.size(), QSize(size, size));
        EXPECT_EQ(colours(file), colours(size == 32 ? icon : big));
    }
}

TEST(BuiltInPictures, DoorSwitchesAreGifsOfBlackTextOnYellow)
{
    for (const char* name : {"door-switch-front", "door-switch-middle"}) {
        for (const char* suffix : {"", "@2x"}) {
            QImageReader reader(
                QStringLiteral(":/assets/%1%2.gif").arg(QLatin1String(name), QLatin1String(suffix)));
            EXPECT_EQ(reader.format(), "gif") << name << suffix;
        }
    }

    const QImage front = assets::frontDoorSwitch(Resolution::Normal);
    const QImage middle = assets::middleDoorSwitch(Resolution::Normal);
    for (const QImage* img : {&front, &middle}) {
        ASSERT_EQ(img->size(), QSize(50, 20));
        int yellow = 0, black = 0, other = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 50; ++x) {
                const Rgb c = at(*img, x, y);
                if (c.r > 240 && c.g > 240 && c.b < 20)
                    ++yellow;
                else if (c.r < 40 && c.g < 40 && c.b < 20)
                    ++black;
                else if (std::abs(c.r - c.g) > 10 || c.b > 20)
                    ++other; // neither yellow, black nor a shade between them
            }
        EXPECT_GT(yellow, 1000 * 60 / 100) << "mostly yellow";
        EXPECT_GT(black, 1000 * 5 / 100) << "with black characters";
        EXPECT_EQ(other, 0);
    }
    EXPECT_NE(front, middle);
    const QImage doubled = assets::frontDoorSwitch(Resolution::Double);
    EXPECT_EQ(doubled.deviceIndependentSize().toSize(), QSize(50, 20));
    EXPECT_EQ(doubled.size(), QSize(100, 40));
}

TEST(BuiltInPictures, LinkCursorPointsWithItsHotSpot)
{
    const struct {
        Resolution resolution;
        int size;
        QPoint hotSpot;
    } rows[] = {{Resolution::Normal, 32, {12, 1}}, {Resolution::Double, 64, {24, 2}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.size);
        const QCursor cursor = assets::linkCursor(row.resolution);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
        EXPECT_EQ(cursor.hotSpot(), row.hotSpot);
        const QImage img = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(img.size(), QSize(row.size, row.size));
        EXPECT_GT(qAlpha(img.pixel(row.hotSpot)), 128) << "the hot spot is on the fingertip";
        // Nothing of the hand lies above the fingertip.
        for (int y = 0; y < row.hotSpot.y(); ++y)
            for (int x = 0; x < row.size; ++x)
                EXPECT_LT(qAlpha(img.pixel(x, y)), 64) << x << "," << y;
    }
    EXPECT_EQ(assets::linkCursor().hotSpot(), QPoint(12, 1));
}

TEST(BuiltInPictures, BusBodyLinesUpWithTheMovingParts)
{
    const QImage body = assets::busBody(Resolution::Normal);
    for (QPoint corner : {QPoint(0, 0), QPoint(664, 0), QPoint(0, 211), QPoint(664, 211)})
        EXPECT_EQ(body.pixel(corner), qRgb(255, 255, 255)) << "on white";

    const QRect frontDoor = px(300, 690, 1095, 2220);
    const QRect middleDoor = px(4695, 690, 1140, 2235);
    const QRect sign = px(2325, 555, 775, 485);
    const QRect signboard = px(7470, 1710, 1410, 450);

    // Each doorway is framed just outside its door and is not body paint; the
    // paint continues beyond the frame.
    for (QRect door : {frontDoor, middleDoor}) {
        SCOPED_TRACE(door.left());
        const int midY = door.center().y();
        EXPECT_TRUE(isDark(at(body, door.left() - 1, midY)));
        EXPECT_TRUE(isDark(at(body, door.right() + 1, midY)));
        EXPECT_TRUE(isDark(at(body, door.center().x(), door.top() - 1)));
        EXPECT_TRUE(isOrange(at(body, door.right() + 6, midY)));
        const Rgb inside = mean(body, door.adjusted(4, 4, -4, -4));
        EXPECT_GT(distance(inside, at(body, door.right() + 6, midY)), 60.0);
    }

    // A dark bezel round the sign box, glass below it.
    for (QPoint p :
         {QPoint(sign.left() - 2, sign.center().y()), QPoint(sign.center().x(), sign.bottom() + 2)})
        EXPECT_TRUE(isDark(at(body, p.x(), p.y()))) << p.x() << "," << p.y();
    const Rgb below = at(body, sign.center().x(), sign.bottom() + 20);
    EXPECT_GT(below.b, below.r);
    EXPECT_FALSE(isOrange(at(body, signboard.center().x(), signboard.center().y()))) << "a plain panel";
}

TEST(BuiltInPictures, ClosedMiddleDoorMatchesTheBody)
{
    // The middle door: glass above, the body's own paint below (so the closed
    // door matches the bus round it).
    const QImage body = assets::busBody(Resolution::Normal);
    const QImage leaf = assets::middleDoor(Resolution::Normal);
    const Rgb glass = mean(leaf, {10, 20, 40, 30});
    EXPECT_GT(glass.b, glass.r + 30);
    const Rgb paint = mean(leaf, {6, 104, 40, 16});
    EXPECT_TRUE(isOrange(paint));
    const QRect doorway = px(4695, 690, 1140, 2235);
    EXPECT_LT(distance(paint, mean(body, {doorway.right() + 4, doorway.top() + 104, 6, 16})), 25.0);
}

TEST(BuiltInSounds, WaveImagesHaveTheExactLayout)
{
    const struct {
        int number;
        qsizetype size;
        bool fact;
        quint32 samples;
    } rows[] = {{101, 17684, false, 17640}, {102, 44156, true, 44100}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.number);
        const QByteArray w = assets::wave(row.number);
        ASSERT_EQ(w.size(), row.size);
        const char* d = w.constData();
        auto u32 = [d](qsizetype at) { return qFromLittleEndian<quint32>(d + at); };
        auto u16 = [d](qsizetype at) { return qFromLittleEndian<quint16>(d + at); };
        EXPECT_EQ(w.left(4), "RIFF");
        EXPECT_EQ(u32(4), static_cast<quint32>(row.size - 8));
        EXPECT_EQ(w.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(u32(16), 16u);
        EXPECT_EQ(u16(20), 1) << "PCM";
        EXPECT_EQ(u16(22), 1) << "mono";
        EXPECT_EQ(u32(24), 22050u);
        EXPECT_EQ(u32(28), 22050u) << "bytes per second";
        EXPECT_EQ(u16(32), 1) << "block align";
        EXPECT_EQ(u16(34), 8) << "bits per sample";
        qsizetype data = 36;
        if (row.fact) {
            EXPECT_EQ(w.mid(36, 4), "fact");
            EXPECT_EQ(u32(40), 4u);
            EXPECT_EQ(u32(44), row.samples);
            data = 48;
        }
        EXPECT_EQ(w.mid(data, 4), "data");
        EXPECT_EQ(u32(data + 4), row.samples);
        EXPECT_EQ(data + 8 + row.samples, row.size) << "nothing after the data";

        // Audible, not clipped, and starting and ending at rest (no click).
        const auto* s = reinterpret_cast<const unsigned char*>(d + data + 8);
        int peak = 0, clipped = 0, crossings = 0;
        for (quint32 i = 0; i < row.samples; ++i) {
            peak = std::max(peak, std::abs(s[i] - 128));
            clipped += s[i] == 0 || s[i] == 255;
            if (i > 0)
                crossings += (s[i - 1] < 128) != (s[i] < 128);
        }
        EXPECT_EQ(s[0], 128);
        EXPECT_EQ(s[row.samples - 1], 128);
        EXPECT_GT(peak, 60);
        EXPECT_EQ(clipped, 0);
        // The chime is a tone (a few hundred crossings a second); the hiss is noise.
        const double perSecond = crossings * 22050.0 / row.samples;
        if (row.number == 101) {
            EXPECT_GT(perSecond, 600);
            EXPECT_LT(perSecond, 2500);
        } else {
            EXPECT_GT(perSecond, 3000);
        }
    }
    for (int other : {0, 100, 103, -101})
        EXPECT_TRUE(assets::wave(other).isEmpty()) << other;
}
