// Language-dependent values of the window: pictures, captions, the maker's
// web page, and the label-font shrink on high-resolution screens.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cpk {

// The maker's web host, the one place it is named.
inline constexpr std::u16string_view kMakerWebHost = u"www.vorla.example";

// "http://" + host + the language's path: the site's root for "ChineseT",
// "/cn/core3/core.asp" for "ChineseS", "/en/shooting.asp" for all others.
[[nodiscard]] std::u16string WebPageFor(std::u16string_view languageName);

struct LanguageArt {
    const wchar_t* titleBitmap;
    const wchar_t* logoBitmap;
    const wchar_t* exitBitmap;
    int logoLeft, logoWidth;
    int titleLeft, titleTop, titleWidth, titleHeight;
    std::u16string_view caption;
    std::u16string_view version;
};

// "ChineseT" the first row, "ChineseS" the second, every other name the third.
[[nodiscard]] const LanguageArt& LanguageArtFor(std::u16string_view languageName);

// Points a label's font loses at the screen's logical pixels per inch:
// 2/1 at 120, 4/2 at 144, 6/3 at 192 (Tag 0 / Tag not 0), else nothing.
[[nodiscard]] int FontShrinkPoints(int pixelsPerInch, int tag);

}  // namespace cpk
