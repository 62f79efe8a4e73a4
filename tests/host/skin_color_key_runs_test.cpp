// The colour-key run scan, the banded form and frame cutting, on small
// images drawn as text: one character per pixel, each character its own
// colour ('.' is black).
#include "color_key_runs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using cpk::skin::BandRuns;
using cpk::skin::BoundingBox;
using cpk::skin::CountBands;
using cpk::skin::FrameSourceRect;
using cpk::skin::PixelRect;
using cpk::skin::RowRun;
using cpk::skin::ScanColorKeyRuns;
using cpk::skin::ScanTopLeftKeyRuns;

std::uint32_t ColorOf(char c)
{
    switch (c) {
    case '.': return 0x000000;
    case 'W': return 0xFFFFFF;
    case 'R': return 0x0000FF;
    case 'G': return 0x00FF00;
    case 'B': return 0xFF0000;
    case 'r': return 0x0000FE;  // one step from R in a single channel
    default: return 0x100000u + static_cast<unsigned char>(c);
    }
}

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

Image Draw(const std::vector<std::string>& rows)
{
    Image image;
    image.height = static_cast<int>(rows.size());
    image.width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    for (const std::string& row : rows)
        for (char c : row)
            image.pixels.push_back(ColorOf(c));
    return image;
}

// Expands runs back into a picture of the region: '#' inside, '.' outside.
std::vector<std::string> Render(const std::vector<RowRun>& runs, int width, int height)
{
    std::vector<std::string> rows(static_cast<std::size_t>(height), std::string(static_cast<std::size_t>(width), '.'));
    for (const RowRun& run : runs)
        for (int x = run.left; x < run.right; ++x)
            rows[static_cast<std::size_t>(run.y)][static_cast<std::size_t>(x)] = '#';
    return rows;
}

struct KeyCase {
    const char* name;
    std::vector<std::string> image;
    std::vector<std::string> region;  // with the key taken from pixel (0, 0)
};

class TopLeftKeyScan : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TopLeftKeyScan, CoversExactlyTheNonKeyPixels)
{
    const KeyCase& c = GetParam();
    const Image image = Draw(c.image);
    const auto runs = ScanTopLeftKeyRuns(image.pixels.data(), image.width, image.height, image.width);
    EXPECT_EQ(Render(runs, image.width, image.height), c.region);
}

