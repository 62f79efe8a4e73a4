// The main window laid out in this process under the system language Wine
// takes from LC_ALL. Wine fixes a process's locale when the process starts,
// so layout_locale_run.sh starts this binary once per locale and names the
// language it expects in CPK_EXPECTED_LANGUAGE.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>

#include "MainUnit.h"
#include "application.h"
#include "language_win32.h"
#include "win_test_support.h"

namespace cpk {
namespace {

using namespace cpk::test;

struct Expected {
    std::u16string_view language;
    std::wstring_view bumpCaption, titleCaption, gradientText, f1Caption;
    std::array<int, 4> bump, title, f1;  // left, top, width, height
    int bumpSize, titleSize, f1Size;
};

const Expected kEnglish = {u"English", L"Bump!", L"No-lag Ostrell Technology", L"", L"F1: start",
                           {130, 443, 55, 23}, {313, 238, 192, 18}, {290, 333, 63, 16}, 14, 11, 11};
const Expected kChineseT = {u"ChineseT", L"\u78B0", L"[Ostrell]\u6280\u8853\uFF0C\u5FC5\u8D0F\u5148\u6A5F\uFF01",
                            L"Ostrell\u6ED1\u9F20\u64CA\u767C\u901F\u5EA6PK\u8EDF\u9AD4",
                            L"F1\u9375\uFF1A\u958B\u59CB\u6E2C\u8A66", {146, 443, 23, 23}, {329, 242, 160, 13},
                            {289, 340, 119, 16}, 14, 8, 10};
const Expected kChineseS = {u"ChineseS", L"\u78B0", L"[Ostrell]\u6280\u672F\uFF0C\u5FC5\u8D62\u5148\u673A\uFF01",
                            L"Ostrell\u6ED1\u9F20\u51FB\u53D1\u901F\u5EA6PK\u8F6F\u4F53",
                            L"F1\u952E\uFF1A\u5F00\u59CB\u6D4B\u8BD5", {146, 443, 23, 23}, {329, 242, 160, 13},
                            {289, 340, 119, 16}, 14, 8, 10};

std::array<int, 4> BoundsOf(const TGraphicControl& c) { return {c.Left, c.Top, c.Width, c.Height}; }

std::wstring g_exceptionText;
void RecordException(const std::wstring& message) { g_exceptionText = message; }

class LocaleLayout : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileW(DocumentsFile(L"resource.dll").c_str());
        DeleteFileW(DocumentsFile(L"Text.txt").c_str());
        g_exceptionText.clear();
        Application.ExceptionHook = &RecordException;
    }
    void TearDown() override
    {
        if (form && form->Handle())
            form->Close();
        form.reset();
        Application.ExceptionHook = nullptr;
        DeleteFileW(DocumentsFile(L"resource.dll").c_str());
        DeleteFileW(DocumentsFile(L"Text.txt").c_str());
    }
    void Create()
    {
        form = std::make_unique<TMainForm>();
        form->Show();
        Pump(50);
    }
    std::unique_ptr<TMainForm> form;
};

TEST_F(LocaleLayout, LabelsComeFromTheSystemLanguagesSection)
{
    const char* expectedName = std::getenv("CPK_EXPECTED_LANGUAGE");
    if (!expectedName)
        GTEST_SKIP() << "started without CPK_EXPECTED_LANGUAGE (see layout_locale_run.sh)";
    const std::string name = expectedName;
    ASSERT_EQ(std::u16string(GetLanguageName()), std::u16string(name.begin(), name.end()))
        << "Wine did not take the system language from LC_ALL";

    const Expected& e = name == "ChineseT" ? kChineseT : name == "ChineseS" ? kChineseS : kEnglish;
    Create();
    EXPECT_EQ(g_exceptionText, L"");
    EXPECT_EQ(form->le_Bump.Caption, e.bumpCaption);
    EXPECT_EQ(BoundsOf(form->le_Bump), e.bump);
    EXPECT_EQ(form->le_Bump.Font.Size(), e.bumpSize);
    EXPECT_EQ(form->le_SofewareCommendTitle.Caption, e.titleCaption);
    EXPECT_EQ(BoundsOf(form->le_SofewareCommendTitle), e.title);
    EXPECT_EQ(form->le_SofewareCommendTitle.Font.Size(), e.titleSize);
    EXPECT_EQ(form->lb_F1.Caption, e.f1Caption);
    EXPECT_EQ(BoundsOf(form->lb_F1), e.f1);
    EXPECT_EQ(form->lb_F1.Font.Size(), e.f1Size);
    EXPECT_EQ(form->advle_Title.Caption.Text, e.gradientText);
    EXPECT_EQ(BoundsOf(form->advle_Title), (std::array{33, 326, 203, 25}));
}

// A Text.txt whose lb_F1 font size reads "12pt": the exception box with the
// conversion message, the window still opens, labels 1 to 8 are laid out and
// lb_F1 keeps its design place.
TEST_F(LocaleLayout, MalformedFontSizeShowsTheErrorAndTheWindowOpens)
{
    HRSRC info = FindResourceW(nullptr, L"resource", L"TXT");
    ASSERT_NE(info, nullptr);
    const auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, info)));
    std::string bytes(data, SizeofResource(nullptr, info));
    std::u16string text(reinterpret_cast<const char16_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    // Every filled section, so the case holds whatever language the system has.
    for (std::u16string_view size : {u"lb_F1->Font->Size=11", u"lb_F1->Font->Size=10"}) {
        for (std::size_t at = text.find(size); at != std::u16string::npos; at = text.find(size, at))
            text.replace(at, size.size(), u"lb_F1->Font->Size=12pt");
    }
    std::string edited("\xFF\xFE");
    edited.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    WriteFileBytes(DocumentsFile(L"Text.txt"), edited);

    Create();
    // The box shows the conversion message as it stands.
    EXPECT_EQ(g_exceptionText, L"''12pt'' is not a valid integer value");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_NE(form->le_Bump.Caption, L"");  // label 8, before the error
    EXPECT_EQ(form->lb_F1.Caption, L"");     // design: empty caption at 290, 333
    EXPECT_EQ(BoundsOf(form->lb_F1), (std::array{290, 333, 63, 16}));
    EXPECT_EQ(form->le_FasterBy.Caption, L"");
}

}  // namespace
}  // namespace cpk
