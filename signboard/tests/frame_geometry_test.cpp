#include "signboard/frame_geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using Frame = std::array<tw::Rect, 3>;

namespace {

Frame apply(tw::Rect (*op)(int, const tw::Rect&, const tw::Rect&), const tw::Rect& board, const Frame& f)
{
    Frame out;
    for (int i = 0; i < 3; ++i)
        out[i] = op(i, board, f[i]);
    return out;
}

Frame refit(const tw::Rect& b, const Frame& f) { return apply(signboard::refitPiece, b, f); }
Frame follow(const tw::Rect& b, const Frame& f) { return apply(signboard::followPiece, b, f); }

const Frame layoutFrame{{{7395, 1695, 75, 495}, {8880, 1695, 75, 495}, {7395, 2160, 1560, 60}}};
const tw::Rect layoutBoard{7470, 1710, 1410, 450};
const tw::Rect pic100x50{7470, 1710, 1500, 750};

std::string show(const Frame& f)
{
    std::string s;
    for (const auto& r : f)
        s += std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) + "," +
             std::to_string(r.height) + "  ";
    return s;
}

} // namespace

TEST(FrameGeometry, WorkedValues)
{
    struct Case {
        const char* what;
        Frame start;
        tw::Rect board;
        bool refitFirstAtLayout; // a refit of the layout board before the step
        bool useRefit;           // refit, or only the size follower
        Frame want;
    };
    const Case cases[] = {
        {"layout", layoutFrame, layoutBoard, false, true,
         {{{7395, 1710, 75, 465}, {8880, 1710, 75, 465}, {7395, 2160, 1560, 60}}}},
        {"reset position", layoutFrame, {7425, 1665, 1410, 450}, false, true,
         {{{7350, 1665, 75, 465}, {8835, 1665, 75, 465}, {7350, 2115, 1560, 60}}}},
        {"100x50 picture, refit", layoutFrame, pic100x50, true, true,
         {{{7395, 1710, 75, 765}, {8970, 1710, 75, 765}, {7395, 2460, 1650, 60}}}},
        {"100x50 picture, follower only: posts keep the old height", layoutFrame, pic100x50, true, false,
         {{{7395, 1710, 75, 465}, {8970, 1710, 75, 465}, {7395, 2460, 1650, 60}}}},
        {"near the left edge: nothing clamped", layoutFrame, {30, 1710, 1410, 450}, false, true,
         {{{-45, 1710, 75, 465}, {1440, 1710, 75, 465}, {-45, 2160, 1560, 60}}}},
        {"board dragged 600 left, then refit", layoutFrame, {6870, 1710, 1410, 450}, true, true,
         {{{6795, 1710, 75, 465}, {8280, 1710, 75, 465}, {6795, 2160, 1560, 60}}}},
        // Posts and bar keep widths/heights the refit never sets, even odd ones.
        {"kept sizes are taken from the pieces", {{{0, 0, 90, 1}, {0, 0, 45, 1}, {0, 0, 1, 33}}}, layoutBoard,
         false, true, {{{7395, 1710, 90, 465}, {8880, 1710, 45, 465}, {7395, 2160, 1560, 33}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Frame f = c.refitFirstAtLayout ? refit(layoutBoard, c.start) : c.start;
        f = c.useRefit ? refit(c.board, f) : follow(c.board, f);
        EXPECT_EQ(f, c.want) << show(f);
        if (c.useRefit) {
            EXPECT_EQ(refit(c.board, f), f) << "a second refit must change nothing";
        }
    }
}
