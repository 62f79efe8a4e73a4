// The sprite-strip skin on a real push button, driven by injected input:
// the frame shown for each state, the shape of the button, the hook's life.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>

#include "color_key_runs.h"
#include "skin_test_support.h"
#include "unique_handle.h"
#include "win_test_support.h"
#include "zavure_modelsbar.h"

namespace cpk::skin {
namespace {

using test::ColorOf;
using test::MakeBitmap;
using test::RegionCallCounter;
using cpk::test::Pump;
using cpk::test::PumpUntil;

constexpr int kFrameWidth = 40;
constexpr int kFrameHeight = 20;

// A strip of four frames, frame k filled with faceColors[k]; every frame has
// a black slanted top-left corner, one black speck at (30, 10) and, in the
// hover and pressed frames only, a black notch at the bottom right, so the
// shape changes between normal and hover but not between hover and pressed.
constexpr char kFaces[4] = {'R', 'G', 'B', 'Y'};

HBITMAP MakeStrip(const char* faces = kFaces, int frameWidth = kFrameWidth, int frameHeight = kFrameHeight)
{
    return MakeBitmap(frameWidth * 4 + 1, frameHeight, [=](int x, int y) {
        const int frame = x / frameWidth;
        if (frame >= 4)
            return ColorOf('M');  // leftover column, never shown
        const int fx = x % frameWidth;
        const bool corner = fx + y < 4;
        const bool speck = fx == 30 && y == 10;
        const bool notch = (frame == 1 || frame == 2) && fx >= frameWidth - 3 && y >= frameHeight - 3;
        if (corner || speck || notch)
            return ColorOf('.');
        return ColorOf(faces[frame]);
    });
}

std::function<void(HWND, WPARAM)> g_onCommand;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && g_onCommand)
        g_onCommand(reinterpret_cast<HWND>(lParam), wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

class SkinnedButton : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &HostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"cpk.skin.test.host";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&wc);
        // One host for the whole suite: a top-level window takes a while to
        // go away under some window systems, buttons do not.
        host_ = new UniqueWindow(CreateWindowExW(0, L"cpk.skin.test.host", L"skin test", WS_POPUP | WS_VISIBLE, 100,
                                                 100, 300, 160, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    }
    static void TearDownTestSuite()
    {
        delete host_;
        host_ = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(*host_);
        button_ = CreateWindowExW(0, L"BUTTON", L"Exit", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 50, 40,
                                  103, 38, host(), nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(button_, nullptr);
        classProc_ = GetWindowLongPtrW(button_, GWLP_WNDPROC);
        SetForegroundWindow(host());
        ParkPointer();
        Pump(50);
        g_onCommand = nullptr;
    }

    void TearDown() override
    {
        g_onCommand = nullptr;
        skin_.reset();
        if (button_ != nullptr)
            DestroyWindow(button_);
        ParkPointer();
        Pump(20);
    }

    static HWND host() { return host_->get(); }

    void Skin(HBITMAP strip = MakeStrip())
    {
        skin_ = std::make_unique<classTZavureModelsbar>(button_);
        skin_->EngineForTesting().SetWindowRgnCall(&RegionCallCounter::Call);
        RegionCallCounter::calls = 0;
        skin_->SetStripBitmap(strip);
        UpdateWindow(host());
        Pump(30);
    }

    POINT ScreenPoint(int x, int y) const
    {
        POINT p{x, y};
        ClientToScreen(button_, &p);
        return p;
    }
    void ParkPointer() const
    {
        test::MoveMouseTo(POINT{5, 5});
    }

    // The colour the button's window shows at (x, y) of its client area.
    COLORREF Shown(int x = 10, int y = 10) const
    {
        WindowDc dc(button_);
        return GetPixel(dc.get(), x, y);
    }
    // How many of the button's pixels show colour.
    int CountShown(COLORREF colour) const
    {
        RECT r{};
        GetClientRect(button_, &r);
        WindowDc dc(button_);
        int count = 0;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x)
                count += GetPixel(dc.get(), x, y) == colour ? 1 : 0;
        return count;
    }
    // The button's standard look: most of it is the system's face colour.
    bool ShowsStandardFace() const
    {
        return PumpUntil([&] { return CountShown(GetSysColor(COLOR_BTNFACE)) > kFrameWidth * kFrameHeight / 2; });
    }
    bool Shows(char face) const
    {
        return PumpUntil([&] { return Shown() == ColorOf(face); }, 3000);
    }
    bool FrameIs(int frame) const
    {
        return PumpUntil([&] { return skin_->CurrentFrame() == frame; }, 3000);
    }

    static UniqueWindow* host_;
    HWND button_ = nullptr;
    LONG_PTR classProc_ = 0;
    std::unique_ptr<classTZavureModelsbar> skin_;
};

UniqueWindow* SkinnedButton::host_ = nullptr;

TEST_F(SkinnedButton, ConstructionLeavesTheButtonAlone)
{
    classTZavureModelsbar skin(button_);
    EXPECT_EQ(GetWindowLongPtrW(button_, GWLP_WNDPROC), classProc_);
    RECT r;
    GetWindowRect(button_, &r);
    EXPECT_EQ(r.right - r.left, 103);
    EXPECT_FALSE(skin.IsHooked());
}

TEST_F(SkinnedButton, StripSizesAndHooksTheButton)
{
    Skin();
    RECT r;
    GetWindowRect(button_, &r);
    EXPECT_EQ(r.right - r.left, kFrameWidth) << "161 / 4, truncated";
    EXPECT_EQ(r.bottom - r.top, kFrameHeight);
    EXPECT_NE(GetWindowLongPtrW(button_, GWLP_WNDPROC), classProc_);
    EXPECT_TRUE(skin_->IsHooked());
    EXPECT_TRUE(Shows('R'));
    EXPECT_EQ(Shown(kFrameWidth - 1, 5), ColorOf('R')) << "the leftover column is never shown";
}

TEST_F(SkinnedButton, RegionIsTheFramesNonBlackPixels)
{
    Skin();
    ASSERT_TRUE(Shows('R'));
    UniqueBitmap normal(MakeBitmap(kFrameWidth, kFrameHeight, [](int x, int y) {
        return (x + y < 4 || (x == 30 && y == 10)) ? ColorOf('.') : ColorOf('R');
    }));
    EXPECT_EQ(test::WindowRegionRects(button_), BandRuns(test::TopLeftKeyRuns(normal.get())));

    // The pointer over a black pixel is over the host, not the button.
    EXPECT_EQ(WindowFromPoint(ScreenPoint(0, 0)), host());
    EXPECT_EQ(WindowFromPoint(ScreenPoint(30, 10)), host());
    EXPECT_EQ(WindowFromPoint(ScreenPoint(31, 10)), button_);
    EXPECT_EQ(WindowFromPoint(ScreenPoint(5, 5)), button_);
}

TEST_F(SkinnedButton, PointerInAndOut)
{
    Skin();
    ASSERT_TRUE(Shows('R'));
    test::MoveMouseTo(ScreenPoint(10, 10));
    EXPECT_TRUE(Shows('G'));
    EXPECT_TRUE(skin_->IsHover());
    EXPECT_EQ(RegionCallCounter::calls, 2) << "normal shape, then the hover shape";

    // Further moves inside redraw but never reshape.
    for (int x = 11; x < 20; ++x) {
        test::MoveMouseTo(ScreenPoint(x, 10));
        Pump(10);
    }
    EXPECT_EQ(RegionCallCounter::calls, 2);

    ParkPointer();
    EXPECT_TRUE(Shows('R')) << "WM_MOUSELEAVE brings the normal frame back";
    EXPECT_FALSE(skin_->IsHover());
    EXPECT_EQ(RegionCallCounter::calls, 3);
}

TEST_F(SkinnedButton, LeftPressAndRelease)
{
    int clicks = 0;
    g_onCommand = [&](HWND from, WPARAM wParam) {
        if (from == button_ && HIWORD(wParam) == BN_CLICKED)
            ++clicks;
    };
    Skin();
    test::MoveMouseTo(ScreenPoint(10, 10));
    ASSERT_TRUE(Shows('G'));
    test::MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(Shows('B'));
    EXPECT_TRUE(skin_->IsPressed());
    test::MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(Shows('G')) << "released over the button: hover";
    EXPECT_FALSE(skin_->IsPressed());
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; })) << "the button still clicks";
    EXPECT_EQ(RegionCallCounter::calls, 2) << "hover and pressed share their shape";
}

