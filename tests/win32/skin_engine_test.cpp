// The frame and region engine on real bitmaps and a real button window, and
// the region helpers on the committed artwork.
#include <gtest/gtest.h>

#include <windows.h>

#include "color_key_region.h"
#include "color_key_runs.h"
#include "skin_bitmap.h"
#include "skin_test_support.h"
#include "unique_handle.h"
#include "zavure_graphics_engine.h"

namespace cpk::skin {
namespace {

using test::ColorOf;
using test::MakeBitmap;
using test::RegionCallCounter;
using test::WindowRegionRects;

// A visible top-level window holding one push button.
class ButtonWindow : public ::testing::Test {
protected:
    // One host for all cases: a top-level window takes a while to go away
    // under some window systems, buttons do not.
    static HWND Host()
    {
        static UniqueWindow host(CreateWindowExW(0, L"STATIC", L"skin test", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200,
                                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        return host.get();
    }

    void SetUp() override
    {
        ASSERT_NE(Host(), nullptr);
        button_ = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 60, 30, Host(),
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(button_, nullptr);
        RegionCallCounter::calls = 0;
        engine_.SetWindowRgnCall(&RegionCallCounter::Call);
    }
    void TearDown() override
    {
        if (button_ != nullptr)
            DestroyWindow(button_);
    }

    // Draws rows into a bitmap the button's size would have and applies it.
    void Apply(const std::vector<std::string>& rows)
    {
        SkinBitmap image;
        image.Adopt(MakeBitmap(rows));
        engine_.ApplyColorKeyRegion(button_, applied_.get(), image.Canvas());
    }

    HWND button_ = nullptr;
    classTZavureGraphicsEngine engine_;
    UniqueRegion applied_{CreateRectRgn(0, 0, 0, 0)};
};

struct RegionCase {
    const char* name;
    std::vector<std::string> image;
};

class EngineRegion : public ButtonWindow, public ::testing::WithParamInterface<RegionCase> {};

TEST_P(EngineRegion, WindowTakesTheScanOfTheImage)
{
    const auto& rows = GetParam().image;
    UniqueBitmap reference(MakeBitmap(rows));
    const auto expected = BandRuns(test::TopLeftKeyRuns(reference.get()));
    ASSERT_FALSE(expected.empty());

    Apply(rows);
    bool hasRegion = false;
    EXPECT_EQ(WindowRegionRects(button_, &hasRegion), expected);
    EXPECT_TRUE(hasRegion);
    EXPECT_EQ(test::RegionRects(applied_.get()), expected) << "the caller's copy follows the window";
    EXPECT_EQ(RegionCallCounter::calls, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Images, EngineRegion,
    ::testing::Values(
        RegionCase{"HolesAndEdgeCutOuts",
                   {"..RRRRRR..",
                    ".RRR.RRRR.",
                    "RRRRRR.RRR",
                    "RR.RRRRRRR",
                    ".RRRRRRRR."}},
        RegionCase{"ForegroundKeyAtOrigin",
                   {"GRRRGRRRRG",
                    "RRGGRRRRRR",
                    "RRRRRRGRRG"}},
        RegionCase{"FullRowsFoldIntoOneBand",
                   {"....RR....",
                    "RRRRRRRRRR",
                    "RRRRRRRRRR",
                    "RRRRRRRRRR"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ButtonWindow, SameImageTwiceSetsTheRegionOnce)
{
    const std::vector<std::string> a{".RRR", "RRRR", "RR.R"};
    const std::vector<std::string> b{".RRR", "RRRR", "RRRR"};
    Apply(a);
    Apply(a);
    EXPECT_EQ(RegionCallCounter::calls, 1);
    // Other colours, same key pixels: the shape is the same.
    Apply({".GGG", "BBBB", "WW.C"});
    EXPECT_EQ(RegionCallCounter::calls, 1);
    Apply(b);
    EXPECT_EQ(RegionCallCounter::calls, 2);
    UniqueBitmap reference(MakeBitmap(b));
    EXPECT_EQ(WindowRegionRects(button_), BandRuns(test::TopLeftKeyRuns(reference.get())));
}

TEST_F(ButtonWindow, AllKeyImageOnFirstCallLeavesTheWindowUnshaped)
{
    Apply({"GGGG", "GGGG"});
    EXPECT_EQ(RegionCallCounter::calls, 0);
    bool hasRegion = true;
    (void)WindowRegionRects(button_, &hasRegion);
    EXPECT_FALSE(hasRegion);

    // Once shaped, an all-key image does take effect: the window vanishes.
    Apply({".R", "RR"});
    Apply({"RR", "RR"});
    EXPECT_EQ(RegionCallCounter::calls, 2);
    EXPECT_TRUE(WindowRegionRects(button_, &hasRegion).empty());
    EXPECT_TRUE(hasRegion);
}

TEST_F(ButtonWindow, NullCanvasCountsAsEmptyImage)
{
    engine_.ApplyColorKeyRegion(button_, applied_.get(), nullptr);
    EXPECT_EQ(RegionCallCounter::calls, 0);
}

TEST_F(ButtonWindow, RefusedRegionIsRetriedOnTheNextCall)
{
    SkinBitmap image;
    image.Adopt(MakeBitmap({".R", "RR"}));
    engine_.ApplyColorKeyRegion(nullptr, applied_.get(), image.Canvas());  // no window: refused
    EXPECT_EQ(RegionCallCounter::calls, 1);
    engine_.ApplyColorKeyRegion(button_, applied_.get(), image.Canvas());
    EXPECT_EQ(RegionCallCounter::calls, 2);
    EXPECT_FALSE(WindowRegionRects(button_).empty());
}

TEST(CutFrame, CopiesTheFrameAndDropsLeftoverColumns)
{
    // Four frames of two columns and three leftover columns.
    SkinBitmap strip;
    strip.Adopt(MakeBitmap({"RGBYCMWR.WW",
                            "GBYCMWRG.WW"}));
    ASSERT_EQ(strip.Width(), 11);
    classTZavureGraphicsEngine engine;
    SkinBitmap frame;
    const char* expected[4][2] = {{"RG", "GB"}, {"BY", "YC"}, {"CM", "MW"}, {"WR", "RG"}};
    for (int index = 0; index < 4; ++index) {
        engine.CutFrame(frame, strip, 4, index);
        ASSERT_EQ(frame.Width(), 2);
        ASSERT_EQ(frame.Height(), 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                EXPECT_EQ(GetPixel(frame.Canvas(), x, y), ColorOf(expected[index][y][x]))
                    << "frame " << index << " pixel " << x << "," << y;
    }
    engine.CutFrame(frame, strip, 4, 4);
    EXPECT_TRUE(frame.Empty());
    engine.CutFrame(frame, strip, 0, 0);
    EXPECT_TRUE(frame.Empty());
    SkinBitmap none;
    engine.CutFrame(frame, none, 4, 0);
    EXPECT_TRUE(frame.Empty());
}

TEST(SkinBitmap, ResizeKeepsWhatFitsAndBlackensTheRest)
{
    SkinBitmap bitmap;
    bitmap.Adopt(MakeBitmap({"RG", "BY"}));
    bitmap.SetSize(3, 1);
    ASSERT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(GetPixel(bitmap.Canvas(), 0, 0), ColorOf('R'));
    EXPECT_EQ(GetPixel(bitmap.Canvas(), 1, 0), ColorOf('G'));
    EXPECT_EQ(GetPixel(bitmap.Canvas(), 2, 0), ColorOf('.'));
    bitmap.SetSize(0, 5);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Canvas(), nullptr);
}

TEST(ColorKeyRegion, WindowMaskOutline)
{
    UniqueBitmap mask(test::LoadArt(L"mask.bmp"));
    if (!mask)
        GTEST_SKIP() << "no committed mask";
    const BitmapPixels image = ReadBitmapPixels(mask.get());
    ASSERT_EQ(image.width, 813);
    ASSERT_EQ(image.height, 553);
    const auto runs =
        ScanColorKeyRuns(image.pixels.data(), image.width, image.height, image.width, SwapRedBlue(RGB(245, 255, 255)));
    const auto bands = BandRuns(runs);
    EXPECT_EQ(CountBands(bands), 33);
    EXPECT_EQ(bands.size(), 55u);
    EXPECT_EQ(BoundingBox(runs), (PixelRect{0, 2, 813, 553}));
    long inside = 0;
    for (const RowRun& run : runs)
        inside += run.right - run.left;
    EXPECT_EQ(813L * 553L - inside, 17905L);

    UniqueRegion region = CreateColorKeyRegion(mask.get(), RGB(245, 255, 255));
    ASSERT_TRUE(region);
    EXPECT_EQ(test::RegionRects(region.get()), bands);
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.get(), &box), COMPLEXREGION);
    EXPECT_EQ((PixelRect{box.left, box.top, box.right, box.bottom}), (PixelRect{0, 2, 813, 553}));
}

TEST(ColorKeyRegion, ManyRunsGiveExactlyTheirBands)
{
    // A checkerboard with a full row every fifth row: thousands of
    // rectangles, more than one chunk of region data, and chunk boundaries
    // that fall inside a band.
    UniqueBitmap board(MakeBitmap(121, 60, [](int x, int y) {
        return (y % 5 == 4 || (x + y) % 2 == 1) ? ColorOf('R') : ColorOf('.');
    }));
    const auto bands = BandRuns(test::TopLeftKeyRuns(board.get()));
    ASSERT_GT(bands.size(), 2000u);
    const UniqueRegion region = CreateRegionFromBands(bands);
    ASSERT_TRUE(region);
    EXPECT_EQ(test::RegionRects(region.get()), bands);
}

TEST(ColorKeyRegion, UnreadableBitmapGivesNoRegion)
{
    EXPECT_FALSE(CreateColorKeyRegion(nullptr, 0));
    EXPECT_TRUE(ReadBitmapPixels(nullptr).pixels.empty());
    const UniqueRegion none = CreateRegionFromBands({});
    ASSERT_TRUE(none);
    EXPECT_TRUE(test::RegionRects(none.get()).empty());
}

// The shapes of the committed strips: which frames change the button's
// outline decides how often the skin reshapes it.
std::vector<RowRun> FrameRuns(const SkinBitmap& strip, int index)
{
    classTZavureGraphicsEngine engine;
    SkinBitmap frame;
    engine.CutFrame(frame, strip, 4, index);
    SurfacePixelReader reader;
    const std::uint32_t* pixels = reader.Read(frame.Canvas(), frame.Width(), frame.Height());
    if (pixels == nullptr)
        return {};
    return ScanTopLeftKeyRuns(pixels, frame.Width(), frame.Height(), reader.Stride());
}

TEST(CommittedStrips, ExitStripsChangeShapeBetweenNormalHoverAndPressed)
{
    for (const wchar_t* name : {L"cancel_en.bmp", L"cancel_cn.bmp", L"cancel_tw.bmp"}) {
        std::string narrow;
        for (const wchar_t* c = name; *c != 0; ++c)
            narrow.push_back(static_cast<char>(*c));
        SCOPED_TRACE(narrow);
        SkinBitmap strip;
        strip.Adopt(test::LoadArt(name));
        if (strip.Empty())
            GTEST_SKIP() << "no committed exit strips";
        EXPECT_EQ(strip.Width(), 412);
        EXPECT_EQ(strip.Height(), 34);
        const auto normal = FrameRuns(strip, 0), hover = FrameRuns(strip, 1), pressed = FrameRuns(strip, 2),
                   disabled = FrameRuns(strip, 3);
        EXPECT_FALSE(normal.empty());
        EXPECT_NE(normal, hover);
        EXPECT_NE(hover, pressed);
        EXPECT_NE(normal, pressed);
        EXPECT_EQ(disabled, normal);
    }
}

TEST(CommittedStrips, WebStripKeepsItsShapeWhenPushed)
{
    SkinBitmap strip;
    strip.Adopt(test::LoadArt(L"webicon.bmp"));
    if (strip.Empty())
        GTEST_SKIP() << "no committed web strip";
    EXPECT_EQ(strip.Width(), 937);
    EXPECT_EQ(strip.Height(), 22);
    EXPECT_FALSE(FrameRuns(strip, 1).empty());
    EXPECT_EQ(FrameRuns(strip, 1), FrameRuns(strip, 2));
}

}  // namespace
}  // namespace cpk::skin