INSTANTIATE_TEST_SUITE_P(
    Images, TopLeftKeyScan,
    ::testing::Values(
        KeyCase{"InteriorKeyPixelsLeaveOnePixelHoles",
                {".....",
                 ".R.G.",
                 ".GGG.",
                 ".R.R.",
                 "....."},
                {".....",
                 ".#.#.",
                 ".###.",
                 ".#.#.",
                 "....."}},
        KeyCase{"KeyTouchingEdgesCutsOut",
                {"..RRRR",
                 ".RRRRR",
                 "RRRRR.",
                 "RRRR.."},
                {"..####",
                 ".#####",
                 "#####.",
                 "####.."}},
        KeyCase{"ForegroundAtOriginIsCutOutEverywhere",
                {"R..RW",
                 "WRRRW",
                 "..R.R"},
                {".##.#",
                 "#...#",
                 "##.#."}},
        KeyCase{"AllKeyColourGivesNothing",
                {"GGG",
                 "GGG"},
                {"...",
                 "..."}},
        KeyCase{"ExactCompareWithoutTolerance",
                {"RrRr",
                 "rrRR"},
                {".#.#",
                 "##.."}},
        KeyCase{"RowsStartingAndEndingWithForeground",
                {".RR.",
                 "RR.R",
                 "RRRR",
                 "R..."},
                {".##.",
                 "##.#",
                 "####",
                 "#..."}},
        KeyCase{"SingleColumn",
                {".", "R", ".", "G"},
                {".", "#", ".", "#"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColorKeyScan, RunsAreMaximalAndOrdered)
{
    const Image image = Draw({"RR..GGB.",
                              "........",
                              "B.B.BBBB"});
    const auto runs = ScanColorKeyRuns(image.pixels.data(), image.width, image.height, image.width, ColorOf('.'));
    const std::vector<RowRun> expected{{0, 0, 2}, {0, 4, 7}, {2, 0, 1}, {2, 2, 3}, {2, 4, 8}};
    EXPECT_EQ(runs, expected);
}

TEST(ColorKeyScan, ExplicitKeyIgnoresTopByteAndHonoursStride)
{
    // The mask colour of the main window as a DIB pixel, in a buffer whose
    // rows are padded and whose top bytes carry junk alpha.
    const std::uint32_t mask = cpk::skin::SwapRedBlue(0x00FFFFF5);
    EXPECT_EQ(mask, 0x00F5FFFFu);
    const std::uint32_t J = 0xAB000000u;
    const std::uint32_t pixels[] = {
        mask | J, 0x00F5FFFEu, mask, /* pad */ 0x123456u,
        0x00F5FFFFu, mask | 0xFF000000u, 0x00F4FFFFu, /* pad */ mask,
    };
    const auto runs = ScanColorKeyRuns(pixels, 3, 2, 4, mask);
    const std::vector<RowRun> expected{{0, 1, 2}, {1, 2, 3}};
    EXPECT_EQ(runs, expected);
}

TEST(ColorKeyScan, BottomUpBufferThroughNegativeStride)
{
    // Rows stored bottom-up, as in a BMP file: the last stored row is y = 0.
    const Image topDown = Draw({"R..", ".G.", "..B"});
    std::vector<std::uint32_t> bottomUp;
    for (int y = topDown.height - 1; y >= 0; --y)
        for (int x = 0; x < topDown.width; ++x)
            bottomUp.push_back(topDown.pixels[static_cast<std::size_t>(y * topDown.width + x)]);
    const std::uint32_t* firstRow = bottomUp.data() + 2 * 3;
    EXPECT_EQ(ScanColorKeyRuns(firstRow, 3, 3, -3, 0),
              ScanColorKeyRuns(topDown.pixels.data(), 3, 3, 3, 0));
}

TEST(ColorKeyScan, DegenerateInputsGiveNoRuns)
{
    const std::uint32_t one = 0xFF;
    EXPECT_TRUE(ScanColorKeyRuns(nullptr, 5, 5, 5, 0).empty());
    EXPECT_TRUE(ScanColorKeyRuns(&one, 0, 1, 1, 0).empty());
    EXPECT_TRUE(ScanColorKeyRuns(&one, 1, 0, 1, 0).empty());
    EXPECT_TRUE(ScanColorKeyRuns(&one, -1, 1, 1, 0).empty());
    EXPECT_TRUE(ScanTopLeftKeyRuns(nullptr, 1, 1, 1).empty());
    EXPECT_TRUE(ScanTopLeftKeyRuns(&one, 1, 1, 1).empty());  // one pixel is its own key
}

TEST(BandedForm, MergesIdenticalConsecutiveRowsOnly)
{
    const Image image = Draw({"......",
                              ".RR.R.",
                              ".RR.R.",
                              "......",
                              ".RR.R.",
                              "RRRRRR",
                              "RRRRRR",
                              ".RR.R."});
    const auto runs = ScanTopLeftKeyRuns(image.pixels.data(), image.width, image.height, image.width);
    const auto bands = BandRuns(runs);
    const std::vector<PixelRect> expected{
        {1, 1, 3, 3}, {4, 1, 5, 3},  // rows 1-2
        {1, 4, 3, 5}, {4, 4, 5, 5},  // row 4: same runs, but row 3 is empty between
        {0, 5, 6, 7},                // rows 5-6
        {1, 7, 3, 8}, {4, 7, 5, 8},  // row 7
    };
    EXPECT_EQ(bands, expected);
    EXPECT_EQ(CountBands(bands), 4);
    EXPECT_EQ(BoundingBox(runs), (PixelRect{0, 1, 6, 8}));
}

TEST(BandedForm, RowsWithEqualRunCountButOtherEdgesStartNewBand)
{
    const std::vector<RowRun> runs{{0, 0, 2}, {0, 3, 4}, {1, 0, 2}, {1, 3, 5}};
    const std::vector<PixelRect> expected{{0, 0, 2, 1}, {3, 0, 4, 1}, {0, 1, 2, 2}, {3, 1, 5, 2}};
    EXPECT_EQ(BandRuns(runs), expected);
    EXPECT_TRUE(BandRuns({}).empty());
    EXPECT_EQ(BoundingBox({}), PixelRect{});
}

TEST(BandedForm, OutlineShapedLikeTheMainWindow)
{
    // A miniature of the window outline: two empty rows, a centre tab that
    // widens downwards, side tabs, then full rows. The full rows must fold
    // into one band however many there are.
    const Image image = Draw({"WWWWWWWWWW",
                              "WWWWWWWWWW",
                              "WWWW..WWWW",
                              "WWW....WWW",
                              ".WW....WW.",
                              "..........",
                              "..........",
                              ".........."});
    const auto runs = ScanColorKeyRuns(image.pixels.data(), image.width, image.height, image.width, ColorOf('W'));
    const auto bands = BandRuns(runs);
    EXPECT_EQ(CountBands(bands), 4);
    EXPECT_EQ(bands.size(), 6u);
    EXPECT_EQ(bands.back(), (PixelRect{0, 5, 10, 8}));
    EXPECT_EQ(BoundingBox(runs), (PixelRect{0, 2, 10, 8}));
}

struct FrameCase {
    int stripWidth, stripHeight, count, index;
    PixelRect expected;
};

class FrameCutting : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameCutting, SourceRectangle)
{
    const FrameCase& c = GetParam();
    EXPECT_EQ(FrameSourceRect(c.stripWidth, c.stripHeight, c.count, c.index), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Strips, FrameCutting,
    ::testing::Values(
        // The exit strip: four whole frames of 103.
        FrameCase{412, 34, 4, 0, {0, 0, 103, 34}}, FrameCase{412, 34, 4, 3, {309, 0, 412, 34}},
        // The web strip, one column wider than four frames: the last frame
        // ends at 936 and column 936 is never shown.
        FrameCase{937, 22, 4, 2, {468, 0, 702, 22}}, FrameCase{937, 22, 4, 3, {702, 0, 936, 22}},
        // Three leftover columns.
        FrameCase{11, 2, 4, 3, {6, 0, 8, 2}},
        // Strip too narrow for a single column per frame.
        FrameCase{3, 5, 4, 0, {}},
        // Out-of-range requests read nothing beside the strip.
        FrameCase{412, 34, 4, 4, {}}, FrameCase{412, 34, 4, -1, {}}, FrameCase{412, 34, 0, 0, {}},
        FrameCase{0, 34, 4, 0, {}}, FrameCase{412, 0, 4, 0, {}},
        FrameCase{100, 10, 1, 0, {0, 0, 100, 10}}));

TEST(FrameCutting, FramesOfALeftoverStripCutTheRightPixels)
{
    // Four frames of two columns and three leftover columns ('x'); every
    // frame, cut out and scanned, shows its own picture and never the rest.
    const Image strip = Draw({".A.B.C.Dxxx",
                              "AAB.CC.Dxxx"});
    const std::vector<std::vector<std::string>> frames{{".A", "AA"}, {".B", "B."}, {".C", "CC"}, {".D", ".D"}};
    for (int index = 0; index < 4; ++index) {
        const PixelRect r = FrameSourceRect(strip.width, strip.height, 4, index);
        const Image expected = Draw(frames[static_cast<std::size_t>(index)]);
        ASSERT_EQ(r.right - r.left, expected.width);
        std::vector<std::uint32_t> cut;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                cut.push_back(strip.pixels[static_cast<std::size_t>(y * strip.width + x)]);
        EXPECT_EQ(cut, expected.pixels) << "frame " << index;
    }
}

}  // namespace