TEST_F(SkinnedButton, SpaceBarWhileFocused)
{
    Skin();
    SetFocus(button_);
    ASSERT_TRUE(Shows('R'));
    test::Key(VK_SPACE, true);
    EXPECT_TRUE(Shows('B'));
    Pump(100);
    EXPECT_EQ(Shown(), ColorOf('B')) << "pressed while held";
    test::Key(VK_SPACE, false);
    EXPECT_TRUE(Shows('R'));
}

TEST_F(SkinnedButton, DisabledShowsFrameThreeWhateverTheState)
{
    Skin();
    test::MoveMouseTo(ScreenPoint(10, 10));
    ASSERT_TRUE(Shows('G'));
    EnableWindow(button_, FALSE);
    EXPECT_TRUE(Shows('Y'));
    EXPECT_TRUE(skin_->IsHover()) << "the flags keep following";
    SendMessageW(button_, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(skin_->IsPressed());
    EXPECT_TRUE(Shows('Y'));
    InvalidateRect(button_, nullptr, TRUE);
    UpdateWindow(button_);
    EXPECT_TRUE(Shows('Y'));
    SendMessageW(button_, BM_SETSTATE, FALSE, 0);
    EnableWindow(button_, TRUE);
    EXPECT_TRUE(Shows('G'));
}

TEST_F(SkinnedButton, SecondStripResizesWithoutHookingTwice)
{
    Skin();
    const LONG_PTR hooked = GetWindowLongPtrW(button_, GWLP_WNDPROC);
    const char other[4] = {'C', 'M', 'W', 'G'};
    skin_->SetStripBitmap(MakeStrip(other, 50, 24));
    RECT r;
    GetWindowRect(button_, &r);
    EXPECT_EQ(r.right - r.left, 50);
    EXPECT_EQ(r.bottom - r.top, 24);
    EXPECT_EQ(GetWindowLongPtrW(button_, GWLP_WNDPROC), hooked);
    EXPECT_TRUE(Shows('C'));
    // Hooked once: one restore brings back the class's own handler.
    skin_.reset();
    EXPECT_EQ(GetWindowLongPtrW(button_, GWLP_WNDPROC), classProc_);
}

TEST_F(SkinnedButton, NullStripOnFirstCallHidesTheButton)
{
    Skin(nullptr);
    RECT r;
    GetWindowRect(button_, &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    EXPECT_TRUE(skin_->IsHooked());
    InvalidateRect(button_, nullptr, TRUE);
    UpdateWindow(button_);  // a redraw with nothing to draw
    EXPECT_EQ(RegionCallCounter::calls, 0);
}

TEST_F(SkinnedButton, DestroyedSkinGivesTheButtonItsOwnLookBack)
{
    Skin();
    ASSERT_TRUE(Shows('R'));
    skin_.reset();
    EXPECT_EQ(GetWindowLongPtrW(button_, GWLP_WNDPROC), classProc_);
    InvalidateRect(button_, nullptr, TRUE);
    UpdateWindow(button_);
    EXPECT_TRUE(ShowsStandardFace());
    EXPECT_EQ(CountShown(ColorOf('R')), 0);
    // Messages reach the class directly: hovering draws no skin frame.
    test::MoveMouseTo(ScreenPoint(10, 10));
    Pump(100);
    EXPECT_EQ(CountShown(ColorOf('G')), 0);
    EXPECT_TRUE(ShowsStandardFace());
}

TEST_F(SkinnedButton, SkinDestroyedByItsOwnClick)
{
    // The exit button's click closes the tool, which destroys the skins
    // while the button is still inside its WM_LBUTTONUP.
    Skin();
    g_onCommand = [&](HWND from, WPARAM wParam) {
        if (from == button_ && HIWORD(wParam) == BN_CLICKED)
            skin_.reset();
    };
    test::MoveMouseTo(ScreenPoint(10, 10));
    ASSERT_TRUE(Shows('G'));
    test::MouseButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(Shows('B'));
    test::MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return skin_ == nullptr; }));
    EXPECT_EQ(GetWindowLongPtrW(button_, GWLP_WNDPROC), classProc_);
    Pump(50);  // the button goes on working
    SendMessageW(button_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
}

