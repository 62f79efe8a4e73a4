// The finished main window: its outline, controls, results grid and bar,
// and its commands (drag, web page, exit), on the real window in this
// process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "MainUnit.h"
#include "bridge.h"
#include "language_win32.h"
#include "win_test_support.h"
#include "window_commands.h"

namespace cpk {
namespace {

using namespace cpk::test;

class NoDevices final : public DeviceCommands {
public:
    void TestStart() override {}
    void TestStop() override {}
};

class Window : public testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TMainForm>();
        form->FDeviceCommands = &devices;
        form->FOpenUrl = [this](const std::wstring& url) { opened.push_back(url); };
        // Moves are recorded, not carried out: the system's move loop would
        // wait for a real mouse.
        TWndMethod inner = form->WindowProc;
        form->WindowProc = [this, inner](TMessage& m) {
            if (m.Msg == WM_SYSCOMMAND) {
                commands.push_back(m.WParam);
                return;
            }
            inner(m);
        };
        form->Show();
        Pump(50);
    }
    void TearDown() override
    {
        if (form->Handle())
            form->Close();
        form.reset();
        CloseDeviceLibrary();
        ClipCursor(nullptr);
    }

    void Click(UINT down, int x, int y)
    {
        SendMessageW(form->Handle(), down, 0, MAKELPARAM(x, y));
    }

    // The colour of every pixel of a child window as it is on the screen.
    std::vector<COLORREF> ScreenPixels(HWND child, const RECT& area)
    {
        UpdateWindow(child);
        Pump(30);
        std::vector<COLORREF> out;
        HDC dc = GetDC(child);
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                out.push_back(GetPixel(dc, x, y));
        ReleaseDC(child, dc);
        return out;
    }

    NoDevices devices;
    std::unique_ptr<TMainForm> form;
    std::vector<std::wstring> opened;
    std::vector<WPARAM> commands;
};

TEST_F(Window, OutlineIsTheMaskWithoutItsKeyColour)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(form->Handle(), region), COMPLEXREGION);
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    ASSERT_EQ(GetRegionData(region, size, data), size);
    EXPECT_EQ(data->rdh.nCount, 55u);
    const RECT& box = data->rdh.rcBound;
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 2);
    EXPECT_EQ(box.right, 813);
    EXPECT_EQ(box.bottom, 553);
    struct Point {
        int x, y;
        bool inside;
    } const points[] = {
        {0, 0, false},   {406, 1, false},  {0, 20, false},   {812, 20, false}, // above the tabs
        {406, 2, true},  {0, 37, true},    {812, 552, true}, {100, 300, true},
    };
    for (const Point& p : points)
        EXPECT_EQ(PtInRegion(region, p.x, p.y) != 0, p.inside) << p.x << "," << p.y;
    DeleteObject(region);
}

