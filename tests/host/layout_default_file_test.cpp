// The default layout text exactly as the build embeds it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "layout_reader.h"
#include "layout_test_util.h"

#ifndef CPK_LAYOUT_TEXT_FILE
#error "CPK_LAYOUT_TEXT_FILE names the built default layout text"
#endif

namespace cpk {
namespace {

using test::Utf8;

std::vector<unsigned char> BuiltBytes()
{
    std::ifstream in(CPK_LAYOUT_TEXT_FILE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::u16string> SplitCrLf(std::u16string_view text)
{
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(u"\r\n", start);
        lines.emplace_back(text.substr(start, end == std::u16string_view::npos ? end : end - start));
        if (end == std::u16string_view::npos)
            return lines;
        start = end + 2;
    }
}

// Keys of a filled section in file order: one block per label.
std::vector<std::u16string> SectionKeys()
{
    const char16_t* const plainSuffixes[] = {u"->Font->Size", u"->Font->Color", u"->Caption", u"->Position"};
    const char16_t* const titleSuffixes[] = {u"->Caption->Font->Size", u"->Caption->ColorStart",
                                             u"->Caption->ColorEnd", u"->Caption->Text", u"->Position"};
    const char16_t* const labels[] = {u"le_SofewareCommendTitle", u"le_SofewareCommend1", u"le_SofewareCommend2",
                                      u"le_SofewareCommend3", u"advle_Title", u"le_AMouse", u"le_BMouse",
                                      u"le_Bump", u"lb_F1", u"lb_F2", u"lb_ESC", u"le_UseCommend",
                                      u"le_CollisionTimes", u"le_Winner", u"le_FasterBy"};
    std::vector<std::u16string> keys;
    for (std::u16string_view label : labels) {
        if (label == u"advle_Title")
            for (const char16_t* s : titleSuffixes)
                keys.push_back(std::u16string(label) + s);
        else
            for (const char16_t* s : plainSuffixes)
                keys.push_back(std::u16string(label) + s);
        keys.emplace_back();  // the blank line closing the block
    }
    return keys;
}

TEST(DefaultLayoutText, BytesAndLineStructure)
{
    const std::vector<unsigned char> bytes = BuiltBytes();
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    ASSERT_EQ(bytes.size() % 2, 0u);

    TextEncoding encoding{};
    const std::u16string text = DecodeLayoutText(bytes, &encoding);
    EXPECT_EQ(encoding, TextEncoding::Utf16Le);
    EXPECT_EQ(text.find(u'\uFFFD'), std::u16string::npos);
    EXPECT_NE(text.substr(0, 1), u"\uFEFF");  // one mark, not two
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            EXPECT_EQ(text.substr(i, 2), u"\r\n") << "lone CR at " << i;
        }
        if (text[i] == u'\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == u'\r') << "lone LF at " << i;
        }
    }
    EXPECT_NE(text.back(), u'\n');

    const std::vector<std::u16string> lines = SplitCrLf(text);
    ASSERT_EQ(lines.size(), 241u);

    const std::vector<std::u16string> keys = SectionKeys();
    ASSERT_EQ(keys.size(), 76u);  // 61 entries and 15 blank lines
    std::size_t line = 0;
    for (std::u16string_view section : {u"English", u"ChineseT", u"ChineseS"}) {
        EXPECT_EQ(lines[line++], u"[" + std::u16string(section) + u"]");
        for (const std::u16string& key : keys) {
            const std::u16string& l = lines[line++];
            if (key.empty()) {
                EXPECT_EQ(l, u"") << Utf8(section) << " line " << line;
            } else {
                EXPECT_EQ(l.substr(0, key.size() + 1), key + u"=") << Utf8(section) << " line " << line;
            }
        }
    }
    for (std::u16string_view section : {u"Dutch", u"FrenchF", u"German", u"Italian", u"Japanese", u"Korean",
                                        u"PortugueseP", u"Russian", u"Spanish", u"Turkish"})
        EXPECT_EQ(lines[line++], u"[" + std::u16string(section) + u"]");
    EXPECT_EQ(line, lines.size());
}

// Numbers plain decimal, colours "RGB" and rectangles "rectWH" with single
// commas and no blanks; the English title caption is exactly one blank.
TEST(DefaultLayoutText, ValueSpelling)
{
    const std::u16string text = DecodeLayoutText(BuiltBytes());
    const std::regex size(R"(\d+)"), colour(R"(RGB,\d+,\d+,\d+)"), rect(R"(rectWH,\d+,\d+,\d+,\d+)");
    int checked = 0;
    for (const std::u16string& l : SplitCrLf(text)) {
        const std::size_t eq = l.find(u'=');
        if (eq == std::u16string::npos)
            continue;
        const std::u16string key = l.substr(0, eq);
        const std::string value = Utf8(l.substr(eq + 1));
        auto endsWith = [&key](std::u16string_view s) {
            return key.size() >= s.size() && key.compare(key.size() - s.size(), s.size(), s) == 0;
        };
        if (endsWith(u"->Size")) {
            EXPECT_TRUE(std::regex_match(value, size)) << Utf8(l);
        } else if (endsWith(u"->Color") || endsWith(u"->ColorStart") || endsWith(u"->ColorEnd")) {
            EXPECT_TRUE(std::regex_match(value, colour)) << Utf8(l);
        } else if (endsWith(u"->Position")) {
            EXPECT_TRUE(std::regex_match(value, rect)) << Utf8(l);
        } else {
            EXPECT_FALSE(value.empty()) << Utf8(l);
            if (key == u"advle_Title->Caption->Text" && checked < 61) {
                EXPECT_EQ(value, " ");  // [English] comes first
            } else {
                EXPECT_TRUE(value.front() != ' ' && value.back() != ' ') << Utf8(l);
            }
        }
        ++checked;
    }
    EXPECT_EQ(checked, 3 * 61);
}

}  // namespace
}  // namespace cpk
