#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "layout_test_util.h"
#include "value_parsers.h"

namespace cpk {
namespace {

using test::Utf8;
using namespace std::string_view_literals;

TEST(ExtractField, SplitsTrimsAndRunsOutToEmpty)
{
    struct Case {
        std::u16string_view value;
        std::size_t index;
        std::u16string_view field;
    } const cases[] = {
        {u"a,,b", 0, u"a"},
        {u"a,,b", 1, u""},
        {u"a,,b", 2, u"b"},
        {u"a,,b", 3, u""},
        {u"", 0, u""},
        {u"", 5, u""},
        {u"abc", 0, u"abc"},
        {u"abc", 1, u""},
        {u"x,", 1, u""},  // a final delimiter opens one empty field
        {u"x,", 2, u""},
        {u" \t a b \x01,  c  ", 0, u"a b"},  // everything up to U+0020 is trimmed, inner blanks stay
        {u" \t a b \x01,  c  ", 1, u"c"},
        {u"\u3000a\u00A0", 0, u"\u3000a\u00A0"},  // wider blanks are characters like any other
        {u",,,,,,,,,,last", 10, u"last"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractField(c.value, u',', c.index), c.field) << Utf8(c.value) << " #" << c.index;
}

TEST(ExtractField, OtherDelimiter)
{
    EXPECT_EQ(ExtractField(u"1,2;3", u';', 0), u"1,2");
    EXPECT_EQ(ExtractField(u"1,2;3", u';', 1), u"3");
}

// std::nullopt: the conversion error, whose message quotes the whole text.
TEST(StrToInt, DecimalHexadecimalAndErrors)
{
    struct Case {
        std::u16string_view text;
        std::optional<std::int32_t> value;
    } const cases[] = {
        {u"0", 0},
        {u"11", 11},
        {u"+7", 7},
        {u"-1", -1},
        {u"000000000000000000042", 42},  // leading zeros do not count towards the range
        {u"2147483647", INT32_MAX},
        {u"-2147483648", INT32_MIN},
        {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"$1F", 31},
        {u"x1f", 31},
        {u"X1F", 31},
        {u"0x1F", 31},
        {u"0X1f", 31},
        {u"-$10", -16},
        {u"$7FFFFFFF", INT32_MAX},
        {u"$FFFFFFFF", -1},  // hexadecimal uses all 32 bits
        {u"$80000000", INT32_MIN},
        {u"$0000000000FF", 255},
        {u"$100000000", std::nullopt},
        {u"", std::nullopt},
        {u"-", std::nullopt},
        {u"+", std::nullopt},
        {u"$", std::nullopt},
        {u"0x", std::nullopt},
        {u"+-1", std::nullopt},
        {u"$-1", std::nullopt},
        {u"12pt", std::nullopt},
        {u"1 ", std::nullopt},
        {u" 1", std::nullopt},
        {u"1.5", std::nullopt},
        {u"$G", std::nullopt},
        {u"0x0x1", std::nullopt},
        {u"\uFF11", std::nullopt},  // full-width digit one
        {u"1\0"sv, std::nullopt},
    };
    for (const Case& c : cases) {
        if (c.value) {
            EXPECT_EQ(StrToInt(c.text), *c.value) << Utf8(c.text);
        } else {
            try {
                (void)StrToInt(c.text);
                ADD_FAILURE() << "no error for '" << Utf8(c.text) << "'";
            } catch (const ConversionError& e) {
                EXPECT_EQ(e.FailingText(), c.text);
                EXPECT_EQ(e.Message(), u"''" + std::u16string(c.text) + u"'' is not a valid integer value");
            }
        }
    }
}

TEST(ConversionError, MessageText)
{
    EXPECT_EQ(ConversionError(u"12pt").Message(), u"''12pt'' is not a valid integer value");
    EXPECT_EQ(ConversionError(u"").Message(), u"'''' is not a valid integer value");
}

// Expects the conversion error for `failing` (the field as the parser saw it).
template <typename F>
void ExpectConversionError(F&& parse, std::u16string_view value, std::u16string_view failing)
{
    try {
        (void)parse(value);
        ADD_FAILURE() << "no error for '" << Utf8(value) << "'";
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.FailingText(), failing) << Utf8(value);
    }
}

TEST(StrToColor, Values)
{
    struct Case {
        std::u16string_view value;
        TColor color;
    } const cases[] = {
        {u"RGB,255,252,0", 64767},
        {u"  rgb , 1 , 2 , 3  ", 197121},
        {u"\trGb,1,2,3\r\n", 0x030201},
        {u"RGB,256,0,0", 0},
        {u"RGB,-1,0,0", 255},
        {u"RGB,0,-1,257", 0x01FF00},
        {u"RGB,$FF,x10,0x20", 0x2010FF},
        {u"RGB,1,2,3,4", 197121},     // fields after the third are ignored
        {u"RGB,1,2,3,junk", 197121},  // even when they are no numbers
        {u"0", 0},
        {u"", 0},
        {u"HSV,1,2,3", 0},
        {u"HSV,x,y,z", 0},  // an unknown keyword reads no numbers
        {u"rgba,1,2,3", 0},
        {u"r g b,1,2,3", 0},
        {u"RGB,179,179,179", 11776947},
        {u"RGB,116,116,116", 7631988},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrToColor(c.value), c.color) << Utf8(c.value);
}

TEST(StrToColor, BadComponentRaisesForThatField)
{
    struct Case {
        std::u16string_view value;
        std::u16string_view failing;
    } const cases[] = {
        {u"RGB,255,0", u""},  // too few fields: the missing one is empty
        {u"RGB", u""},
        {u"RGB,,1,2", u""},
        {u"RGB,1,2,3F", u"3f"},  // lower-cased with the rest of the value
        {u"RGB,X,1,2", u"x"},
        {u"RGB,1,2147483648,3", u"2147483648"},
    };
    for (const Case& c : cases)
        ExpectConversionError([](std::u16string_view v) { return StrToColor(v); }, c.value, c.failing);
}

TEST(StrToRect, Values)
{
    struct Case {
        std::u16string_view value;
        LayoutRect rect;
    } const cases[] = {
        {u"rectWH,313,238,192,18", {313, 238, 504, 255}},
        {u"rectWH,0,0,0,0", {0, 0, -1, -1}},
        {u"RECTP,10,20,30,40", {10, 20, 30, 40}},
        {u"rectp,10,20,9,19", {10, 20, 9, 19}},
        {u" rectwh , 1 , 2 , 3 , 4 ", {1, 2, 3, 5}},
        {u"rectWH,1,2,3,4,", {1, 2, 3, 5}},  // the final comma only opens an empty fifth field
        {u"rectWH,1,2,3,4,x", {1, 2, 3, 5}},
        {u"rectWH,-5,-5,3,3", {-5, -5, -3, -3}},
        {u"rect,1,2,3,4", {0, 0, 0, 0}},
        {u"rectwhx,1,2,3,4", {0, 0, 0, 0}},
        {u"0", {0, 0, 0, 0}},
        {u"", {0, 0, 0, 0}},
        // 32-bit wrap-around instead of an overflow.
        {u"rectWH,2147483647,-2147483648,2,-1", {INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX - 1}},
    };
    for (const Case& c : cases) {
        const LayoutRect r = StrToRect(c.value);
        EXPECT_EQ(r, c.rect) << Utf8(c.value) << " -> " << r.Left << "," << r.Top << "," << r.Right << ","
                             << r.Bottom;
    }
}

TEST(StrToRect, BadNumberRaisesForThatField)
{
    struct Case {
        std::u16string_view value;
        std::u16string_view failing;
    } const cases[] = {
        {u"rectWH,1,2,3", u""},
        {u"rectWH,1,2,3,x", u"x"},
        {u"RECTP,1,2,3", u""},
        {u"rectP,A,2,3,4", u"a"},
        {u"rectWH,1,2,3,4.5", u"4.5"},
    };
    for (const Case& c : cases)
        ExpectConversionError([](std::u16string_view v) { return StrToRect(v); }, c.value, c.failing);
}

// Width and height from the inclusive rectangle, for every extreme pair.
TEST(InclusiveExtent, RoundTripsWidthsThroughRectWH)
{
    const std::int32_t values[] = {INT32_MIN, -1000, -1, 0, 1, 18, INT32_MAX};
    for (std::int32_t left : values) {
        for (std::int32_t width : values) {
            const std::string ascii = "rectWH," + std::to_string(left) + ",0," + std::to_string(width) + ",1";
            const std::u16string value(ascii.begin(), ascii.end());
            const LayoutRect r = StrToRect(value);
            EXPECT_EQ(InclusiveExtent(r.Left, r.Right), width) << ascii;
            EXPECT_EQ(InclusiveExtent(r.Top, r.Bottom), 1) << ascii;
        }
    }
}

}  // namespace
}  // namespace cpk
