#include <gtest/gtest.h>

#include <string>

#include "results_table.h"
#include "window_commands.h"

namespace cpk {
namespace {

TEST(WebPageFor, OnePageForEachChineseLanguageAndOneForTheRest)
{
    const std::u16string root = u"http://" + std::u16string(kMakerWebHost);
    EXPECT_EQ(WebPageFor(u"ChineseT"), root);
    EXPECT_EQ(WebPageFor(u"ChineseS"), root + u"/cn/core3/core.asp");
    for (std::u16string_view other : {u"English", u"German", u"Japanese", u"chineset", u""})
        EXPECT_EQ(WebPageFor(other), root + u"/en/shooting.asp");
}

TEST(LanguageArtFor, SimplifiedChineseSharesTheLogoButNotTitleOrExitStrip)
{
    const LanguageArt& tw = LanguageArtFor(u"ChineseT");
    const LanguageArt& cn = LanguageArtFor(u"ChineseS");
    const LanguageArt& en = LanguageArtFor(u"Korean");
    EXPECT_STREQ(cn.logoBitmap, tw.logoBitmap);
    EXPECT_STREQ(cn.logoBitmap, L"Bitmap_Logo_CN");
    EXPECT_STRNE(cn.titleBitmap, tw.titleBitmap);
    EXPECT_STREQ(cn.exitBitmap, L"Bitmap_Cancel_CN");
    EXPECT_STREQ(en.titleBitmap, L"Bitmap_Title_EN");
    EXPECT_EQ(en.logoLeft, 288);
    EXPECT_EQ(en.logoWidth, 236);
    EXPECT_EQ(cn.titleWidth, 379);  // the 381-pixel picture is cut to its frame
    EXPECT_EQ(en.version, u"Version:V1.6");
    EXPECT_EQ(tw.version, u"\u7248\u672C:V1.6");  // plain ASCII colon
}

TEST(FontShrinkPoints, ByResolutionAndTag)
{
    struct Case {
        int ppi, tag, points;
    } const cases[] = {
        {96, 0, 0}, {96, 1, 0}, {120, 0, 2}, {120, 1, 1}, {144, 0, 4}, {144, 1, 2},
        {192, 0, 6}, {192, 5, 3}, {168, 0, 0}, {72, 1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FontShrinkPoints(c.ppi, c.tag), c.points) << c.ppi << " ppi, tag " << c.tag;
}

TEST(CellTextColor, ExactOutcomeTextsOfTheFamilyOnly)
{
    const std::uint32_t grid = 13290185;
    struct Case {
        TextFamily family;
        std::u16string text;
        std::uint32_t color;
    } const cases[] = {
        {TextFamily::Latin, u"A", kLeftFasterColor},
        {TextFamily::Latin, u"B", kRightFasterColor},
        {TextFamily::Latin, u"Failed", kFailedColor},
        {TextFamily::Latin, u"a", grid},
        {TextFamily::Latin, u"A ", grid},
        {TextFamily::Latin, u"3.4 ms", grid},
        {TextFamily::Latin, u"\u78B0\u649E\u5931\u6557", grid},  // other family's word
        {TextFamily::Chinese, u"\u78B0\u649E\u5931\u6557", kFailedColor},
        {TextFamily::Chinese, u"A", grid},
        {TextFamily::Latin, u"", grid},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellTextColor(c.family, c.text, grid), c.color);
}

}  // namespace
}  // namespace cpk
