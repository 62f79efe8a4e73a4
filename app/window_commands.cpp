#include "window_commands.h"

namespace cpk {

std::u16string WebPageFor(std::u16string_view languageName)
{
    std::u16string url = u"http://";
    url += kMakerWebHost;
    if (languageName == u"ChineseT")
        return url;
    if (languageName == u"ChineseS")
        return url + u"/cn/core3/core.asp";
    return url + u"/en/shooting.asp";
}

const LanguageArt& LanguageArtFor(std::u16string_view languageName)
{
    static const LanguageArt rows[] = {
        {L"Bitmap_Title_TW", L"Bitmap_Logo_CN", L"Bitmap_Cancel_TW", 284, 239, 216, 109, 392, 123,
         u"\u6E2C\u8A66\u6ED1\u9F20\u64CA\u767C\u901F\u5EA6", u"\u7248\u672C:V1.6"},
        {L"Bitmap_Title_CN", L"Bitmap_Logo_CN", L"Bitmap_Cancel_CN", 284, 239, 219, 99, 379, 123,
         u"\u6D4B\u8BD5\u9F20\u6807\u51FB\u53D1\u901F\u5EA6", u"\u7248\u672C:V1.6"},
        {L"Bitmap_Title_EN", L"Bitmap_Logo_EN", L"Bitmap_Cancel_EN", 288, 236, 190, 111, 442, 121,
         u"vorla Mouse Click PK Tester", u"Version:V1.6"},
    };
    if (languageName == u"ChineseT")
        return rows[0];
    if (languageName == u"ChineseS")
        return rows[1];
    return rows[2];
}

int FontShrinkPoints(int pixelsPerInch, int tag)
{
    int full = 0;
    switch (pixelsPerInch) {
    case 120: full = 2; break;
    case 144: full = 4; break;
    case 192: full = 6; break;
    default: return 0;
    }
    return tag == 0 ? full : full / 2;
}

}  // namespace cpk
