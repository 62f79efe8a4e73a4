#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "layout_reader.h"
#include "layout_test_util.h"

namespace cpk {
namespace {

using test::Utf8;
using namespace std::string_view_literals;

// One small file covering the reading rules; the cases below read it.
constexpr std::u16string_view kRulesFile =
    u"stray=before any section\r\n"
    u"[English]\r\n"
    u"Plain=value\r\n"
    u"  Padded  =   inner  blanks stay   \r\n"
    u"Double=\"quoted value\"\r\n"
    u"Single='quoted value'\r\n"
    u"QuotedBlanks=\"  kept  \"\r\n"
    u"Inner=and the \"Ostrell\" technology,\r\n"
    u"Mixed=\"not a pair'\r\n"
    u"Lone=\"\r\n"
    u"EmptyQuotes=\"\"\r\n"
    u"Twice=\"\"x\"\"\r\n"
    u"Empty=\r\n"
    u"Blank= \r\n"
    u"Tabs=\t \t\r\n"
    u"Control=\x01z\x1A\r\n"
    u"NoEquals\r\n"
    u"Equals=a=b\r\n"
    u"Dup=first\r\n"
    u"dup=second\r\n"
    u"Ideographic=\u3000x\u3000\r\n"
    u"Nul=ab\0cd\r\n"
    u"\r\n"
    u"   \r\n"
    u"[ChineseT]\r\n"
    u"Plain=碰\r\n"
    u"[Empty]\r\n"
    u"[english]\r\n"
    u"Late=from the second English section\r\n"
    u"[ Spaced Name ]\r\n"
    u"k=v\r\n"
    u"[Bracket]]\r\n"
    u"k=last bracket closes\r\n"
    u"[Unclosed\r\n"
    u"k=still in Bracket]\r\n"sv;

TEST(PortableLayoutReader, ReadingRules)
{
    const auto reader = PortableLayoutReader::FromText(kRulesFile);
    struct Case {
        std::u16string_view section, key, def, expected;
    } const cases[] = {
        {u"English", u"Plain", u"d", u"value"},
        {u"ENGLISH", u"pLAIN", u"d", u"value"},  // rule 1
        {u"english", u"Padded", u"d", u"inner  blanks stay"},
        {u" English ", u" Plain ", u"d", u"value"},  // the names asked for are trimmed too
        {u"English", u"Double", u"d", u"quoted value"},
        {u"English", u"Single", u"d", u"quoted value"},
        {u"English", u"QuotedBlanks", u"d", u"  kept  "},
        {u"English", u"Inner", u"d", u"and the \"Ostrell\" technology,"},
        {u"English", u"Mixed", u"d", u"\"not a pair'"},
        {u"English", u"Lone", u"d", u"\""},
        {u"English", u"EmptyQuotes", u"d", u""},
        {u"English", u"Twice", u"d", u"\"x\""},  // only one pair goes
        {u"English", u"Empty", u"d", u""},       // rule 3: present but empty is not missing
        {u"English", u"Blank", u"d", u""},
        {u"English", u"Tabs", u"d", u""},
        {u"English", u"Control", u"d", u"\x01z"},  // ^Z is a blank, other controls are not
        {u"English", u"NoEquals", u"d", u"d"},
        {u"English", u"Equals", u"d", u"a=b"},
        {u"English", u"DUP", u"d", u"first"},
        {u"English", u"Ideographic", u"d", u"\u3000x\u3000"},
        {u"English", u"Nul", u"d", u"ab"},
        {u"English", u"Missing", u"the default", u"the default"},
        {u"English", u"Missing", u"", u""},
        {u"English", u"Missing", u" d  ", u" d"},  // the default loses trailing spaces
        {u"English", u"Missing", u"   ", u" "},
        {u"English", u"Missing", u"'quoted'", u"quoted"},
        {u"English", u"Late", u"d", u"d"},       // only the first section of a name is read
        {u"English", u"stray", u"d", u"d"},
        {u"", u"stray", u"d", u"before any section"},
        {u"ChineseT", u"Plain", u"d", u"碰"},
        {u"Empty", u"Plain", u"d", u"d"},
        {u"Japanese", u"Plain", u"d", u"d"},
        {u"Spaced Name", u"k", u"d", u"v"},
        {u"Bracket]", u"k", u"d", u"last bracket closes"},
        {u"Bracket]", u"[Unclosed", u"d", u"d"},
        {u"Bracket]", u"k", u"d", u"last bracket closes"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reader.ReadString(c.section, c.key, c.def), c.expected)
            << "[" << Utf8(c.section) << "] " << Utf8(c.key);
}

TEST(PortableLayoutReader, LongValuesAreCutTo2047)
{
    std::u16string longValue(3000, u'x');
    for (std::size_t i = 0; i < longValue.size(); ++i)
        longValue[i] = static_cast<char16_t>(u'a' + i % 26);
    const std::u16string exact(kMaxLayoutValue, u'e');
    const std::u16string text = u"[S]\r\nLong=" + longValue + u"\r\nExact=" + exact + u"\r\nQuoted=\"" + exact +
                                u"\"\r\nOneMore=" + exact + u"z\r\nAfter=ok";
    const auto reader = PortableLayoutReader::FromText(text);
    EXPECT_EQ(reader.ReadString(u"S", u"Long", u""), longValue.substr(0, 2047));
    EXPECT_EQ(reader.ReadString(u"S", u"Exact", u""), exact);
    EXPECT_EQ(reader.ReadString(u"S", u"Quoted", u""), exact);
    EXPECT_EQ(reader.ReadString(u"S", u"OneMore", u""), exact);
    EXPECT_EQ(reader.ReadString(u"S", u"After", u""), u"ok");
}

TEST(PortableLayoutReader, MissingFileGivesDefaults)
{
    const PortableLayoutReader reader(std::filesystem::path("/nonexistent/dir/Text.txt"));
    EXPECT_EQ(reader.ReadString(u"English", u"le_Bump->Caption", u"@@"), u"@@");
}

std::vector<unsigned char> Bytes(std::initializer_list<int> values)
{
    std::vector<unsigned char> out;
    for (int v : values)
        out.push_back(static_cast<unsigned char>(v));
    return out;
}

std::vector<unsigned char> Utf16(std::u16string_view text, bool bigEndian, bool mark)
{
    std::vector<unsigned char> out;
    if (mark)
        out = bigEndian ? Bytes({0xFE, 0xFF}) : Bytes({0xFF, 0xFE});
    for (char16_t c : text) {
        const auto lo = static_cast<unsigned char>(c & 0xFF), hi = static_cast<unsigned char>(c >> 8);
        out.push_back(bigEndian ? hi : lo);
        out.push_back(bigEndian ? lo : hi);
    }
    return out;
}

std::vector<unsigned char> Utf8Bytes(std::string_view text, bool mark)
{
    std::vector<unsigned char> out = mark ? Bytes({0xEF, 0xBB, 0xBF}) : std::vector<unsigned char>{};
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

// What a user's editor may save instead of UTF-16 LE with CR LF: each form
// reads the same values.
TEST(PortableLayoutReader, EncodingsAndLineEnds)
{
    const std::u16string crlf = u"[ChineseT]\r\nle_Bump->Caption=碰\r\nle_Bump->Font->Size=14\r\n[English]\r\nle_Bump->Caption=Bump!";
    const std::string crlf8 =
        "[ChineseT]\r\nle_Bump->Caption=\xE7\xA2\xB0\r\nle_Bump->Font->Size=14\r\n[English]\r\nle_Bump->Caption=Bump!";
    auto replaced = [](auto text, std::string_view with) {
        decltype(text) out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                out.append(with.begin(), with.end());
                ++i;
            } else {
                out += text[i];
            }
        }
        return out;
    };
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        TextEncoding encoding;
    } const cases[] = {
        {"UTF-16 LE with mark, CR LF", Utf16(crlf, false, true), TextEncoding::Utf16Le},
        {"UTF-16 LE with mark, LF", Utf16(replaced(crlf, "\n"), false, true), TextEncoding::Utf16Le},
        {"UTF-16 LE with mark, CR", Utf16(replaced(crlf, "\r"), false, true), TextEncoding::Utf16Le},
        {"UTF-16 LE without mark", Utf16(crlf, false, false), TextEncoding::Utf16Le},
        {"UTF-16 BE with mark", Utf16(crlf, true, true), TextEncoding::Utf16Be},
        {"UTF-16 BE without mark, LF", Utf16(replaced(crlf, "\n"), true, false), TextEncoding::Utf16Be},
        {"UTF-8 with mark", Utf8Bytes(crlf8, true), TextEncoding::Utf8},
        {"UTF-8 without mark", Utf8Bytes(crlf8, false), TextEncoding::Utf8},
        {"UTF-8 without mark, LF", Utf8Bytes(replaced(crlf8, "\n"), false), TextEncoding::Utf8},
        {"UTF-8 without mark, CR", Utf8Bytes(replaced(crlf8, "\r"), false), TextEncoding::Utf8},
        {"UTF-8, blank lines of mixed ends", Utf8Bytes(replaced(crlf8, "\n\r\r\n\n"), false), TextEncoding::Utf8},
    };
    for (const Case& c : cases) {
        TextEncoding detected{};
        (void)DecodeLayoutText(c.bytes, &detected);
        EXPECT_EQ(detected, c.encoding) << c.name;
        const auto reader = PortableLayoutReader::FromBytes(c.bytes);
        EXPECT_EQ(reader.ReadString(u"ChineseT", u"le_Bump->Caption", u"@@"), u"碰") << c.name;
        EXPECT_EQ(reader.ReadString(u"ChineseT", u"le_Bump->Font->Size", u"0"), u"14") << c.name;
        EXPECT_EQ(reader.ReadString(u"English", u"le_Bump->Caption", u"@@"), u"Bump!") << c.name;
    }
}

TEST(DecodeLayoutText, MalformedInputBecomesReplacementCharacters)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        std::u16string text;
    } const cases[] = {
        {"empty", {}, u""},
        {"mark only", Bytes({0xFF, 0xFE}), u""},
        {"odd last byte of UTF-16", Bytes({0xFF, 0xFE, 'a', 0, 'b'}), u"a\uFFFD"},
        {"lone continuation byte", Bytes({'a', 0x80, 'b'}), u"a\uFFFDb"},
        {"cut sequence at the end", Bytes({'a', 0xE7, 0xA2}), u"a\uFFFD\uFFFD"},
        {"overlong slash", Bytes({0xC0, 0xAF}), u"\uFFFD\uFFFD"},
        {"encoded surrogate", Bytes({0xED, 0xA0, 0x80}), u"\uFFFD\uFFFD\uFFFD"},
        {"beyond U+10FFFF", Bytes({0xF4, 0x90, 0x80, 0x80}), u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"four-byte sequence", Bytes({0xF0, 0x9F, 0x98, 0x80}), u"\U0001F600"},
        {"Latin-1 byte", Bytes({'c', 'a', 'f', 0xE9}), u"caf\uFFFD"},
        {"lone surrogate in UTF-16 stays", Bytes({0xFF, 0xFE, 0x00, 0xD8}), u"\xD800"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeLayoutText(c.bytes), c.text) << c.name;
}

}  // namespace
}  // namespace cpk
