// The layout pass on the control layer's labels, through the profile-string
// service, as start-up runs it.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <climits>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <string>

#include "exception.h"
#include "layout_win32.h"

namespace cpk {
namespace {

// A stand-in with the shape the gradient label adapter expects.
struct FakeGradientLabel {
    struct {
        TFont Font;
        TColor ColorStart = 0x80000008;
        TColor ColorEnd = 0x80000008;
        std::wstring Text;
    } Caption;
    int Left = 33, Top = 326, Width = 203, Height = 25;
    void SetBounds(int l, int t, int w, int h) { Left = l, Top = t, Width = w, Height = h; }
};

struct Labels {
    TLabel title{nullptr}, c1{nullptr}, c2{nullptr}, c3{nullptr}, a{nullptr}, b{nullptr}, bump{nullptr},
        f1{nullptr}, f2{nullptr}, esc{nullptr}, use{nullptr}, times{nullptr}, winner{nullptr}, faster{nullptr};
    FakeGradientLabel gradient;
    GradientLabelLayout<FakeGradientLabel> gradientLayout{gradient};

    Labels()
    {
        // Design settings of lb_F1 and after, to see which ones the pass left.
        for (TLabel* l : {&f1, &f2, &esc, &use, &times, &winner, &faster}) {
            l->SetBounds(1, 2, 3, 4);
            l->Caption = L"design";
        }
    }
    LayoutTargets Targets()
    {
        LayoutTargets t;
        t.le_SofewareCommendTitle = &title, t.le_SofewareCommend1 = &c1, t.le_SofewareCommend2 = &c2;
        t.le_SofewareCommend3 = &c3, t.advle_Title = &gradientLayout, t.le_AMouse = &a, t.le_BMouse = &b;
        t.le_Bump = &bump, t.lb_F1 = &f1, t.lb_F2 = &f2, t.lb_ESC = &esc, t.le_UseCommend = &use;
        t.le_CollisionTimes = &times, t.le_Winner = &winner, t.le_FasterBy = &faster;
        return t;
    }
};

std::wstring DefaultFile()
{
    // The build's path is a host path; Wine reaches it through drive Z:.
    std::wstring path = L"Z:";
    for (const char* p = CPK_LAYOUT_TEXT_FILE; *p; ++p)
        path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

TEST(LoadLanguageLayout, DefaultFileOnTheControlLayersLabels)
{
    {
        Labels l;
        LoadLanguageLayout(DefaultFile(), u"ChineseT", l.Targets());
        EXPECT_EQ(l.bump.Caption, L"\u78B0");
        EXPECT_EQ((std::array{l.bump.Left, l.bump.Top, l.bump.Width, l.bump.Height}), (std::array{146, 443, 23, 23}));
        EXPECT_EQ(l.bump.Font.Size(), 14);
        EXPECT_EQ(l.bump.Font.Color, 61951u);
        EXPECT_EQ(l.gradient.Caption.Text, L"Ostrell\u6ED1\u9F20\u64CA\u767C\u901F\u5EA6PK\u8EDF\u9AD4");
        EXPECT_EQ(l.gradient.Caption.Font.Size(), 10);
        EXPECT_EQ(l.gradient.Caption.ColorStart, 16448250u);
        EXPECT_EQ(l.gradient.Caption.ColorEnd, 10329501u);
    }
    {
        Labels l;
        LoadLanguageLayout(DefaultFile(), u"Japanese", l.Targets());
        EXPECT_EQ(l.gradient.Caption.Text, L"");  // the one blank of [English]
        EXPECT_EQ(l.title.Caption, L"No-lag Ostrell Technology");
        EXPECT_EQ((std::array{l.title.Left, l.title.Top, l.title.Width, l.title.Height}),
                  (std::array{313, 238, 192, 18}));
        EXPECT_EQ(l.title.Font.Size(), 11);
        EXPECT_EQ(l.c2.Caption, L"and the new advanced Vorla series, designed with \"Ostrell\" technology,");
        EXPECT_EQ(l.gradient.Width, 203);
    }
}

std::wstring WriteTemp(const std::u16string& text)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + L"cpk_layout_pass.txt";
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write("\xFF\xFE", 2);
    out.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
    return path;
}

TEST(LoadLanguageLayout, MalformedFontSizeRaisesTheFrameworkError)
{
    std::ifstream in(std::filesystem::path(DefaultFile()), std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::u16string text(reinterpret_cast<const char16_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    const std::u16string from = u"lb_F1->Font->Size=11", to = u"lb_F1->Font->Size=12pt";
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::u16string::npos);
    text.replace(at, from.size(), to);
    const std::wstring path = WriteTemp(text);

    Labels l;
    try {
        LoadLanguageLayout(path, u"English", l.Targets());
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"''12pt'' is not a valid integer value");
    }
    EXPECT_EQ(l.bump.Caption, L"Bump!");  // label 8, before the error
    EXPECT_EQ(l.f1.Caption, L"design");
    EXPECT_EQ(l.f1.Left, 1);
    EXPECT_EQ(l.faster.Caption, L"design");
    DeleteFileW(path.c_str());
}

// Sizes of 0 or less and extreme fonts are passed on; painting them must not
// fault.
TEST(LoadLanguageLayout, DegenerateLabelsPaint)
{
    const std::wstring path = WriteTemp(
        u"[English]\r\nle_SofewareCommendTitle->Font->Size=-2147483648\r\n"
        u"le_SofewareCommendTitle->Position=rectP,10,20,0,0\r\n"
        u"le_SofewareCommend1->Font->Size=2147483647\r\nle_SofewareCommend1->Position=rectWH,5,5,-100,-100\r\n");
    Labels l;
    LoadLanguageLayout(path, u"English", l.Targets());
    EXPECT_EQ(l.title.Width, -9);
    EXPECT_EQ(l.c1.Height, -100);
    EXPECT_EQ(l.c2.Caption, L"@@");
    EXPECT_EQ(l.c2.Width, 0);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (TLabel* label : {&l.title, &l.c1, &l.c2, &l.use})
        label->Paint(dc);
    l.use.WordWrap = true;
    l.use.Paint(dc);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace cpk