TEST_F(Window, ControlsStandInTheirPlacesAndTabOrder)
{
    auto place = [&](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT exit = place(form->btn_Cancel.Handle());
    EXPECT_EQ(exit.left, 712);
    EXPECT_EQ(exit.top, 519);
    EXPECT_EQ(exit.right - exit.left, 103);  // the skin sized it to one frame
    EXPECT_EQ(exit.bottom - exit.top, 34);
    const RECT web = place(form->btn_Web.Handle());
    EXPECT_EQ(web.right - web.left, 234);
    EXPECT_EQ(web.bottom - web.top, 22);
    const RECT grid = place(form->asg_SpeedAnalysis.Handle());
    EXPECT_EQ(grid.left, 553);
    EXPECT_EQ(grid.right - grid.left, 208);

    std::vector<HWND> order;
    for (HWND c = GetWindow(form->Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        order.push_back(c);
    const std::vector<HWND> expected{form->asg_SpeedAnalysis.Handle(), form->assb_SpeedAnalysis.Handle(),
                                     form->btn_Cancel.Handle(), form->btn_Web.Handle()};
    EXPECT_EQ(order, expected);

    const LanguageArt& art = LanguageArtFor(GetLanguageName());
    EXPECT_EQ(form->image_Logo.Left, art.logoLeft);
    EXPECT_EQ(form->image_Title.Width, art.titleWidth);
    EXPECT_NE(form->image_Logo.Bitmap(), nullptr);
    EXPECT_NE(form->image_Title.Bitmap(), nullptr);
}

TEST_F(Window, FontShrinkFollowsTheResolutionAndTheTag)
{
    // The window was made at Wine's 96 pixels per inch: nothing shrank.
    const int bump = form->le_Bump.Font.Size();
    const int winner = form->le_Winner.Font.Size();
    const int title = form->advle_Title.Caption.Font.Size();
    form->ShrinkLabelFonts(96);
    EXPECT_EQ(form->le_Bump.Font.Size(), bump);
    form->ShrinkLabelFonts(144);
    EXPECT_EQ(form->le_Bump.Font.Size(), bump - 4);      // Tag 0
    EXPECT_EQ(form->le_Winner.Font.Size(), winner - 2);  // Tag 1
    EXPECT_EQ(form->advle_Title.Caption.Font.Size(), title);  // not a plain label
}

TEST_F(Window, GridPaintsOutcomesInTheirColours)
{
    const TextFamily family = FamilyForLanguage(GetLanguageName());
    form->FResults.Reset();
    form->FResults.AppendResult({BumpOutcome::LeftFaster, 3.4});
    form->FResults.AppendResult({BumpOutcome::Failed, 0});
    ASSERT_EQ(form->FGrid.Cell(1, 1), OutcomeText(family, BumpOutcome::Failed));
    form->FResults.AppendResult({BumpOutcome::RightFaster, 1.0});
    form->asg_SpeedAnalysis.Invalidate();

    // Text may be smoothed, so glyph pixels are the text colour scaled by
    // coverage over the black cell: the brightest pixel of a cell keeps the
    // colour's hue. The grey of "A" and the grid's own light grey differ in
    // brightness only, so they are told apart by hue alone from the dark red
    // and the gold (the exact choice is held by the host tests).
    enum class Hue { None, Neutral, DarkRed, Gold };
    auto hueOf = [this](const RECT& area) {
        COLORREF best = 0;
        int bestSum = -1;
        for (COLORREF p : ScreenPixels(form->asg_SpeedAnalysis.Handle(), area)) {
            const int sum = GetRValue(p) + GetGValue(p) + GetBValue(p);
            if (sum > bestSum) {
                bestSum = sum;
                best = p;
            }
        }
        const int r = GetRValue(best), g = GetGValue(best), b = GetBValue(best);
        if (r + g + b < 90)
            return Hue::None;
        if (r > g + 60 && r > b + 60 && g < 60)
            return Hue::DarkRed;
        if (r > b + 60 && g > b + 60)
            return Hue::Gold;
        if (std::abs(r - g) < 24 && std::abs(g - b) < 24)
            return Hue::Neutral;
        return Hue::None;
    };
    // Inside the cells, clear of the grid lines at their right and bottom.
    EXPECT_EQ(hueOf({71, 0, 143, 21}), Hue::Neutral);    // "A", grey
    EXPECT_EQ(hueOf({71, 22, 143, 43}), Hue::DarkRed);   // failed
    EXPECT_EQ(hueOf({71, 44, 143, 65}), Hue::Gold);      // "B"
    for (int row = 0; row < 3; ++row) {
        const int top = row * 22;
        EXPECT_EQ(hueOf({0, top, 70, top + 21}), Hue::Neutral) << "number of row " << row;
    }
    EXPECT_EQ(hueOf({144, 44, 208, 65}), Hue::Neutral);  // the margin of a gold row keeps the grid's colour
}

TEST_F(Window, WheelAndBarMoveTheTable)
{
    form->FResults.Reset();
    for (int i = 0; i < 12; ++i)
        form->FResults.AppendResult({BumpOutcome::RightFaster, 1.0});
    EXPECT_EQ(form->FScroll.Position(), 11);
    EXPECT_EQ(form->asg_SpeedAnalysis.Row(), 11);
    EXPECT_EQ(form->asg_SpeedAnalysis.TopRow(), 5);  // the newest row in view

    // Wheel up: the bar shows the row current before the grid's own step.
    SendMessageW(form->asg_SpeedAnalysis.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(form->FScroll.Position(), 11);
    EXPECT_EQ(form->asg_SpeedAnalysis.Row(), 10);
    SendMessageW(form->asg_SpeedAnalysis.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(form->FScroll.Position(), 10);
    EXPECT_EQ(form->asg_SpeedAnalysis.Row(), 11);

    // The bar moves the grid; a click on the track above the thumb pages up.
    form->FScroll.SetPosition(2);
    EXPECT_EQ(form->asg_SpeedAnalysis.Row(), 2);
    EXPECT_EQ(form->asg_SpeedAnalysis.TopRow(), 2);
    form->FScroll.SetPosition(9);
    const RECT thumb = form->assb_SpeedAnalysis.ThumbRect();
    ASSERT_GT(thumb.top, 0);
    SendMessageW(form->assb_SpeedAnalysis.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, thumb.top / 2));
    SendMessageW(form->assb_SpeedAnalysis.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, thumb.top / 2));
    EXPECT_EQ(form->FScroll.Position(), 6);
    EXPECT_EQ(form->asg_SpeedAnalysis.Row(), 6);
}

TEST_F(Window, DraggingByBackgroundAndPicturesWithTheLeftButtonOnly)
{
    Click(WM_LBUTTONDOWN, 100, 300);  // bare background
    Click(WM_RBUTTONDOWN, 100, 300);
    Click(WM_LBUTTONDOWN, form->image_Logo.Left + 5, 10);
    Click(WM_RBUTTONDOWN, form->image_Logo.Left + 5, 10);
    Click(WM_LBUTTONDOWN, form->image_Title.Left + 5, form->image_Title.Top + 5);
    Click(WM_LBUTTONDOWN, form->lb_F1.Left + 2, form->lb_F1.Top + 2);  // a label: nothing
    EXPECT_EQ(commands, (std::vector<WPARAM>{0xF012, 0xF012, 0xF012}));
}

TEST_F(Window, WebButtonOpensTheLanguagesPage)
{
    SendMessageW(form->btn_Web.Handle(), BM_CLICK, 0, 0);
    const std::u16string page = WebPageFor(GetLanguageName());
    EXPECT_EQ(opened, (std::vector<std::wstring>{std::wstring(page.begin(), page.end())}));
    EXPECT_NE(form->Handle(), nullptr);
}

TEST_F(Window, ExitButtonRunsTheExitSequence)
{
    ASSERT_TRUE(FileExists(form->FDeviceLibraryPath));
    SendMessageW(form->btn_Cancel.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_FALSE(FileExists(DocumentsFile(L"resource.dll")));
    EXPECT_FALSE(FileExists(DocumentsFile(L"Text.txt")));
    EXPECT_FALSE(form->FCancelSkin);
    EXPECT_FALSE(form->FWebSkin);
}

}  // namespace
}  // namespace cpk
