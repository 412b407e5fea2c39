// The built-in pictures and sounds as generated at build time: what the icon
// theme, X11's cursors and the sound player rely on. Sizes and looks are the
// window pictures' business (tests/reference).
#include "assets/assets.h"

#include <QSet>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

using assets::Resolution;
using namespace Qt::Literals::StringLiterals;

TEST(BuiltInPictures, IconOfSixteenColoursInBothSizesAndTheirFiles)
{
    QSet<QRgb> used;
    for (int size : {32, 64}) {
        const QImage icon = assets::appIconImage(size == 32 ? Resolution::Normal : Resolution::Double);
        const QImage file(QStringLiteral(ASSET_DIR "/icon-%1.png").arg(size)); // copied into the icon theme
        EXPECT_EQ(file.size(), QSize(size, size));
        for (const QImage& img : {icon, file}) {
            const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    used.insert(qAlpha(argb.pixel(x, y)) ? argb.pixel(x, y) : 0u);
        }
    }
    EXPECT_LE(used.size(), 16) << "one palette of sixteen for both sizes";
    EXPECT_GE(used.size(), 6) << "a picture, not a blot";
}

TEST(BuiltInPictures, LinkCursorHotSpotOnTheFingertip)
{
    for (const auto& [resolution, size, hotSpot] :
         {std::tuple{Resolution::Normal, 32, QPoint(12, 1)}, std::tuple{Resolution::Double, 64, QPoint(24, 2)}}) {
        const QCursor cursor = assets::linkCursor(resolution);
        EXPECT_EQ(cursor.hotSpot(), hotSpot);
        const QImage img = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(img.size(), QSize(size, size));
        EXPECT_GT(qAlpha(img.pixel(hotSpot)), 128);
        for (int x = 0; x < size; ++x)
            EXPECT_LT(qAlpha(img.pixel(x, 0)), 64) << "nothing above the fingertip";
    }
}

TEST(BuiltInSounds, WaveImagesHaveTheExactLayout)
{
    const struct {
        int number;
        QByteArray chunks; // after "WAVE": fmt, then fact when there is one, then the data header
        quint32 samples;
    } rows[] = {
        {101, "fmt \x10\0\0\0\1\0\1\0\x22\x56\0\0\x22\x56\0\0\1\0\x08\0data\xe8\x44\0\0"_ba, 17640},
        {102, "fmt \x10\0\0\0\1\0\1\0\x22\x56\0\0\x22\x56\0\0\1\0\x08\0fact\4\0\0\0\x44\xac\0\0data\x44\xac\0\0"_ba,
         44100},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.number);
        const QByteArray w = assets::wave(row.number);
        const qsizetype header = 12 + row.chunks.size();
        ASSERT_EQ(w.size(), header + row.samples);
        EXPECT_EQ(w.left(4), "RIFF");
        EXPECT_EQ(qFromLittleEndian<quint32>(w.constData() + 4), quint32(w.size() - 8));
        EXPECT_EQ(w.mid(8, 4), "WAVE");
        EXPECT_EQ(w.mid(12, row.chunks.size()), row.chunks);
        // Audible, starting and ending at rest (no click).
        const QByteArray s = w.mid(header);
        EXPECT_EQ(s.front(), '\x80');
        EXPECT_EQ(s.back(), '\x80');
        EXPECT_TRUE(std::any_of(s.begin(), s.end(), [](char c) { return std::abs(quint8(c) - 128) > 60; }));
    }
    for (int other : {0, 100, 103, -101})
        EXPECT_TRUE(assets::wave(other).isEmpty()) << other;
}