TEST_F(SkinnedButton, ButtonDestroyedBeforeItsSkin)
{
    Skin();
    DestroyWindow(button_);
    EXPECT_FALSE(skin_->IsHooked());
    skin_.reset();  // must not touch the window that is gone
    button_ = nullptr;
}

// Another subclass put on the button after the skin.
WNDPROC g_below = nullptr;
int g_seen = 0;
LRESULT CALLBACK OnTopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER + 7)
        ++g_seen;
    return CallWindowProcW(g_below, window, message, wParam, lParam);
}

TEST_F(SkinnedButton, SomebodyElsesHookOnTopSurvivesTheSkin)
{
    Skin();
    g_seen = 0;
    g_below = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button_, GWLP_WNDPROC));
    const WNDPROC onTop = &OnTopProc;
    SetWindowLongPtrW(button_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(onTop));
    skin_.reset();
    EXPECT_EQ(GetWindowLongPtrW(button_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(onTop));
    SendMessageW(button_, WM_USER + 7, 0, 0);
    EXPECT_EQ(g_seen, 1);
    // The button is no longer skinned: its standard face comes back.
    InvalidateRect(button_, nullptr, TRUE);
    UpdateWindow(button_);
    EXPECT_TRUE(ShowsStandardFace());
    DestroyWindow(button_);
    button_ = nullptr;
}

}  // namespace
}  // namespace cpk::skin
