// Paths in any encoding and where windows may stand.
#include "platform/core/native_path.h"
#include "platform/core/screen_place.h"

#include <gtest/gtest.h>
#include <tuple>
#include <utility>

// A window 666 x 234 with a 20-pixel title bar, on screen layouts: kept where
// a quarter of it and half its title bar's height show on one screen (half
// off an edge too), else moved as little as it takes wholly onto the nearest
// screen that can hold it; of screens it overlaps, the one holding most of it.
TEST(ReachablePlace, KeptWhereItCanBeSeenAndGrabbedElseWhollyOnTheNearestScreen)
{
    const std::vector<QRect> one{{0, 0, 1280, 1024}}, side{{0, 0, 1280, 1024}, {1280, 0, 1280, 1024}},
        heights{{0, 0, 1920, 1200}, {1920, 0, 1280, 1024}}, uneven{{0, 0, 1280, 1024}, {1280, 0, 1280, 600}},
        narrow{{0, 0, 1280, 1024}, {1280, 0, 640, 1200}}, offset{{0, 0, 1280, 1024}, {1580, 500, 1280, 1024}},
        topPanel{{0, 30, 1280, 994}}, small{{0, 0, 400, 200}};
    // Layout, saved top-left, where it goes (the same: it stays).
    const std::tuple<const char*, std::vector<QRect>, QPoint, QPoint> rows[] = {
        {"inside", one, {100, 100}, {100, 100}},
        {"half off the left edge", one, {-333, 400}, {-333, 400}},
        {"half off the right edge", one, {947, 400}, {947, 400}},
        {"a quarter shows below", one, {100, 1024 - 59}, {100, 1024 - 59}},
        {"less than a quarter shows below", one, {100, 1024 - 58}, {100, 790}},
        {"half the title bar above the top", one, {100, -10}, {100, -10}},
        {"less of the title bar above the top", one, {100, -11}, {100, 0}},
        {"the title bar under a top panel", topPanel, {100, 15}, {100, 30}},
        {"beyond the left edge", one, {-700, 400}, {0, 400}},
        {"beyond the right edge", one, {1300, 400}, {614, 400}},
        {"beyond the top", one, {100, -300}, {100, 0}},
        {"beyond the bottom", one, {100, 1100}, {100, 790}},
        {"beyond the top-left corner", one, {-700, -300}, {0, 0}},
        {"beyond the top-right corner", one, {1300, -300}, {614, 0}},
        {"beyond the bottom-left corner", one, {-700, 1100}, {0, 790}},
        {"beyond the bottom-right corner", one, {3000, 2000}, {614, 790}},
        {"across two screens", side, {1000, 400}, {1000, 400}},
        {"on the second screen", side, {2000, 400}, {2000, 400}},
        {"the second screen gone", one, {2000, 400}, {614, 400}},
        {"beyond the second screen", side, {2600, 400}, {1894, 400}},
        {"below the lower screen, nearer to it", heights, {2000, 1100}, {2000, 790}},
        {"below the lower screen, nearer to the other", heights, {1700, 1300}, {1254, 966}},
        {"mostly outside where two screens meet", uneven, {1200, 550}, {1280, 366}},
        {"above a lower screen, nearer to it than to the other's side", offset, {1600, 166}, {1600, 500}},
        {"beyond a screen narrower than it", narrow, {2100, 300}, {614, 300}},
        {"exactly a quarter shows", one, {947, 907}, {947, 907}},
        {"larger than the screen", small, {1000, 1000}, {0, 0}},
        {"no screens", {}, {5000, 5000}, {5000, 5000}},
    };
    for (const auto& [what, screens, saved, want] : rows)
        EXPECT_EQ(platform::reachablePlace({saved, QSize(666, 234)}, 20, screens),
                  QRect(want, QSize(666, 234)))
            << what;
    EXPECT_EQ(platform::reachablePlace({{100, -100}, QSize(666, 234)}, 0, one).topLeft(), QPoint(100, -100))
        << "no title bar: a quarter of it is enough";
}

// Any bytes come back as they were; valid UTF-8 reads as UTF-8, U+10000 and
// above as two halves.
TEST(NativePath, NamesInAnyEncodingRoundTrip)
{
    const std::pair<const char*, bool> rows[] = {{"行先.bmp", true},
                                                 {"\xf0\x90\x80\x80.bmp", true},
                                                 {"\xed\xb2\x80", false} /* a surrogate */,
                                                 {"\xc0\xaf", false} /* overlong */,
                                                 {"\xe3\x81", false} /* cut short */,
                                                 {"\xf4\x90\x80\x80", false} /* past U+10FFFF */};
    for (const auto& [bytes, utf8] : rows) {
        const QString s = platform::decodePath(bytes);
        EXPECT_TRUE(platform::encodePath(s) == bytes && (s == QString::fromUtf8(bytes)) == utf8) << bytes;
    }
}
